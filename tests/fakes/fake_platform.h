#pragma once

// Stand-ins for the operating system, so that no test depends on this machine.

#include <QMap>
#include <QPair>
#include <array>

#include "core/frm_main.h"
#include "platform/platform.h"
#include "settings/settings_store.h"

namespace kelvane {

class FakeMemory final : public MemoryStatusSource {
  public:
    bool Read(MemoryStatus& out) override {
        ++reads;
        if (!readable) {
            return false;
        }
        out = status;
        return true;
    }
    MemoryStatus status{133'693'440, 40'960'000};
    bool readable = true;
    int reads = 0;
};

class FakeVolumes final : public VolumeSource {
  public:
    bool Probe(int letter) override {
        return letter < static_cast<int>(passing.size()) &&
               passing[static_cast<std::size_t>(letter)];
    }
    bool FreeSpace(int letter, VolumeSpace& out) override {
        ++queries[static_cast<std::size_t>(letter)];
        if (!answering[static_cast<std::size_t>(letter)]) {
            return false;
        }
        out = space[static_cast<std::size_t>(letter)];
        return true;
    }
    QString MountPoint(int letter) const override { return mountPoints.value(letter); }

    // Letters C:, D:, ... that pass the probe, in order, mounted at /, /d, /e, ...
    void PassFirst(int count) {
        passing.fill(false);
        mountPoints.clear();
        for (int i = 0; i < count; ++i) {
            passing[static_cast<std::size_t>(i)] = true;
            mountPoints[i] =
                i == 0 ? QStringLiteral("/") : QStringLiteral("/%1").arg(QChar('c' + i));
        }
    }

    std::array<bool, kDriveLetters> passing{};
    std::array<bool, kDriveLetters> answering = [] {
        std::array<bool, kDriveLetters> all{};
        all.fill(true);
        return all;
    }();
    std::array<VolumeSpace, kDriveLetters> space{};
    std::array<int, kDriveLetters> queries{};
    QMap<int, QString> mountPoints;
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
    std::optional<QString> Read(const QString& section, const QString& key) override {
        const auto it = values.find({section, key});
        if (it == values.end()) {
            return std::nullopt;
        }
        return *it;
    }
    void Write(const QString& section, const QString& key, const QString& value) override {
        values[{section, key}] = value;
    }
    bool Commit() override {
        ++commits;
        return writable;
    }
    QString Value(const QString& section, const QString& key) const {
        return values.value({section, key});
    }

    QMap<QPair<QString, QString>, QString> values;
    int commits = 0;
    bool writable = true;
};

// The window system as a test sees it: the window is where it was last put, unless moves
// are refused.
class FakeWindow final : public WindowHost {
  public:
    QRect Geometry() const override { return geometry; }
    bool PositionKnown() const override { return positionKnown; }
    void SetWindowPos(const QRect& rect) override {
        geometry = refuseMoves ? QRect(geometry.topLeft(), rect.size()) : rect;
        topmost = shown = true;
    }
    void Move(QPoint topLeft) override {
        if (!refuseMoves) {
            geometry.moveTopLeft(topLeft);
        }
    }
    void ShowHelp() override { ++helpShown; }
    void UnloadAll() override { ++unloads; }

    QRect geometry{0, 0, 299, 324};
    bool positionKnown = true;
    bool refuseMoves = false;
    bool topmost = false;
    bool shown = false;
    int helpShown = 0;
    int unloads = 0;
};

// A main window over fake platform parts, with its own timers stopped so that a test ticks
// it by hand.
struct FakeGauge {
    FakeMemory memory;
    FakeVolumes volumes;
    FakeScreen screen;
    FakeSettings settings;
    FakeWindow host;
    FrmMain window{Platform{memory, volumes, screen, settings}};

    FakeGauge() {
        window.Timer1.stop();
        window.AttachHost(host);
    }

    // Process start: settings, then the load.
    void Start() {
        window.GetMySettings();
        window.Form_Load();
    }
};

}  // namespace kelvane
