// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#pragma once

class QWidget;

namespace kelvane {

class FrmMain;

// Lets assistive technologies read the gauge that `view` draws and press its buttons (see
// accessible_parts.h), and tells them of a panel's new figure at most once a second, only
// while one listens. Called once, first thing when the view is made: Qt makes a window's
// accessible interface the first time anything asks, even a change of its title.
void MakeAccessible(QWidget& view, FrmMain& gauge);

}  // namespace kelvane
