// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#include "gauge/help_text.h"

#include <utility>
#include <vector>

#include "rules/presets.h"
#include "rules/reading_kinds.h"

namespace kelvane {
namespace {

// A tab, not padding, ends the key: the help window sets its tab stop in pixels, so that in a
// proportional font every action starts at one place.
std::string Row(const std::string& key, const std::string& action) {
    return key + '\t' + action;
}

// A reading in the help's words: "Used RAM Percent", "Total RAM MB", "Drive C:".
std::string HelpName(SectionKind code) {
    if (IsDriveKind(code)) {
        return std::string("Drive ") + DriveLetter(code) + ':';
    }
    const KindWords& kind = WordsOf(code);
    return std::string(kind.reading) + ' ' +
           (kind.unit == "percent" ? std::string("Percent") : std::string(kind.unit));
}

}  // namespace

std::string HelpText() {
    std::vector<std::string> lines = {
        "What is Kelvane?",
        " ",
        "  Kelvane is handy software to show you the amount of RAM ",
        "and Hard Disk usage in real time; Kelvane keeps an eye on your ",
        "RAM and Hard Disk and monitor it.",
        " ",
        "How does it work?",
        " ",
        "  Working with Kelvane is quite simple:",
        "  -To change each panel easily click on the name of that panel, ",
        "keep clicking to change to other sections and cycling.",
        "  -To change the size of Kelvane click on small line icon on the ",
        "upper left of window.",
        "  -Kelvane can detect how many partitions you have on your ",
        "computer; change panels to obtain your desire drive by clicking ",
        "on panels till you get there.",
        // Beyond the mouse: the keyboard, and what a screen reader hears.
        "  -Without a mouse, Tab and Shift+Tab walk the buttons and panels, ",
        "Space or Return presses the one chosen (a panel: its next reading); ",
        "a screen reader such as Orca reads each panel's name and figure.",
        " ",
        "Keyboard Shortcuts:",
        Row("Key", "Action"),
        std::string(81, '-'),
    };
    // The key table is the preset table in the help's own words; only F5's line for the total
    // has always said KB, though the panel shows MB, and the help keeps its words.
    std::vector<std::pair<std::string, std::vector<std::string>>> table = {{"F1", {"Quick Help"}}};
    for (int n = 2; n <= 11; ++n) {
        std::vector<std::string> actions;
        for (const PresetPanel& panel : PresetForKey(FKey(n))->panels) {
            actions.push_back(HelpName(panel.section));
        }
        if (n == 5) {
            actions.back() = "Total RAM KB";
        }
        table.emplace_back("F" + std::to_string(n), actions);
    }
    table.push_back({"F12", {"All Your Partitions (8 Panels)"}});
    bool first = true;
    for (const auto& [key, actions] : table) {
        if (!first) {
            lines.emplace_back(" ");
        }
        first = false;
        for (std::size_t i = 0; i < actions.size(); ++i) {
            lines.push_back(Row(i == 0 ? key : std::string(), actions[i]));
        }
    }
    std::string text = "\n";
    for (std::size_t i = 0; i < lines.size(); ++i) {
        text += (i > 0 ? "\r\n" : "") + lines[i];
    }
    return text;
}

}  // namespace kelvane
