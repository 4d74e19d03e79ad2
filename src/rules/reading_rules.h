// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "rules/counts.h"
#include "rules/figures.h"
#include "rules/number_text.h"
#include "rules/reading_kinds.h"

namespace kelvane {

// A snapshot the refresh can use: at least one kilobyte in all, available within the total.
bool IsUsableSnapshot(const MemoryStatus& mem);

// Free memory in whole percent, truncated (30.64 gives 30), from whole kilobytes.
std::int16_t FreePercentOf(const MemoryStatus& mem);

// Used space of a volume in whole percent: the complement of the free share, rounded half to
// even once at the end (87.5 gives 88). Nothing when the volume reports no size.
std::optional<std::int16_t> UsedPercentOf(const VolumeSpace& space);

struct LedCommand {
    enum Action { kNone, kLevel, kFull } action = kNone;
    int level = 0;
};

struct TickReadings {
    MemoryStatus mem;
    std::int16_t freePercent = 0;
    const std::int16_t* driveUsedPercent = nullptr;  // kDriveLetters entries, C: first
    const bool* driveAbsent = nullptr;               // letters that name no volume
    const bool* driveUnknown = nullptr;              // volumes that have not answered yet
    std::string_view decimalPoint = ".";
};

// What a panel shows on a tick, made once by the refresh: the view draws its caption and bar,
// and its tooltip and what screen readers hear read the same figures, never the caption's text.
struct PanelResult {
    enum class State {
        kNoReading,  // the code names no reading: the panel is left as it was
        kFigure,     // `figure` is known
        kUnknown,    // memory not read yet, or a volume that has not answered yet
        kAbsent,     // a letter that names no volume
    };
    SectionKind code = kNoKind;
    State state = State::kNoReading;
    double figure = 0;            // the caption's number, in `unit`
    double fullScale = 0;         // where the bar is full, in `unit`: 100 %, or the total memory
    std::string_view unit;        // "%", "KB" or "MB"
    std::string_view mountPoint;  // a drive's volume; empty for memory or a letter with none
    CaptionText caption;          // the number as drawn: a dash where it is not known
    LedCommand led;
};

// What a panel showing `code` shows from this tick's readings (all but the mount point).
void PanelReading(SectionKind code, const TickReadings& in, PanelResult& out);

// Everything PanelReading reads for `code` (the decimal point aside, which is fixed for the
// run): equal inputs give the same caption and LED command, so a panel that already shows
// them has nothing to do on this tick.
struct PanelInputs {
    int code = -1;  // no panel shows -1: the first comparison always differs
    std::int64_t totalPhys = 0;
    std::int64_t availPhys = 0;
    std::int16_t percent = 0;  // free memory, or the drive's use (-1: not known yet)
    bool operator==(const PanelInputs&) const = default;
};
PanelInputs PanelInputsOf(SectionKind code, const TickReadings& in);

}  // namespace kelvane
