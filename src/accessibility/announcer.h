// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#pragma once

namespace kelvane {

class FrmMain;
class AccessibleView;

// Lets assistive technologies read the gauge that `view` draws and press its buttons (see
// accessible_gauge.h); only while one listens, tells them of a panel's new figure at most once a
// second while the window is the active one, follows the keyboard over the window's parts, and
// says once what a key or a press changed. Called once, first thing when the view is made: Qt
// makes a window's accessible interface the first time anything asks, even a change of its title.
void MakeAccessible(AccessibleView& view, FrmMain& gauge);

}  // namespace kelvane
