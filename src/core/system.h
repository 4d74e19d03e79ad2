// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#pragma once

// What the gauge needs of the system it runs on: small interfaces that the platform layer
// fills with one implementation per OS (src/platform/) and that the tests replace with fakes.

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <chrono>
#include <optional>

#include "rules/figures.h"

namespace kelvane {

class MemoryStatusSource {
  public:
    virtual ~MemoryStatusSource() = default;
    // Fills `out` and returns true, or returns false and leaves `out` alone.
    virtual bool Read(MemoryStatus& out) = 0;
};

// What a free-space query gives: the volume's space (its latest answer, which a slow volume
// gave a while ago); nothing yet, from a volume that has not answered since the gauge started;
// or nothing, when its volume has gone or the query failed.
enum class SpaceAnswer { kSpace, kNotYet, kFailed };

// Drive letters are numbered from C: = 0 to Z: = 23.
class VolumeSource {
  public:
    virtual ~VolumeSource() = default;
    // True when the letter names a mounted volume that is ready and writable.
    virtual bool Probe(int letter) = 0;
    // Fills `out` when the answer is kSpace, and never waits on the volume.
    virtual SpaceAnswer FreeSpace(int letter, VolumeSpace& out) = 0;
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

// The per-user store of string values by section and key.
class SettingsStore {
  public:
    virtual ~SettingsStore() = default;
    // The stored text, or nothing when the key does not exist. Reading never creates a key.
    virtual std::optional<QString> Read(const QString& section, const QString& key) = 0;
    virtual void Write(const QString& section, const QString& key, const QString& value) = 0;
    // Hands every value written so far over to be saved, all at once, and returns at once: a
    // new file takes the old one's place in the background, the last values handed over last.
    virtual void Commit() = 0;
    // Waits until what was handed over is saved. True when the file now holds it (or nothing
    // was handed over); false when it could not be written, the old file left as it was.
    virtual bool Flush() = 0;
};

// Time as the gauge reads it: the program's own steady clock, or one a test moves on.
class Clock {
  public:
    virtual ~Clock() = default;
    virtual std::chrono::milliseconds Now() const = 0;
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

// What the gauge is given of the system.
struct System {
    MemoryStatusSource& memory;
    VolumeSource& volumes;
    ScreenInfo& screen;
    SettingsStore& settings;
    Clock& clock;
};

}  // namespace kelvane
