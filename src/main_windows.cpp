// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

// The composition root on Windows: the system's parts, the gauge over them, and the window that
// shows it, refreshed every 10 ms until it is closed.

#include <windows.h>
// Each of these needs windows.h first.
#include <commctrl.h>
#include <objbase.h>

#include <string>

#include "accessibility/msaa/msaa_gauge.h"
#include "gauge/frm_main.h"
#include "hosts/win32/single_instance.h"
#include "hosts/win32/tick_loop.h"
#include "hosts/win32/win32_screens.h"
#include "hosts/win32/win32_window.h"
#include "platform/windows/console.h"
#include "platform/windows/platform_windows.h"
#include "rules/command_line.h"

namespace {

constexpr wchar_t kSettingsKey[] = L"Software\\Kelvane";

// The manifest asks for per-monitor awareness; where it was not read (a copy renamed, an old
// loader), the call does. Either may fail where the process is aware already (Wine says so).
void BeAwareOfEachMonitor() {
    ::SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
}

}  // namespace

int main(int argc, char* argv[]) {
    // The executable is also its own helper for volumes that may never answer.
    if (const std::optional<int> status = kelvane::ServeDriveQuestionsIfAsked()) {
        return *status;
    }
    if (const auto reply = kelvane::CommandLineReply(argc, argv)) {
        kelvane::PrintOut(*reply);
        return 0;
    }
    BeAwareOfEachMonitor();
    kelvane::SingleInstance instance(kSettingsKey);
    if (!instance.TryAcquire()) {
        if (instance.CallRunning()) {
            return 0;
        }
        kelvane::SayToUser(
            "kelvane: a gauge of this user runs already but does not answer; nothing was "
            "started\n");
        return 1;
    }
    const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX),
                                        ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&controls);
    // The pictures are decoded by the imaging component, and screen readers talk through COM.
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);

    auto memory = kelvane::MakeSystemMemoryStatus();
    auto volumes = kelvane::MakeSystemVolumes();
    auto screens = kelvane::MakeWin32Screens();
    auto settings = kelvane::MakeRegistrySettingsStore(kSettingsKey);
    auto clock = kelvane::MakeSystemClock();
    kelvane::FrmMain frmMain(
        {*memory, *volumes, *screens, *settings, *clock, kelvane::DecimalPoint()});
    // The window is made with the loop it ticks in, and repaints what each tick changed.
    kelvane::Win32Window* shown = nullptr;
    kelvane::TickLoop loop([&frmMain, &shown] {
        if (shown != nullptr) {
            shown->CollectChanges();
        }
        frmMain.Timer1_Timer();
        if (shown != nullptr) {
            shown->PresentChanges();
        }
    });
    kelvane::Win32Window host(frmMain, loop, instance.Answer());
    shown = &host;
    if (!host.Made()) {
        kelvane::SayToUser("kelvane: no window could be made on this desktop\n");
        return 1;
    }
    host.OnUnloaded([] { ::PostQuitMessage(0); });
    const kelvane::MsaaGauge accessible(host, frmMain);

    frmMain.GetMySettings();
    frmMain.Form_Load();
    host.ShowWindow();
    const int status = loop.Run([&host](MSG& msg) { return host.TakeKey(msg); });
    frmMain.FlushSettings();
    ::CoUninitialize();
    return status;
}
