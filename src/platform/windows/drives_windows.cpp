// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

// Drive letters on Windows: the letters are the ones that named a volume at start, as on
// Linux; each but the system's own is asked by the helpers (drive_queries.h), so a volume that
// does not answer costs its own figure only.

#include <cstdint>
#include <limits>

#include "platform/windows/drive_queries.h"
#include "platform/windows/platform_windows.h"
#include "platform/windows/wine_volumes.h"

namespace kelvane {
namespace {

class HelperDrives final : public VolumeSource {
  public:
    // The letters in use, from the system's own list: asking for it touches no volume.
    explicit HelperDrives(const DriveCalls& calls)
        : letters_(::GetLogicalDrives() >> 2), queries_(calls) {}

    // A letter that does not answer soon fails the probe, and so ends the run of drives.
    bool Probe(int letter) override {
        const std::optional<DriveFacts> facts = queries_.Probe(letter);
        return facts && facts->error == 0 && (facts->volumeFlags & FILE_READ_ONLY_VOLUME) == 0;
    }

    SpaceAnswer FreeSpace(int letter, VolumeSpace& out) override {
        if (letter < 0 || letter >= DriveQueries::kLetters) {
            return SpaceAnswer::kFailed;
        }
        const std::optional<DriveFacts> facts = queries_.Latest(letter);
        if (!facts) {
            return SpaceAnswer::kNotYet;
        }
        constexpr auto kLargest =
            static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());
        if (facts->error != 0 || facts->freeToCaller > kLargest || facts->total > kLargest) {
            return SpaceAnswer::kFailed;
        }
        out = {static_cast<std::int64_t>(facts->freeToCaller),
               static_cast<std::int64_t>(facts->total)};
        return SpaceAnswer::kSpace;
    }

    std::string MountPoint(int letter) const override {
        if (letter < 0 || letter >= DriveQueries::kLetters || ((letters_ >> letter) & 1) == 0) {
            return {};
        }
        return {static_cast<char>('C' + letter), ':', '\\'};
    }

  private:
    const DWORD letters_;  // bit 0: C:
    DriveQueries queries_;
};

// Under Wine, the volumes are asked on the Linux side (wine_volumes.h).
DriveCalls SystemDriveCalls() {
    return WineDriveCalls().value_or(DriveCalls{});
}

}  // namespace

std::unique_ptr<VolumeSource> MakeDriveLetters(const DriveCalls& calls) {
    return std::make_unique<HelperDrives>(calls);
}

std::unique_ptr<VolumeSource> MakeSystemVolumes() {
    return MakeDriveLetters(SystemDriveCalls());
}

std::optional<int> ServeDriveQuestionsIfAsked() {
    return ServeDriveQuestions(SystemDriveCalls());
}

}  // namespace kelvane
