// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#include "parsers/meminfo.h"

#include <cstdint>
#include <limits>

namespace kelvane {
namespace {

enum Field { kTotal, kAvailable, kFree, kBuffers, kCached, kFieldCount };

constexpr std::string_view kNames[kFieldCount] = {"MemTotal", "MemAvailable", "MemFree", "Buffers",
                                                  "Cached"};

// "   123456 kB" -> bytes; nullopt when malformed or too large.
std::optional<std::int64_t> ParseKilobytes(std::string_view rest) {
    std::size_t i = 0;
    while (i < rest.size() && rest[i] == ' ') {
        ++i;
    }
    const std::size_t first = i;
    std::int64_t kb = 0;
    constexpr std::int64_t kMaxKb = std::numeric_limits<std::int64_t>::max() / 1024;
    while (i < rest.size() && rest[i] >= '0' && rest[i] <= '9') {
        kb = kb * 10 + (rest[i] - '0');
        if (kb > kMaxKb) {
            return std::nullopt;
        }
        ++i;
    }
    if (i == first || rest.substr(i) != " kB") {
        return std::nullopt;
    }
    return kb * 1024;
}

}  // namespace

std::optional<MemoryStatus> ParseMeminfo(std::string_view text) {
    std::optional<std::int64_t> values[kFieldCount];
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) {
            break;  // an incomplete last line
        }
        const std::string_view line = text.substr(pos, end - pos);
        pos = end + 1;
        const std::size_t colon = line.find(':');
        if (colon == std::string_view::npos) {
            continue;
        }
        const std::string_view name = line.substr(0, colon);
        for (int f = 0; f < kFieldCount; ++f) {
            if (name == kNames[f] && !values[f]) {
                values[f] = ParseKilobytes(line.substr(colon + 1));
            }
        }
        // The first line that completes the figures settles them, so that a read cut short
        // anywhere after it gives the same figures as the whole text. The kernel writes
        // MemAvailable before Buffers and Cached: a text that gave those without it has none.
        if (!values[kTotal]) {
            continue;
        }
        MemoryStatus status;
        status.totalPhys = *values[kTotal];
        if (values[kAvailable]) {
            status.availPhys = *values[kAvailable];
            return status;
        }
        if (values[kFree] && values[kBuffers] && values[kCached]) {
            if (__builtin_add_overflow(*values[kFree], *values[kBuffers], &status.availPhys) ||
                __builtin_add_overflow(status.availPhys, *values[kCached], &status.availPhys)) {
                return std::nullopt;
            }
            return status;
        }
    }
    return std::nullopt;
}

}  // namespace kelvane
