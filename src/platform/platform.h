// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#pragma once

// The operating system behind the gauge's interfaces (core/system.h), one implementation per
// OS (the build picks the folder). The window system's side is in platform/window_system.h.

#include <pthread.h>
#include <unistd.h>

#include <QByteArray>
#include <QString>
#include <cstdio>
#include <memory>

#include "core/system.h"

namespace kelvane {

std::unique_ptr<MemoryStatusSource> MakeSystemMemoryStatus();
std::unique_ptr<VolumeSource> MakeSystemVolumes();
std::unique_ptr<Clock> MakeSystemClock();

// The user's settings file: $XDG_CONFIG_HOME/Kelvane/Kelvane.conf, or ~/.config/... where that
// is unset or not an absolute path. In the file system's own bytes, which need not be UTF-8.
std::string UserSettingsPath();

// What the settings store asks of the system where a disk or the system can fail it: a test
// makes these fail as a dying disk, another file system or a reached task limit would.
struct DiskCalls {
    int (*fdatasync)(int fd) = ::fdatasync;
    int (*rename)(const char* from, const char* to) = ::rename;
    int (*startThread)(pthread_t*, const pthread_attr_t*, void* (*)(void*),
                       void*) = ::pthread_create;
};

// The store in the INI file at `path`, which is only read and written while it names (after
// links) a regular file or nothing yet. Anything else there, a FIFO or a device say, is never
// opened or replaced: the store then starts empty and its saves fail. A link is followed only
// where it and its folder are this user's own and no one else can write there; any other
// link is refused, with one line on stderr, and the store starts empty and saves nothing. A
// file far larger than any settings file is damaged: it is kept aside as `path`.damaged and
// the store starts empty. The file is made readable by this user only. The first save that
// fails says so in one line on stderr, with where and why; later ones say nothing more.
std::unique_ptr<SettingsStore> MakeSettingsStore(const std::string& path,
                                                 const DiskCalls& disk = {});

// A per-user directory for run-time files such as the single-instance lock, which no other
// user can write to.
QString RuntimeDirectory();

}  // namespace kelvane
