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
#include <QTimer>
#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <ctime>

#include "platform/single_instance.h"

namespace kelvane {
namespace {

// The name a gauge answers on, in the abstract namespace: no file, so no folder that the
// environment chooses, no path too long for an address and nothing left behind; the kernel
// frees it when its holder ends, however it ends. Made from the user and the settings file.
socklen_t CallAddress(const QByteArray& key, sockaddr_un& address) {
    std::uint64_t hash = 14695981039346656037u;  // FNV-1a
    for (const char byte : key) {
        hash = (hash ^ static_cast<unsigned char>(byte)) * 1099511628211u;
    }
    address = {};
    address.sun_family = AF_UNIX;
    const int n =
        std::snprintf(address.sun_path + 1, sizeof address.sun_path - 1, "kelvane-%u-%016llx",
                      static_cast<unsigned>(::getuid()), static_cast<unsigned long long>(hash));
    return static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + static_cast<size_t>(n));
}

// Anyone can connect to an abstract name, or take it first: only this user's counts.
bool IsOwnPeer(int fd) {
    ucred credentials{};
    socklen_t length = sizeof credentials;
    return ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &credentials, &length) == 0 &&
           credentials.uid == ::getuid();
}

}  // namespace

SingleInstance::SingleInstance(const QString& directory, const QByteArray& key)
    : path_(directory + QStringLiteral("/kelvane.lock")), key_(key) {}

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
    // The name first: whatever the environment says, a later start of this user finds it.
    sockaddr_un address{};
    const socklen_t length = CallAddress(key_, address);
    listener_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (listener_ >= 0 && ::bind(listener_, reinterpret_cast<sockaddr*>(&address), length) == 0 &&
        ::listen(listener_, 8) == 0) {
        // Held: this gauge answers on it.
    } else {
        const bool taken = errno == EADDRINUSE;
        if (listener_ >= 0) {
            ::close(listener_);
            listener_ = -1;
        }
        // Taken by another user, it says nothing: the lock below decides alone.
        if (taken && CallRunning()) {
            return false;
        }
    }
    // The lock in the runtime directory, as well: it holds where the name cannot be had.
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
    if (listener_ >= 0) {
        ::close(listener_);
        listener_ = -1;
    }
    return false;
}

// Only the holder of the name gets calls; those of other users are not answered.
void SingleInstance::AnswerCalls(std::function<void()> call) {
    if (listener_ < 0) {
        return;
    }
    calls_ = std::make_unique<QSocketNotifier>(listener_, QSocketNotifier::Read);
    QObject::connect(
        calls_.get(), &QSocketNotifier::activated, calls_.get(), [this, call = std::move(call)] {
            bool called = false;
            int peer;
            while ((peer = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC)) >= 0) {
                called = IsOwnPeer(peer) || called;
                ::close(peer);
            }
            // With no descriptor to be had the call stays waiting, and would wake the gauge
            // again at once: it is looked at again a second later.
            if (errno == EMFILE || errno == ENFILE || errno == ENOBUFS || errno == ENOMEM) {
                calls_->setEnabled(false);
                QTimer::singleShot(1000, calls_.get(), [this] { calls_->setEnabled(true); });
            }
            if (called) {
                call();
            }
        });
}

// A gauge that has just taken the name listens a moment later, and one with calls waiting
// takes no more until it has answered them: it is asked again for a little while.
bool SingleInstance::CallRunning() const {
    if (called_) {
        return true;
    }
    sockaddr_un address{};
    const socklen_t length = CallAddress(key_, address);
    for (int attempt = 0; attempt < 20; ++attempt) {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        if (fd < 0) {
            return false;
        }
        const bool connected = ::connect(fd, reinterpret_cast<sockaddr*>(&address), length) == 0;
        const int error = errno;
        const bool answered = connected && IsOwnPeer(fd);
        ::close(fd);
        if (connected || (error != ECONNREFUSED && error != EAGAIN)) {
            called_ = answered;
            return answered;
        }
        const timespec pause{0, 10'000'000};
        ::nanosleep(&pause, nullptr);
    }
    return false;
}

}  // namespace kelvane
