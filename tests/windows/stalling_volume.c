// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

// A FUSE volume, empty, that tells its space until it gets SIGUSR1 and never again after, as a
// network share does when its server goes. It makes the file ASKED when it holds a question.
// Usage: stalling_volume ASKED MOUNTPOINT (it stays in the foreground)

#define FUSE_USE_VERSION 31
#include <errno.h>
#include <fcntl.h>
#include <fuse3/fuse.h>
#include <signal.h>
#include <string.h>
#include <unistd.h>

static volatile sig_atomic_t stalled;
static const char* asked;

static void Stall(int signal) {
    stalled = signal;
}

static int Attributes(const char* path, struct stat* st, struct fuse_file_info* file) {
    (void)file;
    memset(st, 0, sizeof *st);
    st->st_mode = S_IFDIR | 0755;
    return strcmp(path, "/") == 0 ? 0 : -ENOENT;
}

static int Space(const char* path, struct statvfs* space) {
    (void)path;
    while (stalled) {
        close(open(asked, O_CREAT | O_WRONLY | O_CLOEXEC, 0600));
        pause();
    }
    memset(space, 0, sizeof *space);
    space->f_bsize = space->f_frsize = 4096;
    space->f_blocks = 1000;
    space->f_bavail = space->f_bfree = 400;
    return 0;
}

int main(int argc, char** argv) {
    static const struct fuse_operations operations = {.getattr = Attributes, .statfs = Space};
    char* arguments[] = {argv[0], "-f", argc == 3 ? argv[2] : NULL, NULL};
    asked = argv[1];
    signal(SIGUSR1, Stall);
    return argc == 3 ? fuse_main(3, arguments, &operations, NULL) : 2;
}
