// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

// Start-up, the refresh tick and shutdown of the main window.

#include "core/frm_main.h"
#include "rules/panels_mode.h"
#include "rules/placement.h"

namespace kelvane {

void FrmMain::Form_Load() {
    FindHowManyDrives();
    TurnOffLights(1);
    // A place saved on a larger or another set of screens is brought back within reach.
    const QRect stored(TwipsToPixels(StartLeft), TwipsToPixels(StartTop), kWindowWidth,
                       WindowHeight(PanelsShown(PanelsMode)));
    host_->SetWindowPos(FitOnScreens(stored, platform_.screen.Geometries()));
    for (int p = 0; p < kPanels; ++p) {
        SetPanels(p);
    }
    saved_ = SettingsNow();
    loaded_ = true;
}

void FrmMain::Timer1_Timer() {
    MemoryStatus snapshot;
    // An unreadable or implausible snapshot keeps the previous readings.
    if (platform_.memory.Read(snapshot) && IsUsableSnapshot(snapshot)) {
        MemStatus = snapshot;
        FreePercent = FreePercentOf(snapshot);
    }
    for (int p = 0; p < kPanels; ++p) {
        SetWholeDrive(p);
    }
    for (int p = 0; p < kPanels; ++p) {
        SetWholeLights(p);
    }
}

void FrmMain::Form_Unload() {
    if (unloaded_) {
        return;
    }
    unloaded_ = true;
    saveTimer_.stop();
    SaveMySettings();
    FlushSettings();
}

void FrmMain::FlushSettings() {
    platform_.settings.Flush();
}

void FrmMain::CloseAction() {
    host_->UnloadAll();
}

// Nothing is written while nothing changes; a drag writes once, a second after it ends.
void FrmMain::SettingsMayHaveChanged() {
    if (!loaded_ || unloaded_) {
        return;
    }
    if (SettingsNow() == saved_) {
        saveTimer_.stop();
    } else {
        saveTimer_.start();
    }
}

}  // namespace kelvane
