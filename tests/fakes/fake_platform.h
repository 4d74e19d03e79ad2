// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#pragma once

// Stand-ins for the operating system and the window system, so that no test depends on this
// machine.

#include <QMap>
#include <QPair>
#include <array>

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
    QSize PrimarySize() const override { return size; }
    QRect GeometryAt(QPoint) const override { return QRect(QPoint(0, 0), size); }
    QList<QRect> Geometries() const override { return {QRect(QPoint(0, 0), size)}; }
    QSize size{1024, 768};
};

class FakeSettings final : public SettingsStore {
  public:
    std::optional<std::string> Read(std::string_view section, std::string_view key) override {
        const auto it = values.find({Q(section), Q(key)});
        return it == values.end() ? std::nullopt : std::optional(it->toStdString());
    }
    void Write(std::string_view section, std::string_view key, std::string_view value) override {
        values[{Q(section), Q(key)}] = Q(value);
    }
    static QString Q(std::string_view text) {
        return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    }
    void Commit() override { ++commits; }
    bool Flush() override { return true; }
    QString Value(const QString& section, const QString& key) const {
        return values.value({section, key});
    }

    QMap<QPair<QString, QString>, QString> values;
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
    void SetWindowPos(const QRect& rect) override {
        Put(refuseMoves ? QRect(geometry.topLeft(), rect.size()) : rect);
        topmost = true;
    }
    void Move(QPoint topLeft) override {
        Put(QRect(refuseMoves ? geometry.topLeft() : topLeft, geometry.size()));
    }
    void BringToFront() override { topmost = true; }
    void ShowHelp() override { ++helpShown; }
    void UnloadAll() override { ++unloads; }
    void Put(const QRect& rect) {
        geometry = rect;
        if (gauge != nullptr) {
            gauge->WindowMoved(rect);
        }
    }

    FrmMain* gauge = nullptr;
    QRect geometry{0, 0, 299, 324};
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
    FrmMain window{System{memory, volumes, screen, settings, clock}};

    FakeGauge() {
        window.AttachHost(host);
        host.gauge = &window;
    }
    void Start() {
        window.GetMySettings();
        window.Form_Load();
    }
};

}  // namespace kelvane
