// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

// A pointer for wlroots compositors that run without input devices: it moves
// to absolute output positions and clicks through the virtual pointer
// protocol, as a mouse would.
//
//   vpointer WIDTH HEIGHT [move X Y | click | down | up | sleep MS]...
//
// WIDTH and HEIGHT are the output's size, the extent of absolute positions.
// A move goes in two steps, a jump next to the target and a final 1-px move:
// after one long jump XWayland's idea of the pointer can lag behind, and the
// last small motion makes it follow.
#define _POSIX_C_SOURCE 200809L // clock_gettime, nanosleep
#include "wlr-virtual-pointer-unstable-v1-client-protocol.h"

#include <linux/input-event-codes.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <wayland-client.h>

static struct zwlr_virtual_pointer_manager_v1* manager;
static struct wl_seat* seat;

static void global(void* data, struct wl_registry* registry, uint32_t name, const char* interface,
                   uint32_t version) {
    (void)data;
    (void)version;
    if (strcmp(interface, zwlr_virtual_pointer_manager_v1_interface.name) == 0)
        manager = wl_registry_bind(registry, name, &zwlr_virtual_pointer_manager_v1_interface, 1);
    else if (strcmp(interface, wl_seat_interface.name) == 0 && !seat)
        seat = wl_registry_bind(registry, name, &wl_seat_interface, 1);
}

static void globalRemove(void* data, struct wl_registry* registry, uint32_t name) {
    (void)data;
    (void)registry;
    (void)name;
}

static const struct wl_registry_listener registryListener = {global, globalRemove};

static uint32_t nowMs(void) {
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return (uint32_t)(t.tv_sec * 1000 + t.tv_nsec / 1000000);
}

static void rest(int ms) {
    struct timespec t = {ms / 1000, (long)(ms % 1000) * 1000000L};
    nanosleep(&t, NULL);
}

static int number(const char* text, long low, long high, long* out) {
    char* end = NULL;
    const long v = strtol(text, &end, 10);
    if (!*text || *end || v < low || v > high)
        return 0;
    *out = v;
    return 1;
}

int main(int argc, char** argv) {
    long width = 0, height = 0;
    if (argc < 3 || !number(argv[1], 1, 65535, &width) || !number(argv[2], 1, 65535, &height)) {
        fprintf(stderr,
                "usage: vpointer WIDTH HEIGHT [move X Y | click | down | up | sleep MS]...\n");
        return 2;
    }
    struct wl_display* display = wl_display_connect(NULL);
    if (!display) {
        fprintf(stderr, "vpointer: cannot connect to the Wayland display\n");
        return 1;
    }
    struct wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &registryListener, NULL);
    wl_display_roundtrip(display);
    if (!manager) {
        fprintf(stderr, "vpointer: the compositor offers no zwlr_virtual_pointer_manager_v1\n");
        return 1;
    }
    struct zwlr_virtual_pointer_v1* pointer =
        zwlr_virtual_pointer_manager_v1_create_virtual_pointer(manager, seat);
    wl_display_roundtrip(display);

    int status = 0;
    for (int i = 3; i < argc && status == 0; ++i) {
        const char* c = argv[i];
        long x = 0, y = 0, ms = 0;
        if (strcmp(c, "move") == 0 && i + 2 < argc && number(argv[i + 1], 0, width - 1, &x) &&
            number(argv[i + 2], 0, height - 1, &y)) {
            const long nearX = x > 0 ? x - 1 : x + 1;
            zwlr_virtual_pointer_v1_motion_absolute(pointer, nowMs(), (uint32_t)nearX, (uint32_t)y,
                                                    (uint32_t)width, (uint32_t)height);
            zwlr_virtual_pointer_v1_frame(pointer);
            wl_display_roundtrip(display);
            rest(60);
            zwlr_virtual_pointer_v1_motion_absolute(pointer, nowMs(), (uint32_t)x, (uint32_t)y,
                                                    (uint32_t)width, (uint32_t)height);
            zwlr_virtual_pointer_v1_frame(pointer);
            i += 2;
        } else if (strcmp(c, "click") == 0 || strcmp(c, "down") == 0 || strcmp(c, "up") == 0) {
            const int press = strcmp(c, "up") != 0;
            const int release = strcmp(c, "down") != 0;
            if (press) {
                zwlr_virtual_pointer_v1_button(pointer, nowMs(), BTN_LEFT,
                                               WL_POINTER_BUTTON_STATE_PRESSED);
                zwlr_virtual_pointer_v1_frame(pointer);
                wl_display_roundtrip(display);
                rest(50);
            }
            if (release) {
                zwlr_virtual_pointer_v1_button(pointer, nowMs(), BTN_LEFT,
                                               WL_POINTER_BUTTON_STATE_RELEASED);
                zwlr_virtual_pointer_v1_frame(pointer);
            }
        } else if (strcmp(c, "sleep") == 0 && i + 1 < argc && number(argv[i + 1], 0, 60000, &ms)) {
            rest((int)ms);
            ++i;
        } else {
            fprintf(stderr, "vpointer: bad command at '%s'\n", c);
            status = 2;
        }
        if (wl_display_roundtrip(display) < 0) {
            fprintf(stderr, "vpointer: the compositor closed the connection\n");
            status = 1;
        }
        rest(60);
    }
    zwlr_virtual_pointer_v1_destroy(pointer);
    zwlr_virtual_pointer_manager_v1_destroy(manager);
    wl_display_roundtrip(display);
    wl_display_disconnect(display);
    return status;
}
