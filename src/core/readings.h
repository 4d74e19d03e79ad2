// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "core/system.h"
#include "rules/counts.h"
#include "rules/reading_rules.h"

namespace kelvane {

// What the panels show on a tick: the memory snapshot and its free percentage, and the used
// space of the drives found at start.
class Readings {
  public:
    Readings(MemoryStatusSource& memory, VolumeSource& volumes, std::string decimalPoint);
    Readings(const Readings&) = delete;
    Readings& operator=(const Readings&) = delete;

    // Probes the letters from C: on; the first letter that fails ends the probe.
    void FindHowManyDrives();
    // How many letters from C: on passed the probe: the drives the panels may show.
    int DrivesFound() const { return drivesFound_; }

    // A tick's memory snapshot; an unreadable or implausible one keeps the previous readings.
    void ReadMemory();
    // The used space of the drive a panel shows, when `code` is a drive's.
    void SetWholeDrive(SectionKind code);

    // This tick's readings, for the panels to show.
    const TickReadings& Now() const { return now_; }
    // Where the letter's volume is mounted, as found at start; empty for a letter with none.
    const std::string& MountPoint(int letter) const {
        return mountPoints_[static_cast<std::size_t>(letter)];
    }

  private:
    MemoryStatusSource& memory_;
    VolumeSource& volumes_;
    int drivesFound_ = 0;  // the letters from C: on that passed the probe
    std::array<std::int16_t, kDriveLetters> DriveUsedPercent{};
    std::array<std::string, kDriveLetters> mountPoints_;
    std::array<bool, kDriveLetters> driveAbsent_{};
    std::array<bool, kDriveLetters> driveUnknown_{};  // no answer from the volume yet
    std::string decimalPoint_;
    // This tick's readings hold the snapshot and its free percentage, under their own names.
    TickReadings now_;
    MemoryStatus& MemStatus = now_.mem;
    std::int16_t& FreePercent = now_.freePercent;
};

}  // namespace kelvane
