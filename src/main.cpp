// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

// The composition root: the system's parts, the gauge over them, and the host that shows it.

#include <QApplication>
#include <QFile>
#include <QLocale>
#include <QThreadPool>
#include <QTimer>
#include <cstdio>
#include <optional>

#include "gauge/frm_main.h"
#include "hosts/common/gauge_host.h"
#include "hosts/qt/main_view.h"
#include "hosts/qt/opening.h"
#include "hosts/qt/screens.h"
#include "hosts/wayland/layer_shell_host.h"
#include "hosts/wayland/wayland_display.h"
#include "platform/platform.h"
#include "platform/session.h"
#include "platform/single_instance.h"
#include "rules/command_line.h"

namespace {

// The gauge shown by `host`, refreshed until it is unloaded.
int Run(kelvane::FrmMain& frmMain, kelvane::GaugeHost& host, kelvane::SingleInstance& instance) {
    host.OnUnloaded(
        [] { QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection); });
    QObject::connect(qApp, &QGuiApplication::commitDataRequest, qApp, [&frmMain] {
        frmMain.SaveMySettings();
        frmMain.FlushSettings();
    });
    QObject::connect(qApp, &QCoreApplication::aboutToQuit, qApp, [&host] { host.UnloadAll(); });
    kelvane::CloseOnTerminationSignals(qApp, [&host] { host.UnloadAll(); });
    // A display that dies takes the program with it, straight from Qt: what changed last is
    // saved on the way out.
    const kelvane::AtExit lastSave([&frmMain] { frmMain.Form_Unload(); });
    kelvane::WatchScreens([&frmMain] { frmMain.ScreensChanged(); });
    instance.AnswerCalls([&frmMain] { frmMain.ComeBack(); });

    frmMain.GetMySettings();
    frmMain.Form_Load();
    host.ShowWindow();
    // The refresh: every 10 ms from the moment the window is loaded, never stopped.
    QTimer Timer1;
    QObject::connect(&Timer1, &QTimer::timeout, qApp, [&frmMain] { frmMain.Timer1_Timer(); });
    Timer1.start(10);
    return QApplication::exec();
}

}  // namespace

int main(int argc, char* argv[]) {
    if (!kelvane::PrepareProcess()) {
        return 1;
    }
    if (const auto reply = kelvane::CommandLineReply(argc, argv)) {
        std::fputs(reply->c_str(), stdout);
        return 0;
    }
    // Qt looks for the session's runtime directory too, and warns when there is none or when
    // it is not private: it is given the same private directory as the lock.
    const QString runtime = kelvane::RuntimeDirectory();
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime));
    const std::string settingsPath = kelvane::UserSettingsPath();
    kelvane::SingleInstance instance(runtime, QByteArray::fromStdString(settingsPath));
    if (!instance.TryAcquire()) {
        if (instance.CallRunning()) {
            return 0;
        }
        std::fprintf(stderr,
                     "kelvane: a gauge of this user runs already (it holds %s/kelvane.lock) but "
                     "does not answer; nothing was started\n",
                     qPrintable(runtime));
        return 1;
    }
    // The platform asked for, before the window system is prepared: xcb forces XWayland.
    const QByteArray askedPlatform = qgetenv("QT_QPA_PLATFORM");
    kelvane::PrepareWindowSystem();
    // Qt's own options (-platform, -style, ...) are ignored like any other argument.
    int qtArgc = argc > 0 ? 1 : 0;
    std::optional<QApplication> app;
    {
        const kelvane::OpeningDisplay opening;
        app.emplace(qtArgc, argv);
        // A platform that opens without any screen (Qt's framebuffer platform where there is
        // no framebuffer) would abort at the first window.
        if (QGuiApplication::screens().isEmpty()) {
            kelvane::NoDisplayOpened();
        }
    }
    QApplication::setOrganizationName(QStringLiteral("Kelvane"));
    QApplication::setApplicationName(QStringLiteral("Kelvane"));
    QApplication::setApplicationVersion(QStringLiteral(KELVANE_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral("org.kelvane.kelvane"));
    QApplication::setQuitOnLastWindowClosed(false);

    // Qt fills, converts and scales large areas on the threads of its global pool, which it makes
    // when it first draws such an area and ends after half a minute idle. A thread, or its event
    // descriptor, that cannot be had later (the user's task or descriptor limit reached) ends
    // the program or stops its drawing: the one it may make at the first drawing is kept, on
    // a small stack, so that it fits a tight address space too.
    QThreadPool::globalInstance()->setMaxThreadCount(1);
    QThreadPool::globalInstance()->setStackSize(256 * 1024);
    QThreadPool::globalInstance()->setExpiryTimeout(-1);
    auto memory = kelvane::MakeSystemMemoryStatus();
    auto volumes = kelvane::MakeSystemVolumes();
    // Where the compositor offers a layer shell, the main window is a surface of its own there.
    auto wayland = kelvane::WaylandDisplay::Open(askedPlatform);
    auto screen = wayland ? wayland->Screens() : kelvane::MakeSystemScreen();
    auto settings = kelvane::MakeSettingsStore(settingsPath);
    auto clock = kelvane::MakeSystemClock();
    kelvane::FrmMain frmMain(
        {*memory, *volumes, *screen, *settings, *clock, QLocale().decimalPoint().toStdString()});
    if (wayland) {
        kelvane::LayerShellHost host(*wayland, frmMain);
        return Run(frmMain, host, instance);
    }
    kelvane::MainView host(frmMain);
    return Run(frmMain, host, instance);
}
