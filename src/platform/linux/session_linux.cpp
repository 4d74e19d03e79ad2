// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#include <sys/auxv.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <QByteArray>
#include <QSocketNotifier>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "platform/session.h"

namespace kelvane {
namespace {

QtMessageHandler qtHandler = nullptr;
QStringList heldBack;

}  // namespace

void NoDisplayOpened() {
    const auto variable = [](const char* name) {
        const QByteArray value = qgetenv(name);
        return QString::fromLatin1(name) + (value.isEmpty()
                                                ? QStringLiteral(" not set")
                                                : QLatin1Char('=') + QString::fromLocal8Bit(value));
    };
    std::fprintf(stderr, "kelvane: no display could be opened (%s, %s, %s)\n",
                 qPrintable(variable("DISPLAY")), qPrintable(variable("WAYLAND_DISPLAY")),
                 qPrintable(variable("QT_QPA_PLATFORM")));
    std::_Exit(1);
}

namespace {

void HoldBack(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtFatalMsg) {
        NoDisplayOpened();
    }
    heldBack << qFormatLogMessage(type, context, message);
}

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

void PrepareWindowSystem() {
    // Staying on top and placing itself work through X11; in a Wayland session that is
    // XWayland. It is chosen over QT_QPA_PLATFORM=wayland too, which is mostly set for a whole
    // session so that Qt programs run natively: natively the gauge could neither place itself
    // nor stay above. Without DISPLAY it runs as a Wayland client; other platforms are obeyed.
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (!qEnvironmentVariableIsEmpty("DISPLAY") &&
        (platform.isEmpty() || platform.startsWith("wayland"))) {
        qputenv("QT_QPA_PLATFORM", "xcb");
    }
    // The gauge repaints a few small rectangles up to 100 times a second. Through shared
    // memory Qt waits for the X server to finish with the last picture before painting the
    // next, a round trip that wakes the program three times a tick instead of once; sending
    // the few kilobytes over the connection needs no answer (bench/RESULTS.md).
    if (!qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM")) {
        qputenv("QT_XCB_NO_MITSHM", "1");
    }
}

OpeningDisplay::OpeningDisplay() {
    qtHandler = qInstallMessageHandler(HoldBack);
}

OpeningDisplay::~OpeningDisplay() {
    qInstallMessageHandler(qtHandler);
    for (const QString& line : std::exchange(heldBack, {})) {
        std::fprintf(stderr, "%s\n", qPrintable(line));
    }
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
