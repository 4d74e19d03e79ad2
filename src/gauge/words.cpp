// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#include "gauge/words.h"

#include "rules/reading_kinds.h"

namespace kelvane {
namespace {

constexpr PartWords kButtons[kGaugeButtons] = {
    {"Close", "Closes the gauge; its settings are saved"},
    {"Size", "Steps the window through 1, 3, 6 and 8 panels"},
    {"Help", "Opens the quick help"},
    {"Pin left", "Moves the window to the left edge of its screen"},
    {"Pin top", "Moves the window to the top edge of its screen"},
    {"Pin right", "Moves the window to the right edge of its screen"},
};

constexpr PartWords kLogo = {
    "Logo, drag handle",
    "Drag it with the mouse to move the window. Without a mouse, the pin buttons move it to an "
    "edge of the screen, and F2 to F12 choose the panels."};

}  // namespace

const PartWords& WordsOf(GaugeButton button) {
    return kButtons[static_cast<int>(button)];
}

const PartWords& LogoWords() {
    return kLogo;
}

PanelWords DescribePanel(const PanelResult& shown) {
    PanelWords words;
    if (!IsReadingKind(shown.code)) {
        return words;
    }
    const bool absent = shown.state == PanelResult::State::kAbsent;
    const KindWords& kind = WordsOf(shown.code);
    words.name = kind.reading;
    if (IsDriveKind(shown.code)) {
        words.name += ' ';
        words.name += DriveLetter(shown.code);
        words.name += ": (";
        words.name += absent ? std::string_view("absent") : shown.mountPoint;
        words.name += ')';
        words.description =
            absent ? "No drive has this letter"
                   : "Used space of the volume mounted at " + std::string(shown.mountPoint);
    } else {
        words.name += ' ';
        words.name += kind.unit;
        words.description = KindOf(shown.code).toolTip;
    }
    switch (shown.state) {
        case PanelResult::State::kFigure:
            words.figure = shown.caption.View();
            break;
        case PanelResult::State::kAbsent:
            words.figure = "absent";
            break;
        default:
            words.figure = "unknown";
            break;
    }
    return words;
}

}  // namespace kelvane
