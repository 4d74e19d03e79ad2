// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

// Lighting a panel's 27 LED segments, and its colour scheme.

#include "core/frm_main.h"

namespace kelvane {

// Only segments whose state changes are written: the visible result is the same as writing
// all 27. With the count the bar already shows, not even the 27 are looked at, which on most
// ticks is all there is to do.
void FrmMain::ShowSegments(int panel, int lit) {
    auto& shown = shownLit_[static_cast<std::size_t>(panel)];
    if (shown == lit) {
        return;
    }
    for (int n = 0; n < kSegments; ++n) {
        controls.SetVisible(imgRamUse[static_cast<std::size_t>(n)][static_cast<std::size_t>(panel)],
                            n < lit);
    }
    shown = lit;
}

void FrmMain::SetLights(int i, int intPercent) {
    const int lit = LitCount(intPercent);
    if (lit < 0) {
        return;  // outside 0..100: the bar keeps what it showed
    }
    ShowSegments(i, lit);
}

void FrmMain::TurnOffLights(int i) {
    ShowSegments(i, 0);
}

void FrmMain::TurnOnLights(int i) {
    ShowSegments(i, kSegments);
}

// The direction picture that is left showing is the one whose dimmed gradient matches the
// segment colours.
void FrmMain::ChangeColor(int Index2, bool Right) {
    const auto p = static_cast<std::size_t>(Index2);
    if (Right) {
        controls.SetVisible(imgR2G[p], true);
        controls.SetVisible(imgG2R[p], false);
    } else {
        controls.SetVisible(imgR2G[p], false);
        controls.SetVisible(imgG2R[p], true);
    }
    const ColourScheme scheme = Right ? ColourScheme::RedToGreen : ColourScheme::GreenToRed;
    for (int n = 1; n <= kSegments; ++n) {
        controls.SetFill(imgRamUse[static_cast<std::size_t>(n - 1)][p], SegmentColour(scheme, n));
    }
}

}  // namespace kelvane
