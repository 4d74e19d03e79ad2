// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#pragma once

#include <string_view>

#include "rules/led_rules.h"
#include "rules/sections.h"

namespace kelvane {

// Where a panel's number stands: its left edge and width in twips.
struct NumberPlace {
    int left;
    int width;
    bool operator==(const NumberPlace&) const = default;
};

// What a kind's number says and which level its bar shows, made from one tick's readings.
enum class CaptionRule {
    kUsedPercent,
    kUsedKb,
    kUsedMb,
    kFreePercent,
    kFreeKb,
    kFreeMb,
    kTotalMb,
    kDrivePercent,
};

// Everything about one reading kind. A title click moves a memory kind on to the next code
// (total RAM to C:); the drives walk through the drives found instead.
struct ReadingKind {
    // Names the kind's title picture ("img" + title) and the kind in the presets.
    std::string_view title;
    NumberPlace atStart;    // where the start-up layout puts the number
    NumberPlace onArrival;  // where a title click that brings a panel to this kind puts it
    ColourScheme scheme;
    bool recolouredAtStart;  // used RAM keeps the window's design colours at start
    CaptionRule caption;
    std::string_view toolTip;  // how the figure is made; a drive's tells its mount point
};

// The rows of the table: one per memory kind (row = code), then one for all 24 drives.
inline constexpr int kTitles = 8;

// The row of a kind, 0..30; the drives share the last.
constexpr int TitleOf(int code) {
    return IsDriveKind(code) ? kTitles - 1 : code;
}
const ReadingKind& KindAt(int title);
inline const ReadingKind& KindOf(int code) {
    return KindAt(TitleOf(code));
}

// What a kind shows, in words: "Used RAM" in "percent", "Total RAM" in "MB". For the help
// texts and screen readers; apart from ReadingKind, which the refresh tick reads.
struct KindWords {
    std::string_view reading;
    std::string_view unit;
};
const KindWords& WordsOf(int code);

}  // namespace kelvane
