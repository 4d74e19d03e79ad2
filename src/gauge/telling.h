// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#pragma once

// What assistive technologies are told of the gauge as it changes, on every host: what is said
// once after the user changed what the window shows, and which panels have news in the rounds
// in which their figures are told.

#include <array>
#include <string>

#include "gauge/gauge_adapter.h"
#include "rules/counts.h"
#include "rules/geometry.h"

namespace kelvane {

// What the window shows, as a screen reader is told of it after the user changed it.
struct Arrangement {
    int visible = 0;
    std::array<SectionKind, kPanels> readings{};  // by panel, shown or not
    Rect place;                                   // the window on the screen

    bool operator==(const Arrangement&) const = default;
};
Arrangement ArrangementNow(const GaugeAdapter& adapter, const Rect& place);

// What is said of a change: "3 panels: Used RAM percent, Free RAM percent, Total RAM MB"; one
// panel's new reading with its figure, "Free RAM KB, 8123 KB"; or the edges of `screen` the
// window now stands at, "At the left edge of the screen". Empty when nothing of that changed.
std::string DescribeChange(const Arrangement& before, const Arrangement& now,
                           const GaugeAdapter& adapter, const Rect& screen);

// Which visible panels have news since the last round: a new name (reading), a new figure.
struct PanelNews {
    int visible = 0;
    bool reordered = false;  // panels came or went
    std::array<bool, kPanels> renamed{};
    std::array<bool, kPanels> refigured{};
};

// The rounds in which panels tell assistive technologies their news. What shows when one
// arrives, and a panel that has just come into view, is read like the rest at first: it tells
// nothing.
class PanelRounds {
  public:
    // An assistive technology has come: the next round tells nothing, only takes note.
    void Restart() { fresh_ = true; }
    // The panels' news; figures only when `figures` (the window active since the last round).
    PanelNews Round(const GaugeAdapter& adapter, bool figures);

  private:
    struct Told {
        std::string name;
        std::string figure;
    };
    bool fresh_ = true;
    int visible_ = 0;
    std::array<Told, kPanels> told_;
};

}  // namespace kelvane
