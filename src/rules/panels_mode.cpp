// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#include "rules/panels_mode.h"

namespace kelvane {

// Six panels are code 8, as start-up reads it, so that the window comes back as it was left.
std::uint8_t LogoDoubleClickStep(int panelsMode) {
    constexpr std::uint8_t kNext[9] = {0, 2, 8, 4, 1, 2, 4, 8, 4};
    return panelsMode >= 1 && panelsMode <= 8 ? kNext[panelsMode] : 0;
}

std::uint8_t SizeButtonStep(int panelsMode) {
    return panelsMode >= 5 && panelsMode <= 7 ? 0 : LogoDoubleClickStep(panelsMode);
}

}  // namespace kelvane
