// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#pragma once

// The gauge's text is UTF-8; Windows speaks UTF-16.

#include <optional>
#include <string>
#include <string_view>

namespace kelvane {

// Bytes that are not UTF-8 become U+FFFD.
std::wstring Wide(std::string_view utf8);
// Nothing for UTF-16 that names no characters (a lone surrogate).
std::optional<std::string> Utf8(std::wstring_view utf16);

}  // namespace kelvane
