// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

// The gauge's drives and nothing else, for stuck_volume.sh: the probe from C: as the gauge
// runs it, then the letters named on the command line read every 10 ms, each change of their
// answer said on stdout, until the file named first exists.
// Usage: drive_watch.exe QUIT-FILE LETTER...

#include <windows.h>

#include <cstdio>
#include <cwctype>
#include <string>
#include <vector>

#include "platform/windows/platform_windows.h"

using namespace kelvane;

int wmain(int argc, wchar_t** argv) {
    if (const std::optional<int> status = ServeDriveQuestionsIfAsked()) {
        return *status;
    }
    if (argc < 3) {
        return 2;
    }
    const auto volumes = MakeSystemVolumes();
    int found = 0;
    while (found < 24 && volumes->Probe(found)) {
        ++found;
    }
    std::printf("found %d\n", found);
    std::vector<std::string> said(static_cast<std::size_t>(argc));
    while (::GetFileAttributesW(argv[1]) == INVALID_FILE_ATTRIBUTES) {
        for (int i = 2; i < argc; ++i) {
            const int letter = static_cast<int>(std::towupper(argv[i][0])) - L'C';
            VolumeSpace space;
            const SpaceAnswer answer = volumes->FreeSpace(letter, space);
            std::string text = answer == SpaceAnswer::kSpace
                                   ? "space " + std::to_string(space.freeBytes)
                               : answer == SpaceAnswer::kNotYet ? "not yet"
                                                                : "failed";
            if (text != said[static_cast<std::size_t>(i)]) {
                std::printf("%c: %s\n", 'C' + letter, text.c_str());
                said[static_cast<std::size_t>(i)] = std::move(text);
            }
        }
        std::fflush(stdout);
        ::Sleep(10);
    }
    std::printf("leaving\n");
    std::fflush(stdout);
    return 0;
}
