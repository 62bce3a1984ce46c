// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "platform/stackkeeper.h"

#include "platform/xcbsupport.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QWindow>

namespace orvanta {

namespace {

xcb_window_t rootOf(xcb_connection_t* connection) {
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    return screen ? screen->root : xcb_window_t(XCB_WINDOW_NONE);
}

// Whether `window`, or the frame a window manager put it in, is one of this
// program's own top-level windows: our boxes and dialogs stay above the compass.
bool isOurs(xcb_connection_t* connection, xcb_window_t window) {
    QList<xcb_window_t> ours;
    for (const QWindow* w : QGuiApplication::topLevelWindows())
        if (w->handle())
            ours << xcb_window_t(w->winId());
    if (ours.contains(window))
        return true;
    const auto tree =
        owned(xcb_query_tree_reply(connection, xcb_query_tree(connection, window), nullptr));
    if (!tree)
        return false;
    const xcb_window_t* children = xcb_query_tree_children(tree.get());
    for (int i = 0, n = xcb_query_tree_children_length(tree.get()); i < n; ++i)
        if (ours.contains(children[i]))
            return true;
    return false;
}

} // namespace

X11StackKeeper::~X11StackKeeper() {
    if (m_filtering && QCoreApplication::instance())
        QCoreApplication::instance()->removeNativeEventFilter(this);
}

void X11StackKeeper::keepOnTop(WId window) {
    m_window = window;
    xcb_connection_t* connection = x11Connection();
    if (window == 0 || !connection)
        return;
    if (!m_filtering) {
        QCoreApplication::instance()->installNativeEventFilter(this);
        m_filtering = true;
    }
    // Each client has its own event mask on the root: add to what Qt selected.
    const xcb_window_t root = rootOf(connection);
    xcb_generic_error_t* error = nullptr;
    const auto attributes = owned(xcb_get_window_attributes_reply(
        connection, xcb_get_window_attributes(connection, root), &error));
    if (refused(error, "to read the root window's event mask") || !attributes)
        return;
    const std::uint32_t mask = attributes->your_event_mask | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    if (mask != attributes->your_event_mask)
        refused(xcb_request_check(connection, xcb_change_window_attributes_checked(
                                                  connection, root, XCB_CW_EVENT_MASK, &mask)),
                "to watch the root window's children");
}

bool X11StackKeeper::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (m_window == 0 || eventType != "xcb_generic_event_t")
        return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    switch (event->response_type & 0x7f) {
    case XCB_CONFIGURE_NOTIFY: {
        const auto* configure = reinterpret_cast<const xcb_configure_notify_event_t*>(event);
        if (configure->event != configure->window && !configure->override_redirect)
            restackAbove(configure->window);
        break;
    }
    case XCB_MAP_NOTIFY: {
        const auto* map = reinterpret_cast<const xcb_map_notify_event_t*>(event);
        if (map->event != map->window && !map->override_redirect)
            restackAbove(map->window);
        break;
    }
    default:
        break;
    }
    return false; // Qt sees every event as before
}

void X11StackKeeper::restackAbove(quint32 other) {
    const auto ours = static_cast<xcb_window_t>(m_window);
    xcb_connection_t* connection = x11Connection();
    if (other == ours || !connection || isOurs(connection, other))
        return;
    const auto tree = owned(
        xcb_query_tree_reply(connection, xcb_query_tree(connection, rootOf(connection)), nullptr));
    if (!tree)
        return;
    // Bottom of the stack first.
    const xcb_window_t* children = xcb_query_tree_children(tree.get());
    int ourPlace = -1;
    int otherPlace = -1;
    for (int i = 0, n = xcb_query_tree_children_length(tree.get()); i < n; ++i) {
        if (children[i] == ours)
            ourPlace = i;
        else if (children[i] == other)
            otherPlace = i;
    }
    if (ourPlace < 0 || otherPlace < ourPlace)
        return;
    const std::uint32_t values[] = {other, XCB_STACK_MODE_ABOVE};
    const xcb_void_cookie_t cookie = xcb_configure_window_checked(
        connection, ours, XCB_CONFIG_WINDOW_SIBLING | XCB_CONFIG_WINDOW_STACK_MODE, values);
    // The other window may be gone by now: nothing to stay above then.
    xcb_generic_error_t* error = xcb_request_check(connection, cookie);
    if (error && error->error_code != XCB_WINDOW && error->error_code != XCB_MATCH)
        refused(error, "to put the compass back on top");
    else
        std::free(error);
}

} // namespace orvanta
