// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

// A stand-in for /proc/meminfo whose available memory changes on every read, so that a
// gauge reading it once a tick sees new figures on every tick. Bind-mounted over
// /proc/meminfo in a private mount namespace by run.sh.
//
// Touching real pages (memory_churn.c) moves MemAvailable only when the kernel refills or
// drains its per-CPU page lists, on about half of the ticks (see RESULTS.md). Flipping the
// figures after each read (inotify IN_ACCESS) changes them for exactly every reader tick,
// whatever the phases of the two timers.
//
// The two states differ in every memory caption (free and used %, KB and MB) but light the
// same number of LED segments: a percentage step that moves a bar is rare on a real machine.
// Usage: meminfo_flip FILE

#define _GNU_SOURCE
#include <fcntl.h>
#include <signal.h>
#include <stdio.h>
#include <string.h>
#include <sys/inotify.h>
#include <unistd.h>

static const char* const kStates[2] = {
    "MemTotal:        8388608 kB\nMemFree:         1000000 kB\nMemAvailable:    2600000 kB\n",
    "MemTotal:        8388608 kB\nMemFree:         1000000 kB\nMemAvailable:    2642411 kB\n",
};

static volatile sig_atomic_t stop;

static void on_signal(int sig) {
    (void)sig;
    stop = 1;
}

int main(int argc, char** argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: %s FILE\n", argv[0]);
        return 2;
    }
    const int fd = open(argv[1], O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    const int watch = inotify_init1(IN_CLOEXEC);
    if (fd < 0 || watch < 0 || pwrite(fd, kStates[0], strlen(kStates[0]), 0) < 0 ||
        inotify_add_watch(watch, argv[1], IN_ACCESS) < 0) {
        perror(argv[1]);
        return 1;
    }
    struct sigaction action = {0};
    action.sa_handler = on_signal;  // no SA_RESTART: a signal ends the blocking read
    sigaction(SIGTERM, &action, NULL);
    sigaction(SIGINT, &action, NULL);

    char events[4096];
    unsigned state = 0;
    while (!stop) {
        if (read(watch, events, sizeof events) <= 0) {
            continue;
        }
        state ^= 1u;
        // Both states have the same length, so the file never needs truncating.
        if (pwrite(fd, kStates[state], strlen(kStates[state]), 0) < 0) {
            perror(argv[1]);
            return 1;
        }
    }
    return 0;
}
