// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#pragma once

// The text of an INI file, as the settings file holds it.

#include <string>
#include <string_view>
#include <vector>

namespace kelvane {

// One "key=value" line and the "[section]" it stands under.
struct IniEntry {
    std::string section;
    std::string key;
    std::string value;
    bool operator==(const IniEntry&) const = default;
};

// The entries of an INI text in file order. Key and value are trimmed of blanks, and a value
// in double quotes is taken without them (which is how blanks at its ends are kept). Comments
// and every line that is neither a section nor an entry are passed over, so a damaged line
// costs only itself.
std::vector<IniEntry> ParseIni(std::string_view text);

// The value of the last entry of `section` and `key`, or nullptr.
const std::string* FindIni(const std::vector<IniEntry>& entries, std::string_view section,
                           std::string_view key);

// Sets `section` and `key` to `value`: the first such entry takes it and later ones go, or a
// new entry is added.
void SetIni(std::vector<IniEntry>& entries, const IniEntry& entry);

// The entries as INI text: each section once, in the order sections first appear, each entry
// on its own line. ParseIni reads back what FormatIni writes.
std::string FormatIni(const std::vector<IniEntry>& entries);

}  // namespace kelvane
