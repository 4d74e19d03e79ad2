// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

// A pointer for the desktop-session tests on wlroots compositors, whose headless seat has none:
// moves to places on the screen and presses and releases the left button, one line of its
// standard input at a time ("move X Y", "down", "up", "click"), until that ends. It lives on
// between the lines: a pointer that comes and goes reaches a client after its first events.
// Usage: virtual_pointer WIDTH HEIGHT, the screen's size in its logical pixels.

#include <linux/input-event-codes.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <wayland-client.h>

#include "wlr-virtual-pointer-unstable-v1-client-protocol.h"

static struct zwlr_virtual_pointer_manager_v1* manager;
static struct wl_seat* seat;

static void Global(void* data, struct wl_registry* registry, uint32_t name, const char* interface,
                   uint32_t version) {
    (void)data;
    (void)version;
    if (strcmp(interface, zwlr_virtual_pointer_manager_v1_interface.name) == 0) {
        manager = wl_registry_bind(registry, name, &zwlr_virtual_pointer_manager_v1_interface, 1);
    } else if (strcmp(interface, wl_seat_interface.name) == 0 && seat == NULL) {
        seat = wl_registry_bind(registry, name, &wl_seat_interface, 1);
    }
}

static void GlobalRemove(void* data, struct wl_registry* registry, uint32_t name) {
    (void)data;
    (void)registry;
    (void)name;
}

static uint32_t Now(void) {
    struct timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return (uint32_t)(now.tv_sec * 1000 + now.tv_nsec / 1000000);
}

int main(int argc, char** argv) {
    if (argc != 3) {
        fprintf(stderr, "usage: %s WIDTH HEIGHT, then steps on standard input\n", argv[0]);
        return 2;
    }
    struct wl_display* display = wl_display_connect(NULL);
    if (display == NULL) {
        fprintf(stderr, "virtual_pointer: no Wayland display\n");
        return 1;
    }
    static const struct wl_registry_listener listener = {Global, GlobalRemove};
    wl_registry_add_listener(wl_display_get_registry(display), &listener, NULL);
    wl_display_roundtrip(display);
    if (manager == NULL) {
        fprintf(stderr, "virtual_pointer: the compositor offers no virtual pointer\n");
        return 1;
    }
    struct zwlr_virtual_pointer_v1* pointer =
        zwlr_virtual_pointer_manager_v1_create_virtual_pointer(manager, seat);
    wl_display_roundtrip(display);
    const uint32_t width = (uint32_t)atoi(argv[1]);
    const uint32_t height = (uint32_t)atoi(argv[2]);
    char line[80];
    while (fgets(line, sizeof line, stdin) != NULL) {
        unsigned x = 0;
        unsigned y = 0;
        const int down = strncmp(line, "down", 4) == 0 || strncmp(line, "click", 5) == 0;
        const int up = strncmp(line, "up", 2) == 0 || strncmp(line, "click", 5) == 0;
        if (sscanf(line, "move %u %u", &x, &y) == 2) {
            zwlr_virtual_pointer_v1_motion_absolute(pointer, Now(), x, y, width, height);
        } else if (!down && !up) {
            fprintf(stderr, "virtual_pointer: unknown step %s", line);
            return 2;
        }
        if (down) {
            zwlr_virtual_pointer_v1_button(pointer, Now(), BTN_LEFT,
                                           WL_POINTER_BUTTON_STATE_PRESSED);
        }
        if (down && up) {
            zwlr_virtual_pointer_v1_frame(pointer);
        }
        if (up) {
            zwlr_virtual_pointer_v1_button(pointer, Now(), BTN_LEFT,
                                           WL_POINTER_BUTTON_STATE_RELEASED);
        }
        zwlr_virtual_pointer_v1_frame(pointer);
        // Each step reaches the compositor, and its clients, before the next.
        wl_display_roundtrip(display);
    }
    zwlr_virtual_pointer_v1_destroy(pointer);
    wl_display_roundtrip(display);
    wl_display_disconnect(display);
    return 0;
}
