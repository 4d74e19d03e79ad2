// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#pragma once

// The main window as a layer surface of a Wayland compositor: its place as margins from one
// output's corner, and the keys it takes.

#include <cstdint>
#include <vector>

#include "rules/geometry.h"

namespace kelvane {

// The surface's margins from the top-left corner of `output`, where the window is at `window`
// (both in the compositor's logical pixels).
Point LayerMargins(const Rect& window, const Rect& output);

// The screen that holds `point`: its index in `screens`, else 0 (the first), or -1 when there
// is no screen.
int ScreenIndexAt(Point point, const std::vector<Rect>& screens);

// The number of a function key F1 to F12 from its XKB key symbol, or 0 for any other key.
int FunctionKeyNumber(std::uint32_t keysym);

}  // namespace kelvane
