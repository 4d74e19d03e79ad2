// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#pragma once

// Questions to drive letters, asked where a volume that never answers cannot hold the gauge.
//
// GetDiskFreeSpaceExW on a network share whose server has gone, a card reader without a card
// or an optical drive spinning up waits as long as the volume takes; under Wine, on a letter
// mapped to a FUSE mount that stopped answering, it waits for ever in a thread that cannot be
// ended, and keeps the whole process alive after its window has gone. So the questions are
// asked by helper processes, the gauge's own executable started with a private argument, over
// memory shared with the gauge: the gauge reads the latest answers without a system call, a
// helper that is stuck is left behind (it ends as soon as its question returns) and the other
// letters go on in a new one. The helpers are in a job that ends them with the gauge.
// One letter is asked by the gauge itself, each time it is read: the one Windows runs from.
// A question to that volume answers as long as the system does, and costs a call where a
// helper would cost a process woken a hundred times a second.
// (Under Wine, Windows' calls would have Wine's server ask a volume it has not met yet, which
// a volume that never answers stops for the whole session: there the helpers ask on the Linux
// side, see wine_volumes.h.)

#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>

namespace kelvane {

// What a helper asks of Windows; tests replace them with stand-ins that hang or fail as a
// volume can.
struct DriveCalls {
    UINT(WINAPI* driveType)(LPCWSTR root) = ::GetDriveTypeW;
    BOOL(WINAPI* volumeInformation)
    (LPCWSTR root, LPWSTR name, DWORD nameSize, LPDWORD serial, LPDWORD longestName, LPDWORD flags,
     LPWSTR fileSystem, DWORD fileSystemSize) = ::GetVolumeInformationW;
    BOOL(WINAPI* freeSpace)
    (LPCWSTR root, PULARGE_INTEGER freeToCaller, PULARGE_INTEGER total,
     PULARGE_INTEGER free) = ::GetDiskFreeSpaceExW;
};

// One answer about a letter.
struct DriveFacts {
    DWORD error = 0;  // GetLastError of the call that failed; 0 when each answered
    // Whether the answer carries the probe's facts, the drive type and the volume's flags;
    // the others carry the space only.
    bool probed = false;
    UINT driveType = DRIVE_UNKNOWN;
    DWORD volumeFlags = 0;
    std::uint64_t freeToCaller = 0;
    std::uint64_t total = 0;
};

// Answers the questions of the gauge that started this process as its helper, with `calls`.
// Nothing when this process is no helper.
std::optional<int> ServeDriveQuestions(const DriveCalls& calls);

class VolumeSource;
// The letters C: to Z: as the gauge reads them, asked with `calls`: the system's own volumes
// are MakeSystemVolumes(); tests give stand-ins that hang or fail as a volume can (the helpers
// must then be given the same ones).
std::unique_ptr<VolumeSource> MakeDriveLetters(const DriveCalls& calls);

class DriveQueries {
  public:
    static constexpr int kLetters = 24;  // C: to Z:
    // At most this many helpers at once: each one stuck for good holds one.
    static constexpr int kHelpers = 16;

    // `calls` answer about the letter Windows runs from, in the gauge's own thread; the
    // helpers answer with what ServeDriveQuestions was given.
    explicit DriveQueries(const DriveCalls& calls = {});
    ~DriveQueries();
    DriveQueries(const DriveQueries&) = delete;
    DriveQueries& operator=(const DriveQueries&) = delete;

    // The latest answer about the letter, without waiting, and the letter kept fresh: while
    // it is read, it is asked again about every 10 ms. Nothing before its first answer.
    std::optional<DriveFacts> Latest(int letter);
    // The probe's facts about the letter, waited for while the question is not stuck: nothing
    // when it is, or when no helper could be started to ask it.
    std::optional<DriveFacts> Probe(int letter);

    struct Board;

  private:
    struct Helper {
        HANDLE process = nullptr;
        HANDLE wake = nullptr;
    };
    int Current(ULONGLONG now);
    bool Start(int helper, ULONGLONG now);
    void Watch(ULONGLONG now);
    void Wake(int helper);
    bool Ended(int helper);
    void Forget(int helper);

    const DriveCalls calls_;
    const int systemLetter_;  // -1 where the Windows folder is on no drive letter
    Board* board_ = nullptr;
    HANDLE section_ = nullptr;
    HANDLE answered_ = nullptr;  // set by a helper after an answer while the gauge waits
    HANDLE gauge_ = nullptr;     // this process, for the helpers to watch
    HANDLE job_ = nullptr;
    Helper helpers_[kHelpers];
    int current_ = -1;
    bool unsettled_ = false;  // letters may wait to be handed on, helpers to be collected
    ULONGLONG nextStart_ = 0;
    ULONGLONG lastProgress_ = 0;
    std::uint64_t lastRounds_ = 0;
};

}  // namespace kelvane
