// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace kelvane {

// Reads a stored setting: optional blanks, an optional sign, decimal digits with an optional
// fraction after "." or the locale's separator, optional blanks. A fraction rounds to the
// nearest integer, an exact half to the even one. Anything else, or a result outside
// [min, max], gives nothing. Exact for any length of text: no floating point is involved.
std::optional<std::int64_t> ParseSettingNumber(std::string_view text, std::int64_t min,
                                               std::int64_t max,
                                               std::string_view localeDecimalPoint = ".");

}  // namespace kelvane
