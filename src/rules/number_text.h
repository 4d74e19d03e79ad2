// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#pragma once

#include <cstdint>
#include <string_view>

namespace kelvane {

// Nearest integer, an exact half going to the even neighbour (127.5 -> 128, 46.5 -> 46).
double RoundHalfEven(double value);

// A caption assembled in place: the refresh builds one per panel and tick, so it must not
// touch the heap. Holds UTF-8.
class CaptionText {
  public:
    static constexpr int kCapacity = 64;

    void Clear() { size_ = 0; }
    void Append(std::string_view text);
    // Decimal digits, a leading minus when negative, nothing else.
    void AppendInteger(std::int64_t value);
    // Up to 15 significant digits, a fraction only when the value is not whole, trailing
    // zeros left out, `decimalPoint` between the whole and the fractional digits.
    void AppendFloating(double value, std::string_view decimalPoint);
    // A whole value, written as an integer; nothing beyond the 64-bit range.
    void AppendWhole(double value);

    std::string_view View() const { return {data_, static_cast<std::size_t>(size_)}; }
    bool operator==(const CaptionText& other) const { return View() == other.View(); }

  private:
    char data_[kCapacity] = {};
    int size_ = 0;
};

}  // namespace kelvane
