// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#include <windows.h>

#include <optional>
#include <string>

#include "platform/windows/platform_windows.h"
#include "platform/windows/wide_text.h"

namespace kelvane {

// The user's own choice in the regional settings, which may differ from their language's.
std::string DecimalPoint() {
    wchar_t point[8] = {};
    if (::GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, point, 8) <= 1) {
        return ".";
    }
    return Utf8(point).value_or(".");
}

}  // namespace kelvane
