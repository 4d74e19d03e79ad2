// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

// What each panel shows on a tick.

#include "core/frm_main.h"

namespace kelvane {

void FrmMain::SetWholeLights(int panel) {
    const auto p = static_cast<std::size_t>(panel);
    const int code = Section[p];
    TickReadings in;
    in.mem = MemStatus;
    in.freePercent = FreePercent;
    in.driveUsedPercent = DriveUsedPercent.data();
    in.driveAbsent = driveAbsent_.data();
    in.decimalPoint = decimalPoint_;
    // Most ticks read what the last one did; only this tick's caption and bar, and nothing
    // else, write to the panel's number and segments, so with the same inputs they are right.
    const PanelInputs inputs = PanelInputsOf(code, in);
    if (inputs == shownInputs_[p]) {
        return;
    }
    CaptionText caption;
    LedCommand led;
    if (!PanelReading(code, in, caption, led)) {
        return;
    }
    if (led.action == LedCommand::kFull) {
        TurnOnLights(panel);
    } else {
        SetLights(panel, led.level);
    }
    controls.SetText(lblInfo[p], caption.View());
    shownInputs_[p] = inputs;
}

}  // namespace kelvane
