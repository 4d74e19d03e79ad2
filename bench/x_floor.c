// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

// The least a 100 Hz X client can make the X server do: every 10 ms the floor's reads of one
// tick (see floor.c), then one request that draws one pixel of a small window, sent at once.
// What the X server spends on it is the price of being woken for a request 100 times a second,
// whatever the request holds.
// Usage: x_floor        (DISPLAY names the server)

#define _GNU_SOURCE
#include <fcntl.h>
#include <signal.h>
#include <stdio.h>
#include <sys/statvfs.h>
#include <time.h>
#include <unistd.h>
#include <xcb/xcb.h>

static volatile sig_atomic_t stop;

static void on_signal(int sig) {
    (void)sig;
    stop = 1;
}

int main(void) {
    xcb_connection_t* connection = xcb_connect(NULL, NULL);
    const int fd = open("/proc/meminfo", O_RDONLY | O_CLOEXEC);
    if (xcb_connection_has_error(connection) || fd < 0) {
        fprintf(stderr, "x_floor: no X server or no /proc/meminfo\n");
        return 1;
    }
    signal(SIGTERM, on_signal);
    signal(SIGINT, on_signal);
    xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    const xcb_window_t window = xcb_generate_id(connection);
    const uint32_t white[] = {screen->white_pixel};
    xcb_create_window(connection, XCB_COPY_FROM_PARENT, window, screen->root, 0, 0, 136, 248, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, XCB_CW_BACK_PIXEL, white);
    xcb_map_window(connection, window);
    const xcb_gcontext_t gc = xcb_generate_id(connection);
    const uint32_t noExposures[] = {screen->black_pixel, 0};
    xcb_create_gc(connection, gc, window, XCB_GC_FOREGROUND | XCB_GC_GRAPHICS_EXPOSURES,
                  noExposures);
    xcb_flush(connection);

    volatile unsigned long sink = 0;
    static char buffer[8192];
    struct statvfs space;
    struct timespec next;
    clock_gettime(CLOCK_MONOTONIC, &next);
    for (unsigned tick = 0; !stop; ++tick) {
        sink += (unsigned long)pread(fd, buffer, sizeof buffer, 0);
        sink += (unsigned long)statvfs("/", &space);
        const xcb_point_t pixel = {(int16_t)(tick % 136), 0};
        xcb_poly_point(connection, XCB_COORD_MODE_ORIGIN, window, gc, 1, &pixel);
        xcb_flush(connection);
        next.tv_nsec += 10 * 1000 * 1000;
        if (next.tv_nsec >= 1000 * 1000 * 1000) {
            next.tv_nsec -= 1000 * 1000 * 1000;
            ++next.tv_sec;
        }
        clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &next, NULL);
    }
    xcb_disconnect(connection);
    return 0;
}
