// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#pragma once

#include <windows.h>

#include <array>
#include <string_view>

#include "rules/number_text.h"

namespace kelvane {

// A label's text as GDI's wide calls take it, converted into room kept for it: a figure may
// change on every tick, and its text is not to cost an allocation each time.
class WideText {
  public:
    // Empty when `utf8` is longer than a label holds.
    std::wstring_view Of(std::string_view utf8) {
        const int length =
            utf8.empty()
                ? 0
                : MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()),
                                      room_.data(), static_cast<int>(room_.size()));
        return {room_.data(), static_cast<std::size_t>(length)};
    }

  private:
    // A UTF-8 text has no more UTF-16 units than bytes.
    std::array<wchar_t, CaptionText::kCapacity> room_{};
};

}  // namespace kelvane
