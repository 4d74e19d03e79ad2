// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#pragma once

// Stand-ins for the operating system and the window system, so that no test depends on this
// machine.

#include <array>
#include <map>
#include <string>
#include <utility>

#include "core/system.h"
#include "core/window_host.h"
#include "gauge/frm_main.h"

namespace kelvane {

class FakeMemory final : public MemoryStatusSource {
  public:
    bool Read(MemoryStatus& out) override {
        out = readable ? status : out;
        return readable;
    }
    MemoryStatus status{133'693'440, 40'960'000};
    bool readable = true;
};

// The first `found` letters name writable volumes, mounted at /, /d, /e, ...
class FakeVolumes final : public VolumeSource {
  public:
    bool Probe(int letter) override { return letter < found; }
    SpaceAnswer FreeSpace(int letter, VolumeSpace& out) override {
        const auto i = static_cast<std::size_t>(letter);
        out = answering[i] ? space[i] : out;
        return answering[i]     ? SpaceAnswer::kSpace
               : answeredYet[i] ? SpaceAnswer::kFailed
                                : SpaceAnswer::kNotYet;
    }
    std::string MountPoint(int letter) const override {
        return letter >= found ? std::string()
               : letter == 0   ? root
                               : std::string{'/', static_cast<char>('c' + letter)};
    }
    void PassFirst(int count) { found = count; }

    int found = 0;
    std::string root = "/";
    std::array<bool, kDriveLetters> answering = [] {
        std::array<bool, kDriveLetters> all{};
        all.fill(true);
        return all;
    }();
    std::array<bool, kDriveLetters> answeredYet = answering;
    std::array<VolumeSpace, kDriveLetters> space{};
};

class FakeScreen final : public ScreenInfo {
  public:
    Size PrimarySize() const override { return size; }
    Rect GeometryAt(Point) const override { return {{0, 0}, size}; }
    std::vector<Rect> Geometries() const override { return {Rect({0, 0}, size)}; }
    Size size{1024, 768};
};

class FakeSettings final : public SettingsStore {
  public:
    std::optional<std::string> Read(std::string_view section, std::string_view key) override {
        const auto it = values.find({std::string(section), std::string(key)});
        return it == values.end() ? std::nullopt : std::optional(it->second);
    }
    void Write(std::string_view section, std::string_view key, std::string_view value) override {
        values[{std::string(section), std::string(key)}] = value;
    }
    void Commit() override { ++commits; }
    bool Flush() override { return true; }
    // The stored text, or nothing at all.
    std::string Value(const std::string& section, const std::string& key) const {
        const auto it = values.find({section, key});
        return it == values.end() ? std::string() : it->second;
    }

    std::map<std::pair<std::string, std::string>, std::string> values;
    int commits = 0;
};

class FakeClock final : public Clock {
  public:
    std::chrono::milliseconds Now() const override { return now; }
    std::chrono::milliseconds now{1'000'000};
};

// The window system: the window is where it was last put, unless moves are refused; it tells
// the gauge where it put it.
class FakeWindow final : public WindowHost {
  public:
    bool PositionKnown() const override { return positionKnown; }
    void SetWindowPos(const Rect& rect) override {
        Put(refuseMoves ? Rect(geometry.TopLeft(), rect.GetSize()) : rect);
        topmost = true;
    }
    void Move(Point topLeft) override {
        Put(Rect(refuseMoves ? geometry.TopLeft() : topLeft, geometry.GetSize()));
    }
    void BringToFront() override { topmost = true; }
    void ShowHelp() override { ++helpShown; }
    void UnloadAll() override { ++unloads; }
    void Put(const Rect& rect) {
        geometry = rect;
        if (gauge != nullptr) {
            gauge->WindowMoved(rect);
        }
    }

    FrmMain* gauge = nullptr;
    Rect geometry{0, 0, 299, 324};
    bool positionKnown = true;
    bool refuseMoves = false;
    bool topmost = false;
    int helpShown = 0;
    int unloads = 0;
};

// A main window over fake parts, ticked by hand.
struct FakeGauge {
    FakeMemory memory;
    FakeVolumes volumes;
    FakeScreen screen;
    FakeSettings settings;
    FakeClock clock;
    FakeWindow host;
    FrmMain window;

    // Figures with a fraction are written with the locale's `decimalPoint`.
    explicit FakeGauge(std::string decimalPoint = ".")
        : window(System{memory, volumes, screen, settings, clock, std::move(decimalPoint)}) {
        window.AttachHost(host);
        host.gauge = &window;
    }
    void Start() {
        window.GetMySettings();
        window.Form_Load();
    }
};

}  // namespace kelvane
