// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#include "platform/single_instance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <cerrno>

namespace kelvane {

SingleInstance::SingleInstance(const QString& directory)
    : path_(directory + QStringLiteral("/kelvane.lock")) {}

SingleInstance::~SingleInstance() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

bool SingleInstance::TryAcquire() {
    const QByteArray native = QFile::encodeName(path_);
    // A link, directory, FIFO, socket or device in the lock's place is no lock of a running
    // gauge: it is cleared away rather than opened, so nothing is followed or blocked on. A
    // regular file stays whatever it holds, since another start may be locking it right now.
    struct stat st {};
    if (::lstat(native.constData(), &st) == 0 && !S_ISREG(st.st_mode)) {
        if (S_ISDIR(st.st_mode)) {
            QDir(path_).removeRecursively();
        } else {
            ::unlink(native.constData());
        }
    }
    fd_ = ::open(native.constData(),
                 O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0600);
    // Only a lock held by a running gauge ends this start; a lock that cannot be made at all
    // (no writable place for it) must not keep the gauge from running.
    if (fd_ < 0 || ::flock(fd_, LOCK_EX | LOCK_NB) == 0 || errno != EWOULDBLOCK) {
        return true;
    }
    ::close(fd_);
    fd_ = -1;
    return false;
}

}  // namespace kelvane
