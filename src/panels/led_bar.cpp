// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

// Lighting a panel's 27 LED segments, and its colour scheme.

#include "panels/panel_set.h"

namespace kelvane {

// Only segments whose state changes are written: the visible result is the same as writing
// all 27. With the count the bar already shows, not even the 27 are looked at, which on most
// ticks is all there is to do.
void PanelSet::ShowSegments(int panel, int lit) {
    auto& shown = shownLit_[static_cast<std::size_t>(panel)];
    if (shown == lit) {
        return;
    }
    const auto& segments = c_[static_cast<std::size_t>(panel)].segments;
    for (int n = 0; n < kSegments; ++n) {
        controls_.SetVisible(segments[static_cast<std::size_t>(n)], n < lit);
    }
    shown = lit;
}

void PanelSet::SetLights(int i, int intPercent) {
    const int lit = LitCount(intPercent);
    if (lit < 0) {
        return;  // outside 0..100: the bar keeps what it showed
    }
    ShowSegments(i, lit);
}

void PanelSet::TurnOffLights(int i) {
    ShowSegments(i, 0);
}

void PanelSet::TurnOnLights(int i) {
    ShowSegments(i, kSegments);
}

// The direction picture that is left showing is the one whose dimmed gradient matches the
// segment colours.
void PanelSet::ChangeColor(int Index2, bool Right) {
    const PanelControls& c = c_[static_cast<std::size_t>(Index2)];
    controls_.SetVisible(c.imgR2G, Right);
    controls_.SetVisible(c.imgG2R, !Right);
    const ColourScheme scheme = Right ? ColourScheme::RedToGreen : ColourScheme::GreenToRed;
    for (int n = 1; n <= kSegments; ++n) {
        controls_.SetFill(c.segments[static_cast<std::size_t>(n - 1)], SegmentColour(scheme, n));
    }
}

}  // namespace kelvane
