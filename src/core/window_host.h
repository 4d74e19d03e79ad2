// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#pragma once

// What the gauge needs of the window system that shows it: the screens, and the main window
// as a host (X11 through Qt, or a Wayland layer surface) holds it. Typed in Qt's geometry, the
// window system's own terms; the operating system's seams are in core/system.h.

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>

namespace kelvane {

// Screen geometry in pixels.
class ScreenInfo {
  public:
    virtual ~ScreenInfo() = default;
    virtual QSize PrimarySize() const = 0;
    // The screen that holds `point`, or the primary screen when none does.
    virtual QRect GeometryAt(QPoint point) const = 0;
    // Every screen of the desktop, the primary one first.
    virtual QList<QRect> Geometries() const = 0;
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
    virtual void SetWindowPos(const QRect& rect) = 0;
    // Moves the window, keeping its size and its place in the stacking order.
    virtual void Move(QPoint topLeft) = 0;
    // Shows a minimised or covered window again, above the others.
    virtual void BringToFront() = 0;
    // Shows the quick-help window, loading it first when it is not loaded.
    virtual void ShowHelp() = 0;
    // Unloads every window of the program, the main window last.
    virtual void UnloadAll() = 0;
};

}  // namespace kelvane
