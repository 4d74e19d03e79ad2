// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#include "rules/number_text.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

namespace kelvane {

double RoundHalfEven(double value) {
    const double down = std::floor(value);
    const double diff = value - down;
    if (diff < 0.5) {
        return down;
    }
    if (diff > 0.5) {
        return down + 1.0;
    }
    return std::fmod(down, 2.0) == 0.0 ? down : down + 1.0;
}

void CaptionText::Append(std::string_view text) {
    const auto room = static_cast<std::size_t>(kCapacity - size_);
    const std::size_t n = text.size() < room ? text.size() : room;
    std::memcpy(data_ + size_, text.data(), n);
    size_ += static_cast<int>(n);
}

void CaptionText::AppendInteger(std::int64_t value) {
    char digits[24];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    Append({digits, static_cast<std::size_t>(result.ptr - digits)});
}

void CaptionText::AppendFloating(double value, std::string_view decimalPoint) {
    char digits[48];
    std::to_chars_result result{};
    // Beyond 15 digits the general format would switch to an exponent; such values are whole.
    if (std::fabs(value) < 1e15) {
        result =
            std::to_chars(digits, digits + sizeof digits, value, std::chars_format::general, 15);
    } else {
        result = std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed, 0);
    }
    if (result.ec != std::errc{}) {
        return;
    }
    const std::string_view text(digits, static_cast<std::size_t>(result.ptr - digits));
    const auto dot = text.find('.');
    if (dot == std::string_view::npos) {
        Append(text);
        return;
    }
    Append(text.substr(0, dot));
    Append(decimalPoint);
    Append(text.substr(dot + 1));
}

void CaptionText::AppendWhole(double value) {
    constexpr double kLimit = 9.2e18;  // inside the 64-bit range
    if (!(value > -kLimit && value < kLimit)) {
        return;
    }
    AppendInteger(static_cast<std::int64_t>(value));
}

}  // namespace kelvane
