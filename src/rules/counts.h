// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#pragma once

#include <cstdint>

namespace kelvane {

constexpr int kPanels = 8;
constexpr int kSegments = 27;
constexpr int kDriveLetters = 24;  // C: to Z:

// The reading a panel shows. Codes above kLastDrive are no kind.
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
};

constexpr bool IsMemoryKind(int code) {
    return code >= kUsedRamPercent && code <= kTotalRam;
}
constexpr bool IsDriveKind(int code) {
    return code >= kFirstDrive && code <= kLastDrive;
}
constexpr bool IsReadingKind(int code) {
    return code >= kUsedRamPercent && code <= kLastDrive;
}
// The letter of a drive code, 'C' for 7 up to 'Z' for 30.
constexpr char DriveLetter(int code) {
    return static_cast<char>('C' + (code - kFirstDrive));
}

}  // namespace kelvane
