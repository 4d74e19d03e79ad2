// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#pragma once

#include <vector>

#include "rules/geometry.h"

namespace kelvane {

// Where a window meant for `wanted` goes so that the user can reach all of it: where it was
// meant when the screens together show it whole; otherwise moved the least distance that puts
// it wholly on one screen, the nearest (the first of equals).
Rect FitOnScreens(const Rect& wanted, const std::vector<Rect>& screens);

}  // namespace kelvane
