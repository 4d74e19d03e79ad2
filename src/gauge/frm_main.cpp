// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

// Start-up, the refresh tick and shutdown of the main window, and what is saved.

#include "gauge/frm_main.h"

#include "presets/function_keys.h"
#include "rules/panels_mode.h"
#include "rules/window_layout.h"

namespace kelvane {

FrmMain::FrmMain(System system)
    : system_(system),
      layout_(MakeMainLayout(controls_)),
      readings_(system.memory, system.volumes, system.decimalPoint),
      panels_(controls_, layout_.panels, readings_),
      frame_(controls_, layout_, system.screen) {}

void FrmMain::AttachHost(WindowHost& host) {
    host_ = &host;
    frame_.AttachHost(host);
}

void FrmMain::GetMySettings() {
    loaded_ = kelvane::GetMySettings(system_.settings, system_.screen.PrimarySize(),
                                     system_.decimalPoint);
    panels_.Load(loaded_.Section);
}

void FrmMain::Form_Load() {
    readings_.FindHowManyDrives();
    panels_.TurnOffLights(1);
    frame_.Place({TwipsToPixels(loaded_.Left), TwipsToPixels(loaded_.Top)}, loaded_.Panels);
    for (int p = 0; p < kPanels; ++p) {
        panels_.SetPanels(p);
    }
    schedule_.Saved(SettingsNow());
    started_ = true;
}

void FrmMain::Timer1_Timer() {
    readings_.ReadMemory();
    for (int p = 0; p < kPanels; ++p) {
        readings_.SetWholeDrive(Section(p));
    }
    for (int p = 0; p < kPanels; ++p) {
        panels_.SetWholeLights(p);
    }
    if (schedule_.Pending() && schedule_.Due(system_.clock.Now())) {
        SaveMySettings();
    }
}

void FrmMain::Form_Unload() {
    if (unloaded_) {
        return;
    }
    unloaded_ = true;
    SaveMySettings();
    FlushSettings();
}

// The store writes in the background; one that fails keeps its old file, and the next change
// writes everything again.
void FrmMain::SaveMySettings() {
    const SavedSettings now = SettingsNow();
    kelvane::SaveMySettings(system_.settings, now);
    schedule_.Saved(now);
}

void FrmMain::FlushSettings() {
    system_.settings.Flush();
}

// Where the window system does not say where the window is, the position it was given at
// start stands.
SavedSettings FrmMain::SettingsNow() const {
    SavedSettings now = loaded_;
    if (frame_.PositionKnown()) {
        now.Left = frame_.Where().x * kTwipsPerPixel;
        now.Top = frame_.Where().y * kTwipsPerPixel;
    }
    now.Section = panels_.Sections();
    now.Panels = frame_.PanelsMode();
    return now;
}

// Nothing is written while nothing changes; a drag writes once, a second after it ends.
void FrmMain::SettingsMayHaveChanged() {
    if (started_ && !unloaded_) {
        schedule_.MayHaveChanged(SettingsNow(), system_.clock.Now());
    }
}

void FrmMain::WindowMoved(const Rect& rect) {
    frame_.Moved(rect);
    SettingsMayHaveChanged();
}

void FrmMain::Form_KeyDown(FunctionKey key) {
    if (key == kHelpKey) {
        host_->ShowHelp();
    } else {
        ArrangePanels(key, readings_.DrivesFound(), panels_, frame_);
    }
    SettingsMayHaveChanged();
}

int FrmMain::PanelsShown() const {
    return kelvane::PanelsShown(frame_.PanelsMode());
}

}  // namespace kelvane
