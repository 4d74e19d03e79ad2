// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

// Fuzz targets of the parsers that read outside text, one per executable (FUZZ_TARGET picks
// it): the stored setting number, /proc/meminfo and the mount table. Each checks properties
// that hold for every input; without libFuzzer, main() replays a corpus as a test.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "parsers/meminfo.h"
#include "parsers/mount_table.h"
#include "parsers/setting_number.h"
#include "rules/counts.h"

// A broken property names itself and aborts, so that libFuzzer keeps the input.
#define FUZZ_CHECK(condition)                                                                     \
    do {                                                                                          \
        if (!(condition)) {                                                                       \
            std::fprintf(stderr, "%s:%d: property broken: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                         \
        }                                                                                         \
    } while (0)

using namespace kelvane;

namespace {

// The first byte picks the member's range and the locale's separator; the rest is the text.
void SettingNumber(std::string_view in) {
    constexpr std::int64_t kRanges[][2] = {{0, 255}, {-32768, 32767}, {-2147483648LL, 2147483647}};
    constexpr std::string_view kPoints[] = {".", ",", "\xd9\xab"};
    const auto [min, max] = kRanges[static_cast<unsigned char>(in[0]) % 3];
    const std::string_view point = kPoints[(static_cast<unsigned char>(in[0]) / 3) % 3];
    const std::string_view text = in.substr(1);
    const auto value = ParseSettingNumber(text, min, max, point);
    FUZZ_CHECK(!value || (*value >= min && *value <= max));
    FUZZ_CHECK(!value || ParseSettingNumber(std::to_string(*value), min, max) == value);
    FUZZ_CHECK(ParseSettingNumber(" \t" + std::string(text) + "\t ", min, max, point) == value);
    // Another reading: the form checked by counting, converted by strtod, rounded
    // half to even by the FPU; exact up to 15 digits.
    const std::size_t first = std::min(text.find_first_not_of(" \t"), text.size());
    const std::string_view trimmed = text.substr(first, text.find_last_not_of(" \t") + 1 - first);
    const std::size_t at = point == "." ? std::string_view::npos : trimmed.find(point);
    const std::string plain = at == std::string_view::npos
                                  ? std::string(trimmed)
                                  : std::string(trimmed.substr(0, at)) + "." +
                                        std::string(trimmed.substr(at + point.size()));
    // Of the accepted form: a sign, then digits with at most one point among them.
    const std::string_view body =
        std::string_view(plain).substr(plain.find_first_not_of("+-") == 1);
    const auto digits =
        std::count_if(body.begin(), body.end(), [](char c) { return c >= '0' && c <= '9'; });
    const auto points = std::count(body.begin(), body.end(), '.');
    if (digits == 0 || points > 1 || std::size_t(digits + points) != body.size()) {
        FUZZ_CHECK(!value);
    } else if (digits <= 15) {
        const double expected = std::nearbyint(std::strtod(plain.c_str(), nullptr));
        FUZZ_CHECK(value.has_value() == (expected >= double(min) && expected <= double(max)));
        FUZZ_CHECK(!value || double(*value) == expected);
    }
}

// Whole kilobytes, never negative; a text cut short at any line or at a byte the input picks
// reads as nothing or as the whole text does, never as another figure.
void Meminfo(std::string_view text) {
    const auto whole = ParseMeminfo(text);
    FUZZ_CHECK(!whole || (whole->totalPhys >= 0 && whole->totalPhys % 1024 == 0 &&
                          whole->availPhys >= 0 && whole->availPhys % 1024 == 0));
    for (std::size_t end = 0; end <= text.size(); ++end) {
        if (end == text.size() || text[end] == '\n' || end == static_cast<unsigned char>(text[0])) {
            const auto cut = ParseMeminfo(text.substr(0, end));
            FUZZ_CHECK(!cut || (whole && cut->totalPhys == whole->totalPhys &&
                                cut->availPhys == whole->availPhys));
        }
    }
}

std::string Escaped(const std::string& field) {
    std::string out;
    for (const char c : field) {
        out += c == ' '    ? "\\040"
               : c == '\t' ? "\\011"
               : c == '\n' ? "\\012"
               : c == '\\' ? "\\134"
                           : std::string(1, c);
    }
    return out;
}

// The entries, written again as the kernel would, read back the same; the letters: C: is "/",
// then one per device, writable and reachable (here: an odd-length mount point), in mount
// point order, each the last mount at its path.
void MountTable(std::string_view text) {
    const std::vector<MountEntry> table = ParseMountTable(text);
    std::string again;
    for (const MountEntry& e : table) {
        FUZZ_CHECK(e.mountPoint.starts_with('/'));
        again += Escaped(e.device) + ' ' + Escaped(e.mountPoint) + ' ' + e.type + ' ' + e.options +
                 " 0 0\n";
    }
    FUZZ_CHECK(ParseMountTable(again) == table);
    const auto reachable = [](const MountEntry& e) { return e.mountPoint.size() % 2 == 1; };
    const std::vector<MountEntry> letters = MapDriveLetters(table, reachable);
    FUZZ_CHECK(!letters.empty() && letters.size() <= kDriveLetters && letters[0].mountPoint == "/");
    for (std::size_t i = 1; i < letters.size(); ++i) {
        FUZZ_CHECK(!HasReadOnlyOption(letters[i].options) && reachable(letters[i]));
        FUZZ_CHECK(i == 1 || letters[i - 1].mountPoint < letters[i].mountPoint);
        for (std::size_t j = 0; j < i; ++j) {
            FUZZ_CHECK(letters[j].device != letters[i].device);
        }
        const auto top = std::find_if(table.rbegin(), table.rend(), [&](const MountEntry& t) {
            return t.mountPoint == letters[i].mountPoint;
        });
        FUZZ_CHECK(top != table.rend() && *top == letters[i]);
        // Nothing mounted later on a folder above it but the root hides it.
        for (auto later = top.base(); later != table.end(); ++later) {
            FUZZ_CHECK(later->mountPoint == "/" ||
                       !letters[i].mountPoint.starts_with(later->mountPoint + '/'));
        }
    }
    FUZZ_CHECK(MapDriveLetters(letters, reachable) == letters);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (!text.empty()) {
        void (*const targets[])(std::string_view) = {SettingNumber, Meminfo, MountTable};
        targets[FUZZ_TARGET](text);
    }
    return 0;
}

#ifndef KELVANE_LIBFUZZER
// Replays every file of the folders given, naming each before it runs.
int main(int argc, char* argv[]) {
    int inputs = 0;
    for (int i = 1; i < argc; ++i) {
        for (const auto& entry : std::filesystem::directory_iterator(argv[i])) {
            std::ifstream file(entry.path(), std::ios::binary);
            const std::string bytes{std::istreambuf_iterator<char>(file), {}};
            std::printf("%s\n", entry.path().c_str());
            std::fflush(stdout);
            LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                   bytes.size());
            ++inputs;
        }
    }
    std::printf("%d inputs replayed\n", inputs);
    return inputs > 0 ? 0 : 1;
}
#endif
