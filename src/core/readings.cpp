// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#include "core/readings.h"

namespace kelvane {

Readings::Readings(MemoryStatusSource& memory, VolumeSource& volumes, std::string decimalPoint)
    : memory_(memory),
      volumes_(volumes),
      decimalPoint_(decimalPoint.empty() ? std::string(1, '.') : std::move(decimalPoint)) {
    now_.driveUsedPercent = DriveUsedPercent.data();
    now_.driveAbsent = driveAbsent_.data();
    now_.driveUnknown = driveUnknown_.data();
    now_.decimalPoint = decimalPoint_;
}

// Counts the letters from C: that pass the probe in a row. Letters are given to volumes once,
// at start: one that got none stays absent.
void Readings::FindHowManyDrives() {
    for (int letter = 0; letter < kDriveLetters; ++letter) {
        const auto l = static_cast<std::size_t>(letter);
        mountPoints_[l] = volumes_.MountPoint(letter);
        driveAbsent_[l] = mountPoints_[l].empty();
    }
    drivesFound_ = 0;
    while (drivesFound_ < kDriveLetters && volumes_.Probe(drivesFound_)) {
        ++drivesFound_;
    }
}

void Readings::ReadMemory() {
    MemoryStatus snapshot;
    if (memory_.Read(snapshot) && IsUsableSnapshot(snapshot)) {
        MemStatus = snapshot;
        FreePercent = FreePercentOf(snapshot);
    }
}

// A failed query leaves the drive's figure as it was: it never borrows another drive's. A
// volume that has not answered yet has no figure to show.
void Readings::SetWholeDrive(SectionKind code) {
    if (!IsDriveKind(code)) {
        return;
    }
    const auto letter = static_cast<std::size_t>(DriveIndex(code));
    VolumeSpace space;
    if (driveAbsent_[letter]) {
        return;
    }
    switch (volumes_.FreeSpace(static_cast<int>(letter), space)) {
        case SpaceAnswer::kSpace:
            if (const auto used = UsedPercentOf(space)) {
                DriveUsedPercent[letter] = *used;
                driveUnknown_[letter] = false;
            }
            break;
        case SpaceAnswer::kNotYet:
            driveUnknown_[letter] = true;
            break;
        case SpaceAnswer::kFailed:
            break;
    }
}

}  // namespace kelvane
