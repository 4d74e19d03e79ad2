// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

// The title click: each press on a panel's title moves it on to the next reading, through
// the drives found at start and back to used RAM percent.

#include "panels/panel_set.h"

namespace kelvane {

int PanelSet::TitleAt(ControlId id) const {
    const int panel = controls_[id].index;
    for (int t = 0; panel >= 0 && panel < kPanels && t < kTitles; ++t) {
        if (c_[static_cast<std::size_t>(panel)].titles[static_cast<std::size_t>(t)] == id) {
            return t;
        }
    }
    return -1;
}

// The pressed title stands for the panel's kind, so the handler knows where it comes from.
void PanelSet::TitleMouseDown(int panel, int title) {
    switch (title) {
        case kUsedRamPercent:
            return imgURP_MouseDown(panel);
        case kUsedRamKb:
            return imgURK_MouseDown(panel);
        case kUsedRamMb:
            return imgURM_MouseDown(panel);
        case kFreeRamPercent:
            return imgFRP_MouseDown(panel);
        case kFreeRamKb:
            return imgFRK_MouseDown(panel);
        case kFreeRamMb:
            return imgFRM_MouseDown(panel);
        case kTotalRam:
            return imgTRK_MouseDown(panel);
        default:
            return imgUD_MouseDown(panel);
    }
}

// Total RAM always moves on to C:, whatever was found.
void PanelSet::NextReading(int panel, SectionKind from) {
    Section_[static_cast<std::size_t>(panel)] = from;
    const auto next = static_cast<SectionKind>(from + 1);
    Show(panel, next, KindOf(next).onArrival, Recolour::kIfSchemeChanges);
}

void PanelSet::imgURP_MouseDown(int Index) {
    NextReading(Index, kUsedRamPercent);
}
void PanelSet::imgURK_MouseDown(int Index) {
    NextReading(Index, kUsedRamKb);
}
void PanelSet::imgURM_MouseDown(int Index) {
    NextReading(Index, kUsedRamMb);
}
void PanelSet::imgFRP_MouseDown(int Index) {
    NextReading(Index, kFreeRamPercent);
}
void PanelSet::imgFRK_MouseDown(int Index) {
    NextReading(Index, kFreeRamKb);
}
void PanelSet::imgFRM_MouseDown(int Index) {
    NextReading(Index, kFreeRamMb);
}
void PanelSet::imgTRK_MouseDown(int Index) {
    NextReading(Index, kTotalRam);
}

// The walk position is shared by all panels: the next drive follows the one that the walk
// or a preset last put on any panel.
void PanelSet::imgUD_MouseDown(int Index) {
    if (DriveStep + 1 < readings_.DrivesFound()) {
        ++DriveStep;
        Show(Index, DriveKind(DriveStep), std::nullopt, Recolour::kIfSchemeChanges);
        return;
    }
    Show(Index, kUsedRamPercent, KindOf(kUsedRamPercent).onArrival, Recolour::kIfSchemeChanges);
    DriveStep = 0;
}

}  // namespace kelvane
