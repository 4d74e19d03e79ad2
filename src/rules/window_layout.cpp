// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#include "rules/window_layout.h"

#include "rules/number_text.h"

namespace kelvane {

int TwipsToPixels(double twips) {
    return static_cast<int>(RoundHalfEven(twips / kTwipsPerPixel));
}

}  // namespace kelvane
