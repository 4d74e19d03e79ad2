// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#pragma once

#include <optional>
#include <string_view>

#include "rules/figures.h"

namespace kelvane {

// Total and available physical memory from the text of /proc/meminfo. Available memory is
// "MemAvailable", or "MemFree" + "Buffers" + "Cached" on kernels that lack it. Only complete
// lines count, and the first line that completes the figures settles them, so a truncated
// read yields nothing or the same figures as the whole text, never a different figure.
std::optional<MemoryStatus> ParseMeminfo(std::string_view text);

}  // namespace kelvane
