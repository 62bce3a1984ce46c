// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

// Prints every top-level X window as it is created, with the place and size it
// is created at ("create ID X Y WIDTH HEIGHT"), as a window manager sees it:
// some window managers place a window once, where it was created.
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <xcb/xcb.h>

int main() {
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection))
        return 1;
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    const std::uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection, screen->root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(connection);
    std::printf("ready\n");
    std::fflush(stdout);
    while (xcb_generic_event_t* event = xcb_wait_for_event(connection)) {
        const std::unique_ptr<xcb_generic_event_t, decltype(&std::free)> owned(event, &std::free);
        if ((event->response_type & 0x7f) != XCB_CREATE_NOTIFY)
            continue;
        const auto* created = reinterpret_cast<const xcb_create_notify_event_t*>(event);
        std::printf("create %u %d %d %u %u\n", created->window, created->x, created->y,
                    created->width, created->height);
        std::fflush(stdout);
    }
    return 0;
}
