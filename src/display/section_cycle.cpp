// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

// The title click: each press on a panel's title moves it on to the next reading, through
// the drives found at start and back to used RAM percent.

#include "core/frm_main.h"

namespace kelvane {

// The pressed title stands for the panel's kind, so the handler knows where it comes from.
// The bar is recoloured only where the next kind's scheme differs.
void FrmMain::NextReading(int panel, int from) {
    const int to = from + 1;
    const ReadingKind& kind = KindOf(to);
    ShowTitle(panel, TitleOf(to));
    if (IsDriveKind(to)) {
        ShowDriveLabel(panel, to);  // total RAM always moves on to C:, whatever was found
    }
    Section[static_cast<std::size_t>(panel)] = static_cast<std::uint8_t>(to);
    PlaceNumber(panel, kind.onArrival);
    if (kind.scheme != KindOf(from).scheme) {
        ChangeColor(panel, kind.scheme == ColourScheme::RedToGreen);
    }
}

void FrmMain::imgURP_MouseDown(int Index) {
    NextReading(Index, kUsedRamPercent);
}
void FrmMain::imgURK_MouseDown(int Index) {
    NextReading(Index, kUsedRamKb);
}
void FrmMain::imgURM_MouseDown(int Index) {
    NextReading(Index, kUsedRamMb);
}
void FrmMain::imgFRP_MouseDown(int Index) {
    NextReading(Index, kFreeRamPercent);
}
void FrmMain::imgFRK_MouseDown(int Index) {
    NextReading(Index, kFreeRamKb);
}
void FrmMain::imgFRM_MouseDown(int Index) {
    NextReading(Index, kFreeRamMb);
}
void FrmMain::imgTRK_MouseDown(int Index) {
    NextReading(Index, kTotalRam);
}

// The walk position is shared by all panels: the next drive follows the one that the walk
// or a preset last put on any panel.
void FrmMain::imgUD_MouseDown(int Index) {
    const auto p = static_cast<std::size_t>(Index);
    if (static_cast<int>(DriveStep) <= static_cast<int>(DriveCount) - 3) {
        ++DriveStep;
        const int code = kFirstDrive + DriveStep;
        ShowDriveLabel(Index, code);
        Section[p] = static_cast<std::uint8_t>(code);
        return;
    }
    controls.SetVisible(lblDrv[p], false);
    ShowTitle(Index, TitleOf(kUsedRamPercent));
    Section[p] = kUsedRamPercent;
    PlaceNumber(Index, KindOf(kUsedRamPercent).onArrival);
    DriveStep = 0;
}

}  // namespace kelvane
