// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#include "rules/led_rules.h"

#include <array>

namespace kelvane {
namespace {

constexpr std::array<std::int8_t, 101> MakeLitTable() {
    std::array<std::int8_t, 101> table{};
    for (int level = 0; level <= 100; ++level) {
        const int quarters = (level + 3) / 4;
        int lit = quarters;
        if (level >= 97) {
            lit = kSegments;
        } else if (level >= 45) {
            lit = quarters + 1;
        }
        table[static_cast<std::size_t>(level)] = static_cast<std::int8_t>(lit);
    }
    return table;
}

constexpr auto kLitTable = MakeLitTable();

Rgb GreenToRed(int n) {
    if (n <= 13) {
        return {20 * (n - 1), 255, 0};
    }
    if (n == 14) {
        return {255, 255, 0};
    }
    return {255, 20 * (kSegments - n), 0};
}

}  // namespace

int LitCount(int level) {
    if (level < 0 || level > 100) {
        return -1;
    }
    return kLitTable[static_cast<std::size_t>(level)];
}

Rgb SegmentColour(ColourScheme scheme, int n) {
    return scheme == ColourScheme::GreenToRed ? GreenToRed(n) : GreenToRed(kSegments + 1 - n);
}

}  // namespace kelvane
