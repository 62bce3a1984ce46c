// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

// A native Wayland window of one solid colour that the desktop matrix puts
// under the compass: it prints what reaches it, one event a line on standard
// output, so a click that passes through the compass to a Wayland window can
// be seen there.
//
//   catcher WIDTH HEIGHT RRGGBB TITLE [maximized]
//
// Lines: "ready", "configure W H", "enter X Y", "leave", "motion X Y",
// "button CODE pressed|released X Y" (surface pixels), "focus", "unfocus",
// "key CODE pressed|released".
#define _GNU_SOURCE // memfd_create
#include "xdg-shell-client-protocol.h"

#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/mman.h>
#include <unistd.h>
#include <wayland-client.h>

struct Catcher {
    struct wl_display* display;
    struct wl_compositor* compositor;
    struct wl_shm* shm;
    struct wl_seat* seat;
    struct xdg_wm_base* wmBase;
    struct wl_surface* surface;
    struct xdg_surface* xdgSurface;
    struct xdg_toplevel* toplevel;
    struct wl_pointer* pointer;
    struct wl_keyboard* keyboard;
    struct wl_buffer* buffer;
    int width, height;         // the size drawn
    int wantWidth, wantHeight; // the size the compositor asked for, 0 for ours
    int defaultWidth, defaultHeight;
    uint32_t colour;
    int pointerX, pointerY;
    int running;
    int readyPrinted;
};

static void say(const char* format, ...) __attribute__((format(printf, 1, 2)));

static void say(const char* format, ...) {
    va_list args;
    va_start(args, format);
    vprintf(format, args);
    va_end(args);
    putchar('\n');
    fflush(stdout);
}

static void bufferRelease(void* data, struct wl_buffer* buffer) {
    (void)data;
    wl_buffer_destroy(buffer);
}

static const struct wl_buffer_listener bufferListener = {bufferRelease};

// A buffer of the window's size in its colour; the compositor releases the
// previous one when it has taken the next.
static struct wl_buffer* solidBuffer(struct Catcher* c) {
    const int stride = c->width * 4;
    const size_t size = (size_t)stride * (size_t)c->height;
    const int fd = memfd_create("orvanta-catcher", MFD_CLOEXEC);
    if (fd < 0 || ftruncate(fd, (off_t)size) < 0) {
        perror("catcher: shared memory");
        exit(1);
    }
    uint32_t* pixels = mmap(NULL, size, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    if (pixels == MAP_FAILED) {
        perror("catcher: mmap");
        exit(1);
    }
    for (size_t i = 0; i < size / 4; ++i)
        pixels[i] = 0xff000000u | c->colour;
    munmap(pixels, size);
    struct wl_shm_pool* pool = wl_shm_create_pool(c->shm, fd, (int32_t)size);
    struct wl_buffer* buffer =
        wl_shm_pool_create_buffer(pool, 0, c->width, c->height, stride, WL_SHM_FORMAT_XRGB8888);
    wl_shm_pool_destroy(pool);
    close(fd);
    wl_buffer_add_listener(buffer, &bufferListener, NULL);
    return buffer;
}

static void wmPing(void* data, struct xdg_wm_base* base, uint32_t serial) {
    (void)data;
    xdg_wm_base_pong(base, serial);
}

static const struct xdg_wm_base_listener wmBaseListener = {wmPing};

static void surfaceConfigure(void* data, struct xdg_surface* surface, uint32_t serial) {
    struct Catcher* c = data;
    xdg_surface_ack_configure(surface, serial);
    c->width = c->wantWidth > 0 ? c->wantWidth : c->defaultWidth;
    c->height = c->wantHeight > 0 ? c->wantHeight : c->defaultHeight;
    say("configure %d %d", c->width, c->height);
    wl_surface_attach(c->surface, solidBuffer(c), 0, 0);
    wl_surface_damage(c->surface, 0, 0, c->width, c->height);
    wl_surface_commit(c->surface);
    if (!c->readyPrinted) {
        c->readyPrinted = 1;
        say("ready");
    }
}

static const struct xdg_surface_listener surfaceListener = {surfaceConfigure};

static void toplevelConfigure(void* data, struct xdg_toplevel* toplevel, int32_t width,
                              int32_t height, struct wl_array* states) {
    (void)toplevel;
    (void)states;
    struct Catcher* c = data;
    c->wantWidth = width;
    c->wantHeight = height;
}

static void toplevelClose(void* data, struct xdg_toplevel* toplevel) {
    (void)toplevel;
    ((struct Catcher*)data)->running = 0;
}

// Version 1 of xdg_wm_base and wl_seat: the compositor sends no event that is
// not listened for here.
static const struct xdg_toplevel_listener toplevelListener = {.configure = toplevelConfigure,
                                                              .close = toplevelClose};

static void pointerEnter(void* data, struct wl_pointer* pointer, uint32_t serial,
                         struct wl_surface* surface, wl_fixed_t x, wl_fixed_t y) {
    (void)pointer;
    (void)serial;
    (void)surface;
    struct Catcher* c = data;
    c->pointerX = wl_fixed_to_int(x);
    c->pointerY = wl_fixed_to_int(y);
    say("enter %d %d", c->pointerX, c->pointerY);
}

static void pointerLeave(void* data, struct wl_pointer* pointer, uint32_t serial,
                         struct wl_surface* surface) {
    (void)data;
    (void)pointer;
    (void)serial;
    (void)surface;
    say("leave");
}

static void pointerMotion(void* data, struct wl_pointer* pointer, uint32_t time, wl_fixed_t x,
                          wl_fixed_t y) {
    (void)pointer;
    (void)time;
    struct Catcher* c = data;
    c->pointerX = wl_fixed_to_int(x);
    c->pointerY = wl_fixed_to_int(y);
    say("motion %d %d", c->pointerX, c->pointerY);
}

static void pointerButton(void* data, struct wl_pointer* pointer, uint32_t serial, uint32_t time,
                          uint32_t button, uint32_t state) {
    (void)pointer;
    (void)serial;
    (void)time;
    struct Catcher* c = data;
    say("button %u %s %d %d", button,
        state == WL_POINTER_BUTTON_STATE_PRESSED ? "pressed" : "released", c->pointerX,
        c->pointerY);
}

static void pointerAxis(void* data, struct wl_pointer* pointer, uint32_t time, uint32_t axis,
                        wl_fixed_t value) {
    (void)data;
    (void)pointer;
    (void)time;
    (void)axis;
    (void)value;
}

static const struct wl_pointer_listener pointerListener = {.enter = pointerEnter,
                                                           .leave = pointerLeave,
                                                           .motion = pointerMotion,
                                                           .button = pointerButton,
                                                           .axis = pointerAxis};

static void keyboardKeymap(void* data, struct wl_keyboard* keyboard, uint32_t format, int32_t fd,
                           uint32_t size) {
    (void)data;
    (void)keyboard;
    (void)format;
    (void)size;
    close(fd);
}

static void keyboardEnter(void* data, struct wl_keyboard* keyboard, uint32_t serial,
                          struct wl_surface* surface, struct wl_array* keys) {
    (void)data;
    (void)keyboard;
    (void)serial;
    (void)surface;
    (void)keys;
    say("focus");
}

static void keyboardLeave(void* data, struct wl_keyboard* keyboard, uint32_t serial,
                          struct wl_surface* surface) {
    (void)data;
    (void)keyboard;
    (void)serial;
    (void)surface;
    say("unfocus");
}

static void keyboardKey(void* data, struct wl_keyboard* keyboard, uint32_t serial, uint32_t time,
                        uint32_t key, uint32_t state) {
    (void)data;
    (void)keyboard;
    (void)serial;
    (void)time;
    say("key %u %s", key, state == WL_KEYBOARD_KEY_STATE_PRESSED ? "pressed" : "released");
}

static void keyboardModifiers(void* data, struct wl_keyboard* keyboard, uint32_t serial,
                              uint32_t depressed, uint32_t latched, uint32_t locked,
                              uint32_t group) {
    (void)data;
    (void)keyboard;
    (void)serial;
    (void)depressed;
    (void)latched;
    (void)locked;
    (void)group;
}

static const struct wl_keyboard_listener keyboardListener = {.keymap = keyboardKeymap,
                                                             .enter = keyboardEnter,
                                                             .leave = keyboardLeave,
                                                             .key = keyboardKey,
                                                             .modifiers = keyboardModifiers};

// Virtual input devices come and go with each remote-control session: the
// seat then loses and regains its pointer and keyboard, and a device object
// of a lost capability receives nothing ever again.
static void seatCapabilities(void* data, struct wl_seat* seat, uint32_t caps) {
    struct Catcher* c = data;
    if ((caps & WL_SEAT_CAPABILITY_POINTER) && !c->pointer) {
        c->pointer = wl_seat_get_pointer(seat);
        wl_pointer_add_listener(c->pointer, &pointerListener, c);
    } else if (!(caps & WL_SEAT_CAPABILITY_POINTER) && c->pointer) {
        wl_pointer_destroy(c->pointer);
        c->pointer = NULL;
    }
    if ((caps & WL_SEAT_CAPABILITY_KEYBOARD) && !c->keyboard) {
        c->keyboard = wl_seat_get_keyboard(seat);
        wl_keyboard_add_listener(c->keyboard, &keyboardListener, c);
    } else if (!(caps & WL_SEAT_CAPABILITY_KEYBOARD) && c->keyboard) {
        wl_keyboard_destroy(c->keyboard);
        c->keyboard = NULL;
    }
}

static void seatName(void* data, struct wl_seat* seat, const char* name) {
    (void)data;
    (void)seat;
    (void)name;
}

static const struct wl_seat_listener seatListener = {seatCapabilities, seatName};

static void global(void* data, struct wl_registry* registry, uint32_t name, const char* interface,
                   uint32_t version) {
    (void)version;
    struct Catcher* c = data;
    if (strcmp(interface, wl_compositor_interface.name) == 0) {
        c->compositor = wl_registry_bind(registry, name, &wl_compositor_interface, 4);
    } else if (strcmp(interface, wl_shm_interface.name) == 0) {
        c->shm = wl_registry_bind(registry, name, &wl_shm_interface, 1);
    } else if (strcmp(interface, xdg_wm_base_interface.name) == 0) {
        c->wmBase = wl_registry_bind(registry, name, &xdg_wm_base_interface, 1);
        xdg_wm_base_add_listener(c->wmBase, &wmBaseListener, c);
    } else if (strcmp(interface, wl_seat_interface.name) == 0 && !c->seat) {
        c->seat = wl_registry_bind(registry, name, &wl_seat_interface, 1);
        wl_seat_add_listener(c->seat, &seatListener, c);
    }
}

static void globalRemove(void* data, struct wl_registry* registry, uint32_t name) {
    (void)data;
    (void)registry;
    (void)name;
}

static const struct wl_registry_listener registryListener = {global, globalRemove};

int main(int argc, char** argv) {
    struct Catcher c;
    memset(&c, 0, sizeof c);
    char* end = NULL;
    if (argc < 5 || argc > 6 || (argc == 6 && strcmp(argv[5], "maximized") != 0) ||
        (c.defaultWidth = atoi(argv[1])) <= 0 || (c.defaultHeight = atoi(argv[2])) <= 0 ||
        (c.colour = (uint32_t)strtoul(argv[3], &end, 16), !end || *end || end == argv[3])) {
        fprintf(stderr, "usage: catcher WIDTH HEIGHT RRGGBB TITLE [maximized]\n");
        return 2;
    }
    c.display = wl_display_connect(NULL);
    if (!c.display) {
        fprintf(stderr, "catcher: cannot connect to the Wayland display\n");
        return 1;
    }
    struct wl_registry* registry = wl_display_get_registry(c.display);
    wl_registry_add_listener(registry, &registryListener, &c);
    wl_display_roundtrip(c.display);
    if (!c.compositor || !c.shm || !c.wmBase) {
        fprintf(stderr, "catcher: the compositor lacks wl_compositor, wl_shm or xdg_wm_base\n");
        return 1;
    }
    c.surface = wl_compositor_create_surface(c.compositor);
    c.xdgSurface = xdg_wm_base_get_xdg_surface(c.wmBase, c.surface);
    xdg_surface_add_listener(c.xdgSurface, &surfaceListener, &c);
    c.toplevel = xdg_surface_get_toplevel(c.xdgSurface);
    xdg_toplevel_add_listener(c.toplevel, &toplevelListener, &c);
    xdg_toplevel_set_title(c.toplevel, argv[4]);
    xdg_toplevel_set_app_id(c.toplevel, argv[4]);
    // Where a compositor places windows as it likes, a maximised one covers a
    // known area: the whole output.
    if (argc == 6)
        xdg_toplevel_set_maximized(c.toplevel);
    wl_surface_commit(c.surface);
    c.running = 1;
    while (c.running && wl_display_dispatch(c.display) != -1) {
    }
    wl_display_disconnect(c.display);
    return 0;
}
