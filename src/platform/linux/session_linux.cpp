// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#include <sys/auxv.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "platform/session.h"

namespace kelvane {
namespace {

// One descriptor that the handler writes to and the event loop reads from.
int signalEvent = -1;

void OnTerminate(int) {
    const std::uint64_t one = 1;
    [[maybe_unused]] const auto written = ::write(signalEvent, &one, sizeof one);
}

std::function<void()>* atExit = nullptr;

void RunAtExit() {
    if (atExit != nullptr) {
        (*std::exchange(atExit, nullptr))();
    }
}

}  // namespace

bool PrepareProcess() {
    if (::getuid() != ::geteuid() || ::getgid() != ::getegid() || ::getauxval(AT_SECURE) != 0) {
        std::fputs(
            "kelvane: refusing to run with raised privileges (installed setuid, setgid or "
            "with file capabilities); it needs none\n",
            stderr);
        return false;
    }
    // A launcher that stopped reading, or `kelvane | head`: a message is then lost, not the
    // gauge.
    std::signal(SIGPIPE, SIG_IGN);
    return true;
}

void CloseOnTerminationSignals(QObject* context, std::function<void()> close) {
    signalEvent = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (signalEvent < 0) {
        return;
    }
    auto* notifier = new QSocketNotifier(signalEvent, QSocketNotifier::Read, context);
    QObject::connect(notifier, &QSocketNotifier::activated, context, [close = std::move(close)] {
        std::uint64_t count = 0;
        [[maybe_unused]] const auto got = ::read(signalEvent, &count, sizeof count);
        close();
    });
    struct sigaction action = {};
    action.sa_handler = OnTerminate;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        sigaction(signal, &action, nullptr);
    }
}

AtExit::AtExit(std::function<void()> last) {
    static std::function<void()> stored;
    stored = std::move(last);
    atExit = &stored;
    static const bool registered = std::atexit(RunAtExit) == 0;
    (void)registered;
}

AtExit::~AtExit() {
    atExit = nullptr;
}

}  // namespace kelvane
