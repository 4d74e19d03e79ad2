// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#include <windows.h>

#include <cstdint>
#include <limits>

#include "platform/windows/platform_windows.h"

namespace kelvane {
namespace {

class GlobalMemoryStatus final : public MemoryStatusSource {
  public:
    bool Read(MemoryStatus& out) override {
        MEMORYSTATUSEX status{};
        status.dwLength = sizeof status;
        constexpr auto kLargest = static_cast<DWORDLONG>(std::numeric_limits<std::int64_t>::max());
        if (!::GlobalMemoryStatusEx(&status) || status.ullTotalPhys > kLargest ||
            status.ullAvailPhys > kLargest) {
            return false;
        }
        out = {static_cast<std::int64_t>(status.ullTotalPhys),
               static_cast<std::int64_t>(status.ullAvailPhys)};
        return true;
    }
};

}  // namespace

std::unique_ptr<MemoryStatusSource> MakeSystemMemoryStatus() {
    return std::make_unique<GlobalMemoryStatus>();
}

}  // namespace kelvane
