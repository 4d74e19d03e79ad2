// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

// The least a 100 Hz gauge can cost: the operating-system reads of one tick and nothing
// else. Every 10 ms it re-reads /proc/meminfo from an fd kept open and queries the free
// space of each path given on the command line, then sleeps until the next tick.
// Usage: floor [path ...]   e.g. "floor /" for one drive panel on the root volume.

#define _GNU_SOURCE
#include <fcntl.h>
#include <signal.h>
#include <stdio.h>
#include <sys/statvfs.h>
#include <time.h>
#include <unistd.h>

static volatile sig_atomic_t stop;

static void on_signal(int sig) {
    (void)sig;
    stop = 1;
}

int main(int argc, char** argv) {
    const int fd = open("/proc/meminfo", O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        perror("/proc/meminfo");
        return 1;
    }
    signal(SIGTERM, on_signal);
    signal(SIGINT, on_signal);

    // Kept in a volatile so the compiler cannot drop reads whose result goes unused.
    volatile unsigned long sink = 0;
    static char buffer[8192];
    struct timespec next;
    clock_gettime(CLOCK_MONOTONIC, &next);
    while (!stop) {
        const ssize_t n = pread(fd, buffer, sizeof buffer, 0);
        sink += (unsigned long)n;
        for (int i = 1; i < argc; ++i) {
            struct statvfs st;
            if (statvfs(argv[i], &st) == 0) {
                sink += st.f_bavail;
            }
        }
        next.tv_nsec += 10 * 1000 * 1000;
        if (next.tv_nsec >= 1000 * 1000 * 1000) {
            next.tv_nsec -= 1000 * 1000 * 1000;
            next.tv_sec += 1;
        }
        while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &next, NULL) != 0 && !stop) {
        }
    }
    close(fd);
    return 0;
}
