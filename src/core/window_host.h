// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QPoint>
#include <QRect>

namespace kelvane {

// The main window as the window system holds it, and the program's other windows: what the
// gauge's procedures ask of the view that shows them.
class WindowHost {
  public:
    virtual ~WindowHost() = default;
    // Where the window is, in pixels, as the window system last reported it.
    virtual QRect Geometry() const = 0;
    // False where the window system does not tell clients where their windows are.
    virtual bool PositionKnown() const = 0;
    // Places the window at `rect` (pixels) above all windows that are not themselves always on
    // top, shows it, and does not activate it.
    virtual void SetWindowPos(const QRect& rect) = 0;
    // Moves the window, keeping its size and its place in the stacking order.
    virtual void Move(QPoint topLeft) = 0;
    // Shows the quick-help window, loading it first when it is not loaded.
    virtual void ShowHelp() = 0;
    // Unloads every window of the program, the main window last.
    virtual void UnloadAll() = 0;
};

}  // namespace kelvane
