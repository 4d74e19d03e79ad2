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

// The name beside the lock, in the runtime directory: reached from any network namespace of
// this user (a start in a sandbox without network has abstract names of its own), where the
// abstract name is not. Nothing when the path is too long for an address.
socklen_t PathAddress(const QString& path, sockaddr_un& address) {
    const QByteArray native = QFile::encodeName(path);
    address = {};
    address.sun_family = AF_UNIX;
    if (static_cast<std::size_t>(native.size()) >= sizeof address.sun_path) {
        return 0;
    }
    std::memcpy(address.sun_path, native.constData(), static_cast<std::size_t>(native.size()));
    return static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + native.size() + 1);
}

int Listen(const sockaddr_un& address, socklen_t length) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd >= 0 && (::bind(fd, reinterpret_cast<const sockaddr*>(&address), length) != 0 ||
                    ::listen(fd, 8) != 0)) {
        const int error = errno;
        ::close(fd);
        errno = error;
        return -1;
    }
    return fd;
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
    : path_(directory + QStringLiteral("/kelvane.lock")),
      socketPath_(directory + QStringLiteral("/kelvane.socket")),
      key_(key) {}

SingleInstance::~SingleInstance() {
    calls_.clear();
    for (const int fd : {listener_, pathListener_, fd_}) {
        if (fd >= 0) {
            ::close(fd);
        }
    }
}

bool SingleInstance::TryAcquire() {
    // The name first: whatever the environment says, a later start of this user finds it.
    sockaddr_un address{};
    listener_ = Listen(address, CallAddress(key_, address));
    // Taken by another user, it says nothing: the lock below decides alone.
    if (listener_ < 0 && errno == EADDRINUSE && CallRunning()) {
        return false;
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
    if (fd_ < 0) {
        return true;
    }
    if (::flock(fd_, LOCK_EX | LOCK_NB) == 0 || errno != EWOULDBLOCK) {
        // The name beside the lock is the holder's to make: one left there is a dead gauge's.
        const QByteArray socket = QFile::encodeName(socketPath_);
        if (::lstat(socket.constData(), &st) == 0 && S_ISSOCK(st.st_mode)) {
            ::unlink(socket.constData());
        }
        if (const socklen_t length = PathAddress(socketPath_, address); length > 0) {
            pathListener_ = Listen(address, length);
        }
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

// Only the holder of the names gets calls; those of other users are not answered.
void SingleInstance::AnswerCalls(std::function<void()> call) {
    for (const int listener : {listener_, pathListener_}) {
        if (listener < 0) {
            continue;
        }
        auto notifier = std::make_unique<QSocketNotifier>(listener, QSocketNotifier::Read);
        QSocketNotifier* calls = notifier.get();
        QObject::connect(calls, &QSocketNotifier::activated, calls, [listener, calls, call] {
            bool called = false;
            int peer;
            while ((peer = ::accept4(listener, nullptr, nullptr, SOCK_CLOEXEC)) >= 0) {
                called = IsOwnPeer(peer) || called;
                ::close(peer);
            }
            // With no descriptor to be had the call stays waiting, and would wake the gauge
            // again at once: it is looked at again a second later.
            if (errno == EMFILE || errno == ENFILE || errno == ENOBUFS || errno == ENOMEM) {
                calls->setEnabled(false);
                QTimer::singleShot(1000, calls, [calls] { calls->setEnabled(true); });
            }
            if (called) {
                call();
            }
        });
        calls_.push_back(std::move(notifier));
    }
}

// A gauge that has just taken the name listens a moment later, and one with calls waiting
// takes no more until it has answered them: it is asked again for a little while. It is asked
// by its abstract name, and by the name beside its lock from another network namespace.
bool SingleInstance::CallRunning() const {
    if (called_) {
        return true;
    }
    sockaddr_un addresses[2]{};
    const socklen_t lengths[2] = {CallAddress(key_, addresses[0]),
                                  PathAddress(socketPath_, addresses[1])};
    for (int attempt = 0; attempt < 20; ++attempt) {
        bool again = false;
        for (int i = 0; i < 2; ++i) {
            if (lengths[i] == 0) {
                continue;
            }
            const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
            if (fd < 0) {
                return false;
            }
            const bool connected =
                ::connect(fd, reinterpret_cast<const sockaddr*>(&addresses[i]), lengths[i]) == 0;
            const int error = errno;
            called_ = connected && IsOwnPeer(fd);
            ::close(fd);
            if (called_) {
                return true;
            }
            again = again || (!connected && (error == ECONNREFUSED || error == EAGAIN ||
                                             (i == 1 && error == ENOENT)));
        }
        if (!again) {
            return false;
        }
        const timespec pause{0, 10'000'000};
        ::nanosleep(&pause, nullptr);
    }
    return false;
}

}  // namespace kelvane
