// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

// Real memory churn for a gauge to watch: every 10 ms it touches one more MiB of a 256 MiB
// region, and after the last one gives the whole region back and starts again. Growing
// keeps drawing fresh pages from the kernel's free lists, which is what moves MemAvailable;
// a map/touch/unmap of the same block each tick is served from per-CPU page lists and
// barely shows (see RESULTS.md).
// Usage: memory_churn [MiB per tick] [ticks per cycle]   (defaults 1 and 256)

#define _GNU_SOURCE
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/mman.h>
#include <time.h>
#include <unistd.h>

static volatile sig_atomic_t stop;

static void on_signal(int sig) {
    (void)sig;
    stop = 1;
}

int main(int argc, char** argv) {
    const size_t step = (size_t)(argc > 1 ? atol(argv[1]) : 1) << 20;
    const size_t ticks = (size_t)(argc > 2 ? atol(argv[2]) : 256);
    const size_t page = (size_t)sysconf(_SC_PAGESIZE);
    char* region =
        mmap(NULL, step * ticks, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (step == 0 || ticks == 0 || region == MAP_FAILED) {
        perror("mmap");
        return 1;
    }
    signal(SIGTERM, on_signal);
    signal(SIGINT, on_signal);

    struct timespec next;
    clock_gettime(CLOCK_MONOTONIC, &next);
    for (size_t tick = 0; !stop; tick = (tick + 1) % ticks) {
        if (tick == 0) {
            madvise(region, step * ticks, MADV_DONTNEED);
        }
        for (size_t i = 0; i < step; i += page) {
            region[tick * step + i] = 1;
        }
        next.tv_nsec += 10 * 1000 * 1000;
        if (next.tv_nsec >= 1000 * 1000 * 1000) {
            next.tv_nsec -= 1000 * 1000 * 1000;
            next.tv_sec += 1;
        }
        while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &next, NULL) != 0 && !stop) {
        }
    }
    return 0;
}
