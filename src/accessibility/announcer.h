// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QRect>
#include <QString>
#include <array>

#include "rules/counts.h"

class QWidget;

namespace kelvane {

class AccessibleGauge;
class FrmMain;
class GaugeAdapter;
class AccessibleView;

// What the window shows, as a screen reader is told of it after the user changed it.
struct Arrangement {
    int visible = 0;
    std::array<int, kPanels> readings{};  // by panel, shown or not
    QRect place;

    bool operator==(const Arrangement&) const = default;
};
Arrangement ArrangementNow(const QWidget& view, const GaugeAdapter& adapter);
// What is said of a change: "3 panels: Used RAM percent, Free RAM percent, Total RAM MB"; one
// panel's new reading with its figure, "Free RAM KB, 8123 KB"; or the edges of `screen` the
// window now stands at, "At the left edge of the screen". Nothing when nothing of that changed.
QString DescribeChange(const Arrangement& before, const Arrangement& now, AccessibleGauge& window,
                       const QRect& screen);

// Lets assistive technologies read the gauge that `view` draws and press its buttons (see
// accessible_gauge.h); only while one listens, tells them of a panel's new figure at most once a
// second while the window is the active one, follows the keyboard over the window's parts, and
// says once what a key or a press changed. Called once, first thing when the view is made: Qt
// makes a window's accessible interface the first time anything asks, even a change of its title.
void MakeAccessible(AccessibleView& view, FrmMain& gauge);

}  // namespace kelvane
