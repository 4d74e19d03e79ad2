// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#include "parsers/setting_number.h"

namespace kelvane {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

std::optional<std::int64_t> ParseSettingNumber(std::string_view text, std::int64_t min,
                                               std::int64_t max,
                                               std::string_view localeDecimalPoint) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }

    // Whole part; anything past 10^15 is out of every range we read, so stop counting there.
    constexpr std::int64_t kTooLarge = 1'000'000'000'000'000;
    std::int64_t whole = 0;
    bool anyDigit = false;
    while (!text.empty() && IsDigit(text.front())) {
        anyDigit = true;
        if (whole < kTooLarge) {
            whole = whole * 10 + (text.front() - '0');
        }
        text.remove_prefix(1);
    }

    // Fraction: only how it compares with one half matters.
    int half = -1;  // -1 below a half, 0 exactly a half, 1 above
    if (!text.empty()) {
        if (text.front() == '.') {
            text.remove_prefix(1);
        } else if (!localeDecimalPoint.empty() && text.starts_with(localeDecimalPoint)) {
            text.remove_prefix(localeDecimalPoint.size());
        } else {
            return std::nullopt;
        }
        bool first = true;
        bool restNonZero = false;
        int firstDigit = 0;
        while (!text.empty() && IsDigit(text.front())) {
            anyDigit = true;
            if (first) {
                firstDigit = text.front() - '0';
                first = false;
            } else if (text.front() != '0') {
                restNonZero = true;
            }
            text.remove_prefix(1);
        }
        if (!text.empty()) {
            return std::nullopt;
        }
        if (firstDigit > 5 || (firstDigit == 5 && restNonZero)) {
            half = 1;
        } else if (firstDigit == 5) {
            half = 0;
        }
    }
    if (!anyDigit) {
        return std::nullopt;
    }
    if (half > 0 || (half == 0 && whole % 2 == 1)) {
        ++whole;
    }
    const std::int64_t value = negative ? -whole : whole;
    if (value < min || value > max) {
        return std::nullopt;
    }
    return value;
}

}  // namespace kelvane
