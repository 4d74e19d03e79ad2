// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#pragma once

// Drive letters on Linux: which mounted volumes the gauge offers, and under which letter.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace kelvane {

// One line of /proc/self/mounts, with the kernel's octal escapes already decoded.
struct MountEntry {
    std::string device;
    std::string mountPoint;
    std::string type;
    std::string options;
    bool operator==(const MountEntry&) const = default;
};

// The entries of a mount table in file order; lines with fewer than four fields or a
// relative mount point are skipped.
std::vector<MountEntry> ParseMountTable(std::string_view text);

// True when the comma-separated mount options hold "ro" itself.
bool HasReadOnlyOption(std::string_view options);

// The volumes behind the letters, C: first. C: is always "/" so that a system without a
// readable mount table still shows its root; the rest are the writable local disks that this
// user can query (`reachable`, asked only about those), in mount point order, one per device,
// at most one per remaining letter.
std::vector<MountEntry> MapDriveLetters(const std::vector<MountEntry>& table,
                                        const std::function<bool(const MountEntry&)>& reachable);

// Whether a statfs at `mountPoint` is answered from what the kernel holds in memory, so that
// it cannot hang, per `table`: the volume there is of a filesystem that keeps its free space
// counted (ext4, xfs, btrfs, ...; not vfat or udf, which may read the disk to count it, nor
// FUSE, whose daemon may never answer), and no volume on the way there is a FUSE or network
// filesystem (a lookup through it may wait on its daemon or server).
bool AnswersFromMemory(const std::vector<MountEntry>& table, std::string_view mountPoint);

// For each of the `letters` that MapDriveLetters gave at start, whether `table`, a mount table
// read later, still has its volume where the letter looks: the top mount at its mount point is
// on the same device, or on another that `sameVolume(letter index, top mount)` recognises as
// the letter's filesystem (a stick back as sdc1 instead of sdb1), asked only while the letter's
// own device is not mounted beneath. A letter whose device was unknown at start always counts.
std::vector<bool> StillMounted(
    const std::vector<MountEntry>& letters, const std::vector<MountEntry>& table,
    const std::function<bool(std::size_t, const MountEntry&)>& sameVolume);

}  // namespace kelvane
