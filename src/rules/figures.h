// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#pragma once

// The figures the operating system gives the gauge, as plain values.

#include <cstdint>

namespace kelvane {

// Physical memory in bytes.
struct MemoryStatus {
    std::int64_t totalPhys = 0;
    std::int64_t availPhys = 0;
};

// Space of one volume in bytes: `freeBytes` is what an unprivileged user may still write.
struct VolumeSpace {
    std::int64_t freeBytes = 0;
    std::int64_t totalBytes = 0;
};

}  // namespace kelvane
