// A mount table's text to entries and on to drive letters.

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "rules/sections.h"
#include "fuzz_check.h"
#include "platform/mount_table.h"

using kelvane::MountEntry;

namespace {

bool Same(const MountEntry& a, const MountEntry& b) {
    return a.device == b.device && a.mountPoint == b.mountPoint && a.type == b.type &&
           a.options == b.options;
}

bool Same(const std::vector<MountEntry>& a, const std::vector<MountEntry>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](const MountEntry& x, const MountEntry& y) { return Same(x, y); });
}

// Written the way the kernel writes a field: space, tab, newline and backslash as octal.
std::string Escaped(const std::string& field) {
    std::string out;
    for (const char c : field) {
        switch (c) {
            case ' ':
                out += "\\040";
                break;
            case '\t':
                out += "\\011";
                break;
            case '\n':
                out += "\\012";
                break;
            case '\\':
                out += "\\134";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::string TableText(const std::vector<MountEntry>& table) {
    std::string text;
    for (const MountEntry& e : table) {
        text += Escaped(e.device) + ' ' + Escaped(e.mountPoint) + ' ' + e.type + ' ' + e.options +
                " 0 0\n";
    }
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::vector<MountEntry> table = kelvane::ParseMountTable(text);
    for (const MountEntry& e : table) {
        FUZZ_CHECK(e.mountPoint.starts_with('/'));
    }
    // The entries, written out again as the kernel would, read back the same.
    FUZZ_CHECK(Same(kelvane::ParseMountTable(TableText(table)), table));

    const std::vector<MountEntry> letters = kelvane::MapDriveLetters(table);
    FUZZ_CHECK(!letters.empty() &&
               letters.size() <= static_cast<std::size_t>(kelvane::kDriveLetters));
    FUZZ_CHECK(letters[0].mountPoint == "/");
    for (std::size_t i = 1; i < letters.size(); ++i) {
        const MountEntry& e = letters[i];
        FUZZ_CHECK(!kelvane::HasReadOnlyOption(e.options));
        // One letter per device, and in mount point order so that letters keep from run to run.
        for (std::size_t j = 0; j < i; ++j) {
            FUZZ_CHECK(letters[j].device != e.device);
        }
        FUZZ_CHECK(i == 1 || letters[i - 1].mountPoint < e.mountPoint);
        // The volume a lookup at the path reaches: the last entry mounted there.
        const MountEntry* top = nullptr;
        for (const MountEntry& t : table) {
            if (t.mountPoint == e.mountPoint) {
                top = &t;
            }
        }
        FUZZ_CHECK(top != nullptr && Same(*top, e));
    }
    // The letters are a table of their own that maps to the same letters.
    FUZZ_CHECK(Same(kelvane::MapDriveLetters(letters), letters));
    return 0;
}
