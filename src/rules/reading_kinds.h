// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#pragma once

#include <cstdint>
#include <string_view>

#include "rules/counts.h"
#include "rules/led_rules.h"

namespace kelvane {

// The reading a panel shows, by its code, as the settings store it. Codes above kLastDrive are
// no kind (a damaged or foreign settings file can hold them); a panel with one shows nothing.
enum SectionKind : std::uint8_t {
    kUsedRamPercent = 0,
    kUsedRamKb = 1,
    kUsedRamMb = 2,
    kFreeRamPercent = 3,
    kFreeRamKb = 4,
    kFreeRamMb = 5,
    kTotalRam = 6,
    kFirstDrive = 7,  // C:
    kLastDrive = 30,  // Z:
    kNoKind = 255,    // what no panel has been given yet
};

constexpr bool IsMemoryKind(SectionKind code) {
    return code <= kTotalRam;
}
constexpr bool IsDriveKind(SectionKind code) {
    return code >= kFirstDrive && code <= kLastDrive;
}
constexpr bool IsReadingKind(SectionKind code) {
    return code <= kLastDrive;
}
// The drive code of the drive `k` letters after C:, and back.
constexpr SectionKind DriveKind(int k) {
    return static_cast<SectionKind>(kFirstDrive + k);
}
constexpr int DriveIndex(SectionKind code) {
    return code - kFirstDrive;
}
// The letter of a drive code, 'C' for 7 up to 'Z' for 30.
constexpr char DriveLetter(SectionKind code) {
    return static_cast<char>('C' + DriveIndex(code));
}

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

// What a kind shows, in words: "Used RAM" in "percent", "Total RAM" in "MB", for the help
// texts and screen readers.
struct KindWords {
    std::string_view reading;
    std::string_view unit;
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
    KindWords words;
};

// The rows of the table: one per memory kind (row = code), then one for all 24 drives.
inline constexpr int kTitles = 8;

// The row of a kind, 0..30; the drives share the last.
constexpr int TitleOf(SectionKind code) {
    return IsDriveKind(code) ? kTitles - 1 : code;
}
const ReadingKind& KindAt(int title);
inline const ReadingKind& KindOf(SectionKind code) {
    return KindAt(TitleOf(code));
}
inline const KindWords& WordsOf(SectionKind code) {
    return KindOf(code).words;
}

}  // namespace kelvane
