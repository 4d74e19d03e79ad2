// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#include "platform/windows/wide_text.h"

#include <windows.h>

#include <climits>

namespace kelvane {

std::wstring Wide(std::string_view utf8) {
    if (utf8.empty() || utf8.size() > INT_MAX) {
        return {};
    }
    const int size = static_cast<int>(utf8.size());
    std::wstring text(
        static_cast<std::size_t>(::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0)),
        L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, text.data(),
                          static_cast<int>(text.size()));
    return text;
}

std::optional<std::string> Utf8(std::wstring_view utf16) {
    if (utf16.empty()) {
        return std::string();
    }
    if (utf16.size() > INT_MAX / 4) {
        return std::nullopt;
    }
    const int size = static_cast<int>(utf16.size());
    const int n = ::WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, utf16.data(), size, nullptr,
                                        0, nullptr, nullptr);
    if (n <= 0) {
        return std::nullopt;
    }
    std::string text(static_cast<std::size_t>(n), '\0');
    ::WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, utf16.data(), size, text.data(), n,
                          nullptr, nullptr);
    return text;
}

}  // namespace kelvane
