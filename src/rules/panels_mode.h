// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#pragma once

#include <cstdint>

namespace kelvane {

constexpr std::uint8_t kFirstRunPanelsMode = 4;  // all eight panels

// Panels shown for a size code: codes 1 to 4 stand for 1, 3, 5 and 8 panels, codes 5 to 8
// for 2, 7, 4 and 6. 0 for any other code.
constexpr int PanelsShown(int panelsMode) {
    constexpr int kPanelsOf[9] = {0, 1, 3, 5, 8, 2, 7, 4, 6};
    return panelsMode >= 1 && panelsMode <= 8 ? kPanelsOf[panelsMode] : 0;
}

// The size code that shows n panels (1..8).
constexpr std::uint8_t PanelsModeFor(int panels) {
    std::uint8_t code = 1;
    while (code < 8 && PanelsShown(code) != panels) {
        ++code;
    }
    return code;
}

// The size cycle through 1, 3, 6 and 8 panels: the code after `panelsMode`, or 0 for no change.
// The size button stands still after the presets of 2, 7 and 4 panels; a double-click on the
// logo moves on from every size.
std::uint8_t SizeButtonStep(int panelsMode);
std::uint8_t LogoDoubleClickStep(int panelsMode);

}  // namespace kelvane
