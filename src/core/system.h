// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#pragma once

// What the gauge needs of the operating system it runs on: small interfaces in standard types
// that the platform layer fills with one implementation per OS (src/platform/) and that the
// tests replace with fakes. What it needs of the window system is in core/window_host.h.

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

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
    // Where the letter's volume is mounted ("/", "/home"), in the file system's own bytes;
    // empty when the letter names no volume.
    virtual std::string MountPoint(int letter) const = 0;
};

// The per-user store of string values by section and key.
class SettingsStore {
  public:
    virtual ~SettingsStore() = default;
    // The stored text, or nothing when the key does not exist. Reading never creates a key.
    virtual std::optional<std::string> Read(std::string_view section, std::string_view key) = 0;
    virtual void Write(std::string_view section, std::string_view key, std::string_view value) = 0;
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

class ScreenInfo;

// What the gauge is given of the system, and of the user's locale: the decimal separator its
// figures and settings are written with.
struct System {
    MemoryStatusSource& memory;
    VolumeSource& volumes;
    ScreenInfo& screen;
    SettingsStore& settings;
    Clock& clock;
    std::string decimalPoint = ".";
};

}  // namespace kelvane
