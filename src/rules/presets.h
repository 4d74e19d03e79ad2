// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#pragma once

#include <cstdint>
#include <span>

#include "rules/reading_kinds.h"

namespace kelvane {

// One panel of a function-key arrangement: its reading and where its number stands. Its title
// and colour direction are those of the reading.
struct PresetPanel {
    std::uint8_t section;
    NumberPlace place;
};

struct Preset {
    std::uint8_t panelsMode;
    std::span<const PresetPanel> panels;
};

// The arrangement of F2 to F11 (virtual-key codes 113 to 122); nullptr for other keys.
const Preset* PresetForKey(int key);

}  // namespace kelvane
