// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "rules/reading_kinds.h"

namespace kelvane {

// One panel of a function-key arrangement: its reading and where its number stands. Its title
// and colour direction are those of the reading.
struct PresetPanel {
    SectionKind section;
    NumberPlace place;
};

struct Preset {
    std::uint8_t panelsMode;
    std::span<const PresetPanel> panels;
};

// A function key by its number: F1 is 1, F12 is 12.
enum class FunctionKey : std::uint8_t {};
constexpr FunctionKey FKey(int number) {
    return static_cast<FunctionKey>(number);
}
constexpr int Number(FunctionKey key) {
    return static_cast<int>(key);
}
inline constexpr FunctionKey kHelpKey = FKey(1);
inline constexpr FunctionKey kDrivesKey = FKey(12);  // every drive found, up to eight panels

// The arrangement of F2 to F11; nullptr for other keys.
const Preset* PresetForKey(FunctionKey key);

// What a key does, in a few words made from its arrangement: "used RAM % and KB, free RAM %
// and KB, total RAM MB". For the command line's help and the manual page.
std::string KeyUsage(FunctionKey key);

}  // namespace kelvane
