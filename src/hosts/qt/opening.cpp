// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#include "hosts/qt/opening.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdio>
#include <cstdlib>
#include <utility>

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

}  // namespace

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

}  // namespace kelvane
