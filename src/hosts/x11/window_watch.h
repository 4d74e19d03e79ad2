// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#pragma once

// What the X window system says of the gauge's windows beyond what Qt passes on.

#include <QPoint>
#include <functional>
#include <optional>

class QWindow;

namespace kelvane {

// From now on, for as long as `window` lives: calls `gone`, once, when the window system
// destroys it behind the program's back (another program closing it), so that the program
// does not live on without its window; calls `placed` whenever the window system has moved
// or resized it; and takes off the "demands attention" mark that a window manager puts on it
// for opening without taking focus. False, and nothing watched, on window systems that do
// none of this.
bool WatchWindow(QWindow* window, std::function<void()> gone, std::function<void()> placed);

// Shows `window` again, out of a minimised state and above the others.
void ShowAgain(QWindow* window);

// Where the window system really has `window`'s upper-left corner, in pixels; nothing where it
// does not tell a program where its windows are (a Wayland client).
std::optional<QPoint> PlacedAt(const QWindow* window);

// Whether the window manager says that no window has the keyboard, as after a click on the bare
// desktop; false where it does not say.
bool NoWindowActive();

// Asks the window manager to give `window` the keyboard, as a pager or a taskbar does.
void GiveKeyboardTo(QWindow* window);

}  // namespace kelvane
