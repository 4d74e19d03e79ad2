// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

// Where the single-instance lock lives: a directory that only this user can reach, so that
// no other user can hold, remove or redirect the lock.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <cerrno>

#include "platform/platform.h"

namespace kelvane {
namespace {

bool IsOwnDirectory(const struct stat& st) {
    return S_ISDIR(st.st_mode) && st.st_uid == ::getuid();
}

// The session's runtime directory is used as it stands when it is as private as it should
// be and this user can make files in it; it is never changed. One that is not falls back as
// a missing one does: a lock that cannot be made there would let every start run.
bool IsUsableRuntimeDirectory(const QByteArray& path) {
    struct stat st {};
    return ::lstat(path.constData(), &st) == 0 && IsOwnDirectory(st) &&
           (st.st_mode & 0777) == 0700 && ::access(path.constData(), W_OK | X_OK) == 0;
}

// Creates `path` as a 0700 directory or takes it over, as 0700, when it is already this
// user's own directory. A link or anything another user made there first is refused; the directory
// is opened without following links, so what is checked is what is changed.
bool MakePrivateDirectory(const QString& path) {
    const QByteArray native = QFile::encodeName(path);
    if (::mkdir(native.constData(), 0700) != 0 && errno != EEXIST) {
        return false;
    }
    const int fd = ::open(native.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    struct stat st {};
    const bool usable = ::fstat(fd, &st) == 0 && IsOwnDirectory(st) &&
                        ((st.st_mode & 0777) == 0700 || ::fchmod(fd, 0700) == 0);
    ::close(fd);
    return usable;
}

}  // namespace

// $XDG_RUNTIME_DIR when the session has one; else a fixed per-user directory in the temporary
// folder, so that every start of this user looks in the same place; else, when another user
// has taken that name, a directory in the user's cache folder.
QString RuntimeDirectory() {
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && IsUsableRuntimeDirectory(runtime)) {
        return QFile::decodeName(runtime);
    }
    const QString temporary = QDir::tempPath() + QStringLiteral("/kelvane-%1").arg(::getuid());
    if (MakePrivateDirectory(temporary)) {
        return temporary;
    }
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    QDir().mkpath(cache);
    const QString own = cache + QStringLiteral("/kelvane");
    MakePrivateDirectory(own);
    return own;
}

}  // namespace kelvane
