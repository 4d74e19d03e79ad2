// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

// A panel's reading, and what shows it: title, drive letter, number place and colours.

#include "panels/panel_set.h"

#include "rules/window_layout.h"

namespace kelvane {

PanelSet::PanelSet(Controls& controls, const PerPanel<PanelControls>& panels,
                   const Readings& readings)
    : controls_(controls), c_(panels), readings_(readings) {}

void PanelSet::Show(int panel, SectionKind code, std::optional<NumberPlace> place,
                    Recolour recolour) {
    const auto p = static_cast<std::size_t>(panel);
    const PanelControls& c = c_[p];
    const ReadingKind& kind = KindOf(code);
    const bool schemeChanges = kind.scheme != KindOf(Section_[p]).scheme;
    Section_[p] = code;
    for (int t = 0; t < kTitles; ++t) {
        controls_.SetVisible(c.titles[static_cast<std::size_t>(t)], t == TitleOf(code));
    }
    if (IsDriveKind(code)) {
        const char caption[] = {DriveLetter(code), ':'};
        controls_.SetText(c.lblDrv, std::string_view(caption, 2));
        controls_.SetVisible(c.lblDrv, true);
        controls_.SetLeft(c.lblDrv, kDriveLetterLeftTwips);
    } else {
        controls_.SetVisible(c.lblDrv, false);
    }
    if (place) {
        controls_.SetLeft(c.lblInfo, place->left);
        controls_.SetWidth(c.lblInfo, place->width);
    }
    if (recolour == Recolour::kAlways ||
        (recolour == Recolour::kAsAtStart && kind.recolouredAtStart) ||
        (recolour == Recolour::kIfSchemeChanges && schemeChanges)) {
        ChangeColor(panel, kind.scheme == ColourScheme::RedToGreen);
    }
}

void PanelSet::SetPanels(int Index) {
    const SectionKind code = Section_[static_cast<std::size_t>(Index)];
    if (IsReadingKind(code)) {
        Show(Index, code, KindOf(code).atStart, Recolour::kAsAtStart);
    }
}

void PanelSet::FunctionKeys(int Index, SectionKind code, NumberPlace place) {
    Show(Index, code, place, Recolour::kAlways);
    if (IsDriveKind(code)) {
        DriveStep = static_cast<std::uint8_t>(Index);
    }
}

void PanelSet::SetWholeLights(int panel) {
    const auto p = static_cast<std::size_t>(panel);
    // Most ticks read what the last one did; only this tick's caption and bar, and nothing
    // else, write to the panel's number and segments, so with the same inputs they are right.
    const PanelInputs inputs = PanelInputsOf(Section_[p], readings_.Now());
    if (inputs != shownInputs_[p]) {
        ShowReading(panel, inputs);
    }
}

// Apart from the comparison above, so that a tick that changes nothing costs only that.
void PanelSet::ShowReading(int panel, const PanelInputs& inputs) {
    const auto p = static_cast<std::size_t>(panel);
    const SectionKind code = Section_[p];
    PanelResult& result = results_[p];
    PanelReading(code, readings_.Now(), result);
    if (result.state == PanelResult::State::kNoReading) {
        return;
    }
    result.mountPoint =
        IsDriveKind(code) ? std::string_view(readings_.MountPoint(DriveIndex(code))) : "";
    if (result.led.action == LedCommand::kFull) {
        TurnOnLights(panel);
    } else {
        SetLights(panel, result.led.level);
    }
    controls_.SetText(c_[p].lblInfo, result.caption.View());
    shownInputs_[p] = inputs;
}

}  // namespace kelvane
