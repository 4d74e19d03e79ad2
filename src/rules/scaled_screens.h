// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#pragma once

// Screens of different scale on one desktop, where the window system counts in device pixels
// (Windows, aware of each monitor's scale) and the gauge in logical ones. A screen keeps its
// corner where the window system puts it, and its size and everything on it count in the
// screen's own logical pixels (device pixels / scale), as Qt lays out such a desktop: a window
// at 100, 40 from the corner of a screen scaled 1.5 stands 150, 60 device pixels from it.

#include <vector>

#include "rules/geometry.h"

namespace kelvane {

struct ScaledScreen {
    Rect device;         // in the window system's pixels
    double scale = 1.0;  // device pixels per logical pixel

    // The screen as the gauge sees it.
    Rect Logical() const;
};

// The screen that holds `device` (a point in device pixels), else the nearest one, else none
// (-1): the index into `screens`.
int ScreenAtDevice(const std::vector<ScaledScreen>& screens, Point device);
// The screen that holds `logical`, else the nearest one by its logical geometry.
int ScreenAtLogical(const std::vector<ScaledScreen>& screens, PointF logical);

// A point in the other units, on the screen that holds it (with no screens, as it is).
PointF ToLogical(const std::vector<ScaledScreen>& screens, Point device);
Point ToDevice(const std::vector<ScaledScreen>& screens, PointF logical);
// A rectangle, by its corner's screen: its size scales with that screen.
Rect ToDevice(const std::vector<ScaledScreen>& screens, const Rect& logical);
Rect ToLogical(const std::vector<ScaledScreen>& screens, const Rect& device);

}  // namespace kelvane
