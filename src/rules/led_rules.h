// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#pragma once

#include <cstdint>

#include "rules/counts.h"

namespace kelvane {

// Segments lit from the left for an LED level; -1 when the level is outside 0..100 and the
// bar is to be left as it is. The table has jumps at 45 (11 -> 13) and 97 (25 -> 27).
int LitCount(int level);

enum class ColourScheme { GreenToRed, RedToGreen };

struct Rgb {
    int red;
    int green;
    int blue;
    bool operator==(const Rgb&) const = default;
};

// The fill of segment n (1..27) in a scheme.
Rgb SegmentColour(ColourScheme scheme, int n);

}  // namespace kelvane
