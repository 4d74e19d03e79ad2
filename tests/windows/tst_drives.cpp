// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

// The drive letters, asked by helpers that are this test's own executable answering with
// stand-in volumes: one character per letter from C: in KELVANE_TEST_DRIVES, f fixed,
// m removable, n network, a RAM disk, o optical, - none, r read-only, u not ready, x a failing
// space query, s stuck from its first question on, h stuck after three answers of 42 bytes
// free, p the process that asked as its free space. Any other volume gives the time of its
// answer as its free space, so that answers that go on show it.

#define DOCTEST_CONFIG_IMPLEMENT
#include <doctest/doctest.h>
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/windows/drive_queries.h"
#include "platform/windows/platform_windows.h"

using namespace kelvane;

namespace {

char Kind(LPCWSTR root) {
    // Read anew: the letter Windows runs from is asked in the test's own process, whose C
    // library does not see what SetEnvironmentVariable changed.
    char drives[DriveQueries::kLetters + 1] = {};
    ::GetEnvironmentVariableA("KELVANE_TEST_DRIVES", drives, sizeof drives);
    const auto letter = static_cast<std::size_t>(root[0] - L'C');
    return letter < std::strlen(drives) ? drives[letter] : '-';
}

UINT WINAPI DriveType(LPCWSTR root) {
    constexpr char kKinds[] = "mnao-";
    constexpr UINT kTypes[] = {DRIVE_REMOVABLE, DRIVE_REMOTE, DRIVE_RAMDISK, DRIVE_CDROM,
                               DRIVE_NO_ROOT_DIR};
    if (Kind(root) == 's') {
        ::Sleep(INFINITE);
    }
    const char* kind = std::strchr(kKinds, Kind(root));
    return kind != nullptr ? kTypes[kind - kKinds] : DRIVE_FIXED;
}

BOOL WINAPI VolumeInformation(LPCWSTR root, LPWSTR, DWORD, LPDWORD, LPDWORD, LPDWORD flags, LPWSTR,
                              DWORD) {
    if (Kind(root) == 'u') {
        ::SetLastError(ERROR_NOT_READY);
        return FALSE;
    }
    *flags = FILE_CASE_PRESERVED_NAMES | (Kind(root) == 'r' ? FILE_READ_ONLY_VOLUME : 0);
    return TRUE;
}

BOOL WINAPI FreeSpace(LPCWSTR root, PULARGE_INTEGER freeToCaller, PULARGE_INTEGER total,
                      PULARGE_INTEGER) {
    static int answers[DriveQueries::kLetters];
    if (Kind(root) == 's' || (Kind(root) == 'h' && answers[root[0] - L'C']++ >= 3)) {
        ::Sleep(INFINITE);
    }
    if (Kind(root) == 'x') {
        ::SetLastError(ERROR_NETNAME_DELETED);
        return FALSE;
    }
    freeToCaller->QuadPart = Kind(root) == 'h'   ? 42
                             : Kind(root) == 'p' ? ::GetCurrentProcessId()
                                                 : ::GetTickCount64();
    total->QuadPart = 1ull << 50;
    return TRUE;
}

std::unique_ptr<VolumeSource> Volumes(const char* drives) {
    ::SetEnvironmentVariableA("KELVANE_TEST_DRIVES", drives);
    return MakeDriveLetters({DriveType, VolumeInformation, FreeSpace});
}

template <typename Condition>
bool WaitFor(Condition condition) {
    for (const ULONGLONG until = ::GetTickCount64() + 60'000; ::GetTickCount64() < until;) {
        if (condition()) {
            return true;
        }
        ::Sleep(10);
    }
    return false;
}

// C: and E: answer, D: is in trouble, and the answers of C: and E: go on for a second past
// the start, several times what counts as stuck.
bool TroubleOnD(VolumeSource& volumes) {
    VolumeSpace c;
    VolumeSpace d;
    VolumeSpace e;
    std::int64_t start = 0;
    return WaitFor([&] {
        volumes.FreeSpace(1, d);
        const bool answered = volumes.FreeSpace(0, c) == SpaceAnswer::kSpace &&
                              volumes.FreeSpace(2, e) == SpaceAnswer::kSpace;
        start = start == 0 && answered ? c.freeBytes : start;
        return answered && c.freeBytes > start + 1000 && e.freeBytes > start + 1000;
    });
}

}  // namespace

TEST_CASE("the probe passes writable disks and fails the letter that ends the run of drives") {
    struct Row {
        std::string behaviour;
        const char* drives;
        int found;
    };
    const std::vector<Row> rows = {
        {"fixed, removable, network and RAM disks pass; a letter with none ends", "fmna-f", 4},
        {"an optical drive ends the run", "fof", 1},
        {"a read-only volume ends the run", "frf", 1},
        {"a drive that is not ready ends the run", "fuf", 1},
        {"a volume whose space cannot be asked ends the run", "fxf", 1},
        {"a volume that never answers ends the run, soon", "fsf", 1},
    };
    for (const Row& row : rows) {
        INFO(row.behaviour);
        auto volumes = Volumes(row.drives);
        int found = 0;
        while (found < DriveQueries::kLetters && volumes->Probe(found)) {
            ++found;
        }
        CHECK(found == row.found);
    }
}

TEST_CASE("a volume in trouble costs its own figure only") {
    struct Row {
        std::string behaviour;
        const char* drives;
        SpaceAnswer answer;
    };
    const std::vector<Row> rows = {
        {"a volume that never answers is not known yet", "fsf", SpaceAnswer::kNotYet},
        {"a volume that stops answering keeps its last figure", "fhf", SpaceAnswer::kSpace},
        {"a volume whose query fails says so", "fxf", SpaceAnswer::kFailed},
    };
    for (const Row& row : rows) {
        INFO(row.behaviour);
        auto volumes = Volumes(row.drives);
        REQUIRE(TroubleOnD(*volumes));
        VolumeSpace d;
        CHECK(volumes->FreeSpace(1, d) == row.answer);
        CHECK(d.freeBytes == (row.answer == SpaceAnswer::kSpace ? 42 : 0));
    }
}

TEST_CASE("the letter Windows runs from is asked by the gauge, the others by a helper") {
    auto volumes = Volumes("pp");  // C:, where Wine keeps its Windows folder, and D:
    VolumeSpace c;
    VolumeSpace d;
    CHECK(volumes->FreeSpace(0, c) == SpaceAnswer::kSpace);
    CHECK(c.freeBytes == ::GetCurrentProcessId());
    REQUIRE(WaitFor([&] { return volumes->FreeSpace(1, d) == SpaceAnswer::kSpace; }));
    CHECK(d.freeBytes != ::GetCurrentProcessId());
}

int main(int argc, char** argv) {
    if (const std::optional<int> status =
            ServeDriveQuestions({DriveType, VolumeInformation, FreeSpace})) {
        return *status;
    }
    return doctest::Context(argc, argv).run();
}
