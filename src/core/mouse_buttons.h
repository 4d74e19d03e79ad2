// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#pragma once

namespace kelvane {

// The mouse buttons held down, as the window's mouse events give them: 1 for the left button,
// 2 for the right and 4 for the middle one, added together.
using MouseButtons = unsigned;
inline constexpr MouseButtons kNoButton = 0;
inline constexpr MouseButtons kLeftButton = 1;
inline constexpr MouseButtons kRightButton = 2;
inline constexpr MouseButtons kMiddleButton = 4;

}  // namespace kelvane
