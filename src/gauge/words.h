// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#pragma once

// What the window's parts are called and what they say, in words: for the tooltips and for
// screen readers, on every host alike.

#include <string>
#include <string_view>

#include "rules/reading_rules.h"

namespace kelvane {

// The program's name, which a screen reader gives the window. The window's caption stays the
// one it was designed with ("Dorvane"): window managers and the user's scripts know the window
// by it, and it is what the window is titled wherever a caption shows.
inline constexpr std::string_view kGaugeName = "Kelvane";
inline constexpr std::string_view kWindowCaption = "Dorvane";
// What the window is and how to work it without a mouse.
inline constexpr std::string_view kGaugeDescription =
    "RAM and disk usage gauge. Tab and Shift+Tab walk its buttons and panels, Space presses "
    "the one the keyboard is on, F1 opens the help and F2 to F12 choose the panels.";

// The controls of the title strip that act when clicked, from left to right; Tab walks them in
// this order, then the visible panels from the top.
enum class GaugeButton { kClose, kSize, kHelp, kPinLeft, kPinTop, kPinRight };
inline constexpr int kGaugeButtons = 6;

struct PartWords {
    std::string_view name;
    std::string_view description;
};
const PartWords& WordsOf(GaugeButton button);
// The logo, which the mouse drags the window by.
const PartWords& LogoWords();

// One panel as the last tick left it, in words.
struct PanelWords {
    // "Used RAM percent", "Used drive D: (/home)", "Used drive P: (absent)"; empty where the
    // panel's code names no reading.
    std::string name;
    // The figure as the panel shows it ("43%", "8123 MB"), but in words where it holds none
    // (a dash or nothing would be read out as punctuation or silence): "unknown", "absent".
    std::string figure;
    // Where the figure comes from: the memory it counts, a drive's volume.
    std::string description;
};
PanelWords DescribePanel(const PanelResult& shown);

}  // namespace kelvane
