// Stored setting text to a number: the first byte picks the member's width and the locale's
// decimal separator, the rest is the text as read from the settings file.

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "rules/setting_number.h"

using kelvane::ParseSettingNumber;

namespace {

struct Range {
    std::int64_t min;
    std::int64_t max;
};

constexpr Range kWidths[] = {
    {0, 255},
    {std::numeric_limits<std::int16_t>::min(), std::numeric_limits<std::int16_t>::max()},
    {std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()},
};
// "." and the separators of locales that write a comma or the Arabic decimal separator.
constexpr std::string_view kPoints[] = {".", ",", "\xd9\xab"};

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The same text read another way: checked by hand against the accepted form, then converted
// by strtod and rounded by the FPU (ties to even). Exact while there are at most 15 digits;
// nullopt when the text is not of the accepted form, an empty optional inside when the text
// is of the form but too long for this check.
std::optional<std::optional<double>> ReadByStrtod(std::string_view text, std::string_view point) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    std::string canonical;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        canonical += text.front();
        text.remove_prefix(1);
    }
    int digits = 0;
    while (!text.empty() && IsDigit(text.front())) {
        canonical += text.front();
        text.remove_prefix(1);
        ++digits;
    }
    if (text.starts_with('.') || text.starts_with(point)) {
        text.remove_prefix(text.starts_with('.') ? 1 : point.size());
        canonical += '.';
        while (!text.empty() && IsDigit(text.front())) {
            canonical += text.front();
            text.remove_prefix(1);
            ++digits;
        }
    }
    if (!text.empty() || digits == 0) {
        return std::nullopt;
    }
    if (digits > 15) {
        return std::optional<double>();
    }
    return std::nearbyint(std::strtod(canonical.c_str(), nullptr));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const Range range = kWidths[data[0] % 3];
    const std::string_view point = kPoints[(data[0] / 3) % 3];
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);

    const auto value = ParseSettingNumber(text, range.min, range.max, point);
    if (value) {
        FUZZ_CHECK(*value >= range.min && *value <= range.max);
        FUZZ_CHECK(ParseSettingNumber(std::to_string(*value), range.min, range.max) == value);
    }

    // Blanks around the text never change what it reads as.
    std::string padded = " \t";
    padded.append(text).append("\t ");
    FUZZ_CHECK(ParseSettingNumber(padded, range.min, range.max, point) == value);

    // A minus sign mirrors the value: halves round to even on both sides of zero.
    if (!text.empty() && (IsDigit(text.front()) || text.front() == '.')) {
        const std::int64_t m = range.max;
        const auto plus = ParseSettingNumber(text, -m, m, point);
        std::string negated = "-";
        negated.append(text);
        const auto minus = ParseSettingNumber(negated, -m, m, point);
        FUZZ_CHECK(plus.has_value() == minus.has_value());
        FUZZ_CHECK(!plus || *plus == -*minus);
    }

    const auto other = ReadByStrtod(text, point);
    if (!other) {
        FUZZ_CHECK(!value);
    } else if (*other) {
        const double expected = **other;
        const bool inRange = expected >= static_cast<double>(range.min) &&
                             expected <= static_cast<double>(range.max);
        FUZZ_CHECK(value.has_value() == inRange);
        FUZZ_CHECK(!value || static_cast<double>(*value) == expected);
    }
    return 0;
}
