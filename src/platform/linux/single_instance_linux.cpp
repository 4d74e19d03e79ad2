// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QSocketNotifier>
#include <cerrno>
#include <cstring>

#include "platform/single_instance.h"

namespace kelvane {
namespace {

// The socket on which the running gauge answers later starts, beside the lock; false when
// its path does not fit an address.
bool CallAddress(const QString& lock, sockaddr_un& address) {
    const QByteArray path = QFile::encodeName(lock.chopped(4) + QStringLiteral("socket"));
    address = {};
    address.sun_family = AF_UNIX;
    if (path.size() >= static_cast<qsizetype>(sizeof address.sun_path)) {
        return false;
    }
    std::memcpy(address.sun_path, path.constData(), static_cast<std::size_t>(path.size()));
    return true;
}

}  // namespace

SingleInstance::SingleInstance(const QString& directory)
    : path_(directory + QStringLiteral("/kelvane.lock")) {}

SingleInstance::~SingleInstance() {
    calls_.reset();
    if (listener_ >= 0) {
        ::close(listener_);
    }
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

// Only the lock's holder gets here, so whatever is at the socket's path is a dead gauge's.
void SingleInstance::AnswerCalls(std::function<void()> call) {
    sockaddr_un address{};
    if (fd_ < 0 || !CallAddress(path_, address)) {
        return;
    }
    ::unlink(address.sun_path);
    listener_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (listener_ < 0 ||
        ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(listener_, 4) != 0) {
        return;
    }
    calls_ = std::make_unique<QSocketNotifier>(listener_, QSocketNotifier::Read);
    QObject::connect(
        calls_.get(), &QSocketNotifier::activated, calls_.get(), [this, call = std::move(call)] {
            bool called = false;
            for (int peer; (peer = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC)) >= 0;) {
                ::close(peer);
                called = true;
            }
            if (called) {
                call();
            }
        });
}

bool SingleInstance::CallRunning() const {
    sockaddr_un address{};
    if (!CallAddress(path_, address)) {
        return false;
    }
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    const bool answered =
        fd >= 0 && ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    if (fd >= 0) {
        ::close(fd);
    }
    return answered;
}

}  // namespace kelvane
