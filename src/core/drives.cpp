// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

// Drive letters found at start and the used space of the drives shown.

#include "core/frm_main.h"

namespace kelvane {

// Counts the letters from C: that pass the probe in a row; the first letter that fails is
// counted too and ends the probe, so DriveCount is one more than the drives found.
void FrmMain::FindHowManyDrives() {
    // Letters are given to volumes once, at start: one that got none stays absent.
    for (int letter = 0; letter < kDriveLetters; ++letter) {
        driveAbsent_[static_cast<std::size_t>(letter)] =
            platform_.volumes.MountPoint(letter).isEmpty();
    }
    for (int letter = 0; letter < kDriveLetters; ++letter) {
        DriveCount = static_cast<std::uint8_t>(letter + 1);
        if (!platform_.volumes.Probe(letter)) {
            return;
        }
    }
    DriveCount = kDriveLetters + 1;
}

// A failed query leaves the drive's figure as it was: it never borrows another drive's.
void FrmMain::SetWholeDrive(int panel) {
    const int code = Section[static_cast<std::size_t>(panel)];
    if (!IsDriveKind(code)) {
        return;
    }
    const int letter = code - kFirstDrive;
    VolumeSpace space;
    if (driveAbsent_[static_cast<std::size_t>(letter)] ||
        !platform_.volumes.FreeSpace(letter, space)) {
        return;
    }
    if (const auto used = UsedPercentOf(space)) {
        DriveUsedPercent[static_cast<std::size_t>(letter)] = *used;
    }
}

}  // namespace kelvane
