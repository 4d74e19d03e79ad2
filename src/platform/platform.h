// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#pragma once

// The operating system as the gauge sees it: small interfaces that the build fills with
// one implementation per OS and that the tests replace with fakes.

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "rules/figures.h"

class QWindow;

namespace kelvane {

class MemoryStatusSource {
  public:
    virtual ~MemoryStatusSource() = default;
    // Fills `out` and returns true, or returns false and leaves `out` alone.
    virtual bool Read(MemoryStatus& out) = 0;
};

// Drive letters are numbered from C: = 0 to Z: = 23.
class VolumeSource {
  public:
    virtual ~VolumeSource() = default;
    // True when the letter names a mounted volume that is ready and writable.
    virtual bool Probe(int letter) = 0;
    // Fills `out` and returns true, or returns false and leaves `out` alone.
    virtual bool FreeSpace(int letter, VolumeSpace& out) = 0;
    // Where the letter's volume is mounted ("/", "/home"), empty when unknown.
    virtual QString MountPoint(int letter) const = 0;
};

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

// From now on, for as long as `window` lives: calls `gone`, once, when the window system
// destroys it behind the program's back (another program closing it), so that the program
// does not live on without its window; and takes off the "demands attention" mark that a
// window manager puts on it for opening without taking focus. Nothing on window systems that
// do neither.
void WatchWindow(QWindow* window, std::function<void()> gone);

// Where the window system really has `window`'s upper-left corner, in pixels; nothing where it
// does not tell a program where its windows are (a Wayland client).
std::optional<QPoint> PlacedAt(const QWindow* window);

// Calls `changed` whenever a screen comes, goes or changes its geometry.
void WatchScreens(std::function<void()> changed);

// The running system's implementations (one file per OS).
std::unique_ptr<MemoryStatusSource> MakeSystemMemoryStatus();
std::unique_ptr<VolumeSource> MakeSystemVolumes();
std::unique_ptr<ScreenInfo> MakeSystemScreen();
// A per-user directory for run-time files such as the single-instance lock, which no other
// user can write to.
QString RuntimeDirectory();

}  // namespace kelvane
