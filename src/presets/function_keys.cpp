// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

// The keyboard: F1 for help, F2 to F12 for fixed arrangements. Modifiers are not looked at.

#include <algorithm>

#include "core/frm_main.h"
#include "rules/panels_mode.h"
#include "rules/presets.h"

namespace kelvane {
namespace {

constexpr int kF1 = 112;
constexpr int kF12 = 123;

}  // namespace

void FrmMain::Form_KeyDown(int key) {
    if (key == kF1) {
        host_->ShowHelp();
    } else if (key == kF12) {
        ApplyDriveKey();
    } else {
        ApplyPreset(key);
    }
    SettingsMayHaveChanged();
}

void FrmMain::ApplyPreset(int key) {
    const Preset* preset = PresetForKey(key);
    if (!preset) {
        return;
    }
    PanelsMode = preset->panelsMode;
    const int count = static_cast<int>(preset->panels.size());
    for (int p = 0; p < count; ++p) {
        Section[static_cast<std::size_t>(p)] = preset->panels[static_cast<std::size_t>(p)].section;
    }
    for (int p = 0; p < count; ++p) {
        PlaceNumber(p, preset->panels[static_cast<std::size_t>(p)].place);
    }
    for (int p = 0; p < count; ++p) {
        const ReadingKind& kind = KindOf(preset->panels[static_cast<std::size_t>(p)].section);
        FunctionKeys(p, kind.title, kind.scheme == ColourScheme::RedToGreen);
    }
    for (int p = 0; p < count; ++p) {
        if (const int code = preset->panels[static_cast<std::size_t>(p)].section;
            IsDriveKind(code)) {
            ShowDriveLabel(p, code);
        }
    }
    const QRect window = host_->Geometry();
    host_->SetWindowPos(
        {window.topLeft(), QSize(window.width(), WindowHeight(PanelsShown(PanelsMode)))});
}

// F12: every drive found, up to eight panels; nothing at all when none was found.
void FrmMain::ApplyDriveKey() {
    const int found = DriveCount - 1;
    if (found < 1) {
        return;
    }
    const int n = std::min(found, kPanels);
    PanelsMode = PanelsModeFor(n);
    for (int k = 0; k < n; ++k) {
        Section[static_cast<std::size_t>(k)] = static_cast<std::uint8_t>(kFirstDrive + k);
    }
    for (int k = 0; k < n; ++k) {
        PlaceNumber(k, KindOf(kFirstDrive).atStart);
        ShowDriveLabel(k, kFirstDrive + k);
    }
    for (int k = 0; k < n; ++k) {
        FunctionKeys(k, KindOf(kFirstDrive).title, false);
    }
    const QRect window = host_->Geometry();
    host_->SetWindowPos({window.topLeft(), QSize(window.width(), WindowHeight(n))});
}

// Gives a panel the title picture and colour direction of a title code. An unknown code
// (compared exactly, letter case included) changes nothing.
void FrmMain::FunctionKeys(int Index, std::string_view WhichPanel, bool blnLeft) {
    int title = 0;
    while (title < kTitles && KindAt(title).title != WhichPanel) {
        ++title;
    }
    if (title == kTitles) {
        return;
    }
    const auto p = static_cast<std::size_t>(Index);
    if (title == TitleOf(kFirstDrive)) {
        controls.SetVisible(lblDrv[p], true);
        ShowTitle(Index, title);
        DriveStep = static_cast<std::uint8_t>(Index);
    } else {
        controls.SetVisible(lblDrv[p], false);
        ShowTitle(Index, title);
    }
    ChangeColor(Index, blnLeft);
}

}  // namespace kelvane
