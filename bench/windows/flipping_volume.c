// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

// A volume whose used share moves on every question about its space, for the benchmark of
// kelvane.exe under Wine: a drive letter mapped onto it shows a new caption whenever the gauge
// has asked again. The share goes 41 %, 42 %, 43 % and round again, so that two answers in a
// row always differ (the same figure comes back only after three questions, more than the
// gauge's helper asks within one 10 ms tick), and all three light 11 segments: the caption
// moves, the bar does not. The volume is empty but for one file, "answers", which says how
// many questions it has answered, so that the benchmark can tell how often a caption could
// change. A FUSE file system (libfuse 3), run single-threaded.
// Usage: flipping_volume MOUNTPOINT [-o allow_other]   (stays in the foreground until unmounted)

#define FUSE_USE_VERSION 31
#include <errno.h>
#include <fuse3/fuse.h>
#include <stdio.h>
#include <string.h>

static const char kAnswers[] = "/answers";
static unsigned long long answers;

static int Attributes(const char* path, struct stat* st, struct fuse_file_info* file) {
    (void)file;
    memset(st, 0, sizeof *st);
    if (strcmp(path, "/") == 0) {
        st->st_mode = S_IFDIR | 0755;
        st->st_nlink = 2;
        return 0;
    }
    if (strcmp(path, kAnswers) == 0) {
        st->st_mode = S_IFREG | 0444;
        st->st_nlink = 1;
        st->st_size = 32;
        return 0;
    }
    return -ENOENT;
}

static int Open(const char* path, struct fuse_file_info* file) {
    if (strcmp(path, kAnswers) != 0) {
        return -ENOENT;
    }
    file->direct_io = 1;  // read anew each time, never from the page cache
    return 0;
}

static int Read(const char* path, char* out, size_t size, off_t offset,
                struct fuse_file_info* file) {
    (void)path;
    (void)file;
    char text[32];
    const int n = snprintf(text, sizeof text, "%llu\n", answers);
    if (offset >= n) {
        return 0;
    }
    const size_t left = (size_t)(n - offset);
    const size_t count = size < left ? size : left;
    memcpy(out, text + offset, count);
    return (int)count;
}

static int Space(const char* path, struct statvfs* space) {
    (void)path;
    memset(space, 0, sizeof *space);
    space->f_bsize = space->f_frsize = 4096;
    space->f_blocks = 1000;
    space->f_bavail = space->f_bfree = 590 - 10 * (answers % 3);  // 41, 42, 43 % used
    space->f_namemax = 255;
    ++answers;
    return 0;
}

int main(int argc, char** argv) {
    static const struct fuse_operations operations = {
        .getattr = Attributes, .open = Open, .read = Read, .statfs = Space};
    if (argc != 2 && !(argc == 4 && strcmp(argv[2], "-o") == 0)) {
        fprintf(stderr, "usage: %s MOUNTPOINT [-o OPTIONS]\n", argv[0]);
        return 2;
    }
    char* arguments[] = {
        argv[0], "-f", "-s", argv[1], argc == 4 ? argv[2] : NULL, argc == 4 ? argv[3] : NULL, NULL};
    return fuse_main(argc == 4 ? 6 : 4, arguments, &operations, NULL);
}
