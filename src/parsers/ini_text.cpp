// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#include "parsers/ini_text.h"

#include <algorithm>

namespace kelvane {
namespace {

constexpr std::string_view kBlanks = " \t\r";

std::string_view Trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

bool Quoted(std::string_view value) {
    return value.size() >= 2 && value.front() == '"' && value.back() == '"';
}

// A line can hold neither a line break nor a NUL in its key; a key with '=' or a section with
// ']' would read back as something else.
bool Writable(const IniEntry& e) {
    return !e.key.empty() && Trimmed(e.key) == e.key &&
           e.key.find_first_of(std::string_view("=[\n\0", 4)) == std::string::npos &&
           e.key.find_first_of(";#") != 0 &&
           e.section.find_first_of(std::string_view("]\n\0", 3)) == std::string::npos &&
           e.value.find('\n') == std::string::npos;
}

}  // namespace

std::vector<IniEntry> ParseIni(std::string_view text) {
    if (text.starts_with("\xef\xbb\xbf")) {
        text.remove_prefix(3);  // a byte-order mark from an editor
    }
    std::vector<IniEntry> entries;
    std::string section;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        const std::string_view line = Trimmed(text.substr(0, end));
        text.remove_prefix(std::min(end + 1, text.size()));
        if (line.starts_with('[') && line.ends_with(']')) {
            section = Trimmed(line.substr(1, line.size() - 2));
            continue;
        }
        const std::size_t equals = line.find('=');
        if (line.starts_with(';') || line.starts_with('#') || equals == std::string_view::npos) {
            continue;
        }
        const std::string_view key = Trimmed(line.substr(0, equals));
        std::string_view value = Trimmed(line.substr(equals + 1));
        if (Quoted(value)) {
            value = value.substr(1, value.size() - 2);
        }
        if (!key.empty()) {
            entries.push_back({section, std::string(key), std::string(value)});
        }
    }
    return entries;
}

const std::string* FindIni(const std::vector<IniEntry>& entries, std::string_view section,
                           std::string_view key) {
    const auto found = std::find_if(entries.rbegin(), entries.rend(), [&](const IniEntry& e) {
        return e.section == section && e.key == key;
    });
    return found == entries.rend() ? nullptr : &found->value;
}

void SetIni(std::vector<IniEntry>& entries, const IniEntry& entry) {
    const auto same = [&](const IniEntry& e) {
        return e.section == entry.section && e.key == entry.key;
    };
    const auto first = std::find_if(entries.begin(), entries.end(), same);
    if (first == entries.end()) {
        entries.push_back(entry);
        return;
    }
    first->value = entry.value;
    entries.erase(std::remove_if(first + 1, entries.end(), same), entries.end());
}

std::string FormatIni(const std::vector<IniEntry>& entries) {
    std::vector<std::string_view> sections;
    for (const IniEntry& e : entries) {
        if (std::find(sections.begin(), sections.end(), e.section) == sections.end()) {
            sections.push_back(e.section);
        }
    }
    // Entries before any section header can only stand first.
    std::stable_partition(sections.begin(), sections.end(),
                          [](std::string_view s) { return s.empty(); });
    std::string text;
    for (const std::string_view section : sections) {
        if (!text.empty()) {
            text += '\n';
        }
        if (!section.empty()) {
            text.append("[").append(section).append("]\n");
        }
        for (const IniEntry& e : entries) {
            if (e.section != section || !Writable(e)) {
                continue;
            }
            // Blanks at a value's ends, or quotes around it, would be lost in the reading.
            const bool quote = Trimmed(e.value) != e.value || Quoted(e.value);
            text.append(e.key).append("=").append(quote ? "\"" : "");
            text.append(e.value).append(quote ? "\"" : "").append("\n");
        }
    }
    return text;
}

}  // namespace kelvane
