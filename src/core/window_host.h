// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#pragma once

// What the gauge needs of the window system that shows it: the screens, and the main window
// as a host (the Qt widget on X11, a Wayland layer surface, a Win32 window) holds it. The
// operating system's seams are in core/system.h.

#include <vector>

#include "rules/geometry.h"

namespace kelvane {

// Screen geometry in pixels.
class ScreenInfo {
  public:
    virtual ~ScreenInfo() = default;
    virtual Size PrimarySize() const = 0;
    // The screen that holds `point`, or the primary screen when none does.
    virtual Rect GeometryAt(Point point) const = 0;
    // Every screen of the desktop, the primary one first.
    virtual std::vector<Rect> Geometries() const = 0;
};

// The main window as the window system holds it, and the program's other windows: what the
// gauge asks of the view that shows them. Where the window is comes the other way: the view
// tells the gauge when it moved.
class WindowHost {
  public:
    virtual ~WindowHost() = default;
    // False where the window system does not tell clients where their windows are.
    virtual bool PositionKnown() const = 0;
    // Places the window at `rect` (pixels) above all windows that are not themselves always on
    // top, shows it, and does not activate it.
    virtual void SetWindowPos(const Rect& rect) = 0;
    // Moves the window, keeping its size and its place in the stacking order.
    virtual void Move(Point topLeft) = 0;
    // Shows a minimised or covered window again, above the others.
    virtual void BringToFront() = 0;
    // Shows the quick-help window, loading it first when it is not loaded.
    virtual void ShowHelp() = 0;
    // Unloads every window of the program, the main window last.
    virtual void UnloadAll() = 0;
};

}  // namespace kelvane
