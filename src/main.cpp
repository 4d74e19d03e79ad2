// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#include <sys/socket.h>
#include <unistd.h>
#include <QApplication>
#include <QFile>
#include <QSocketNotifier>
#include <csignal>
#include <cstdio>

#include "core/frm_main.h"
#include "platform/platform.h"
#include "platform/settings_store.h"
#include "platform/single_instance.h"
#include "rules/command_line.h"
#include "window/main_view.h"

namespace {

int signalPipe[2] = {-1, -1};

void OnTerminate(int) {
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(signalPipe[1], &byte, 1);
}

// SIGTERM, SIGINT and SIGHUP close the main window as its own close button would, so the
// settings are saved on logout and on kill.
void CloseOnSignals(QWidget* window) {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalPipe) != 0) {
        return;
    }
    auto* notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, window);
    QObject::connect(notifier, &QSocketNotifier::activated, window, [window] {
        char byte = 0;
        [[maybe_unused]] const auto got = ::read(signalPipe[0], &byte, 1);
        window->close();
    });
    struct sigaction action = {};
    action.sa_handler = OnTerminate;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        sigaction(signal, &action, nullptr);
    }
}

}  // namespace

int main(int argc, char* argv[]) {
    if (const auto reply = kelvane::CommandLineReply(argc, argv)) {
        std::fputs(reply->c_str(), stdout);
        return 0;
    }
    // Qt looks for the session's runtime directory too, and warns when there is none or when
    // it is not private: it is given the same private directory as the lock.
    const QString runtime = kelvane::RuntimeDirectory();
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime));
    kelvane::SingleInstance instance(runtime);
    if (!instance.TryAcquire()) {
        return 0;
    }
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
    // Qt's own options (-platform, -style, ...) are ignored like any other argument.
    int qtArgc = argc > 0 ? 1 : 0;
    QApplication app(qtArgc, argv);
    QApplication::setOrganizationName(QStringLiteral("Kelvane"));
    QApplication::setApplicationName(QStringLiteral("Kelvane"));
    QApplication::setApplicationVersion(QStringLiteral(KELVANE_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral("org.kelvane.kelvane"));
    QApplication::setQuitOnLastWindowClosed(false);

    auto memory = kelvane::MakeSystemMemoryStatus();
    auto volumes = kelvane::MakeSystemVolumes();
    auto screen = kelvane::MakeSystemScreen();
    auto settings = kelvane::MakeUserSettingsStore();
    kelvane::FrmMain frmMain({*memory, *volumes, *screen, *settings});
    kelvane::MainView view(frmMain);
    QObject::connect(&view, &kelvane::MainView::unloaded, &app, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &view,
                     [&frmMain] { frmMain.SaveMySettings(); });
    QObject::connect(&app, &QCoreApplication::aboutToQuit, &view, [&view] { view.close(); });
    CloseOnSignals(&view);

    frmMain.GetMySettings();
    frmMain.Form_Load();
    if (!view.isVisible()) {
        view.show();
    }
    return QApplication::exec();
}
