// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

// A pointer and a keyboard for KWin on Wayland, through KWin's fake-input
// protocol, as a mouse and keys would. It reads one command a line from
// standard input and answers each with "ok" (or "error: ...") once KWin has
// received it, so the caller knows when the input is in:
//
//   move X Y     the pointer to X,Y of the output (logical pixels)
//   click | down | up     the left button
//   key CODE     press and release a Linux key code (KEY_Q is 16)
//
// One process is one input device from the first command to the end: a seat
// whose pointer comes and goes makes XWayland hand a press twice to a
// program started while it had none.
#include "fake-input-client-protocol.h"

#include <linux/input-event-codes.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <wayland-client.h>

static struct org_kde_kwin_fake_input* input;

static void global(void* data, struct wl_registry* registry, uint32_t name, const char* interface,
                   uint32_t version) {
    (void)data;
    if (strcmp(interface, org_kde_kwin_fake_input_interface.name) == 0 && version >= 4)
        input = wl_registry_bind(registry, name, &org_kde_kwin_fake_input_interface, 4);
}

static void globalRemove(void* data, struct wl_registry* registry, uint32_t name) {
    (void)data;
    (void)registry;
    (void)name;
}

static const struct wl_registry_listener registryListener = {global, globalRemove};

int main(void) {
    struct wl_display* display = wl_display_connect(NULL);
    if (!display) {
        fprintf(stderr, "kwininput: cannot connect to the Wayland display\n");
        return 1;
    }
    struct wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &registryListener, NULL);
    wl_display_roundtrip(display);
    if (!input) {
        fprintf(stderr, "kwininput: the compositor offers no org_kde_kwin_fake_input version 4\n");
        return 1;
    }
    org_kde_kwin_fake_input_authenticate(input, "orvanta desktop matrix", "test input");
    wl_display_roundtrip(display);
    printf("ready\n");
    fflush(stdout);

    char line[256];
    while (fgets(line, sizeof line, stdin)) {
        int x = 0, y = 0, code = 0;
        const char* error = NULL;
        if (sscanf(line, "move %d %d", &x, &y) == 2) {
            org_kde_kwin_fake_input_pointer_motion_absolute(input, wl_fixed_from_int(x),
                                                            wl_fixed_from_int(y));
        } else if (strncmp(line, "click", 5) == 0 || strncmp(line, "down", 4) == 0) {
            org_kde_kwin_fake_input_button(input, BTN_LEFT, WL_POINTER_BUTTON_STATE_PRESSED);
            if (line[0] == 'c') {
                wl_display_roundtrip(display);
                org_kde_kwin_fake_input_button(input, BTN_LEFT, WL_POINTER_BUTTON_STATE_RELEASED);
            }
        } else if (strncmp(line, "up", 2) == 0) {
            org_kde_kwin_fake_input_button(input, BTN_LEFT, WL_POINTER_BUTTON_STATE_RELEASED);
        } else if (sscanf(line, "key %d", &code) == 1 && code > 0 && code < KEY_MAX) {
            org_kde_kwin_fake_input_keyboard_key(input, (uint32_t)code,
                                                 WL_KEYBOARD_KEY_STATE_PRESSED);
            wl_display_roundtrip(display);
            org_kde_kwin_fake_input_keyboard_key(input, (uint32_t)code,
                                                 WL_KEYBOARD_KEY_STATE_RELEASED);
        } else {
            error = "unknown command";
        }
        if (wl_display_roundtrip(display) < 0) {
            fprintf(stderr, "kwininput: the compositor closed the connection\n");
            return 1;
        }
        if (error)
            printf("error: %s: %s", error, line);
        else
            printf("ok\n");
        fflush(stdout);
    }
    org_kde_kwin_fake_input_destroy(input);
    wl_display_roundtrip(display);
    wl_display_disconnect(display);
    return 0;
}
