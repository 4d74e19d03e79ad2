// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#include "gauge/key_focus.h"

#include <algorithm>

namespace kelvane {

int KeyFocus::Stops() const {
    return kGaugeButtons + adapter_.VisiblePanels();
}

int KeyFocus::Current() const {
    return std::min(focus_, Stops() - 1);
}

void KeyFocus::Step(bool next) {
    const int stops = Stops();
    const int from = Current();
    focus_ = from < 0 ? (next ? 0 : stops - 1) : (from + (next ? 1 : stops - 1)) % stops;
    shown_ = true;
}

int KeyFocus::PartAt(Point pixels) const {
    for (int focus = 0; focus < Stops(); ++focus) {
        const Rect part = focus < kGaugeButtons
                              ? adapter_.ButtonRect(static_cast<GaugeButton>(focus))
                              : adapter_.Panel(focus - kGaugeButtons).title;
        if (part.Contains(pixels)) {
            return focus;
        }
    }
    return -1;
}

Rect KeyFocus::Where(int focus) const {
    if (focus < 0) {
        return {};
    }
    return focus < kGaugeButtons ? adapter_.ButtonRect(static_cast<GaugeButton>(focus))
                                 : adapter_.Panel(focus - kGaugeButtons).rect;
}

void KeyFocus::PressCurrent() {
    const int focus = Current();
    if (focus < 0) {
        return;
    }
    if (focus < kGaugeButtons) {
        adapter_.Press(static_cast<GaugeButton>(focus));
    } else {
        adapter_.NextReading(focus - kGaugeButtons);
    }
}

}  // namespace kelvane
