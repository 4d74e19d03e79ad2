// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QByteArray>
#include <QObject>
#include <functional>
#include <memory>
#include <vector>

class QSocketNotifier;

#include "core/window_host.h"

struct wl_compositor;
struct wl_display;
struct wl_output;
struct wl_registry;
struct wl_seat;
struct wl_shm;
struct zwlr_layer_shell_v1;
struct zxdg_output_manager_v1;
struct zxdg_output_v1;

namespace kelvane {

// One output (monitor) of the compositor, in the compositor's logical pixels.
class WaylandDisplay;
struct WaylandOutput {
    WaylandDisplay* owner = nullptr;
    std::uint32_t name = 0;  // the global's name
    wl_output* output = nullptr;
    zxdg_output_v1* logical = nullptr;
    Rect geometry;   // logical: where xdg-output puts it, else the mode over the scale
    Point position;  // from wl_output, used when there is no xdg-output
    Size modeSize;   // device pixels
    int scale = 1;   // the buffer scale that draws crisply on it
    bool complete = false;
};

// The program's own connection to a Wayland compositor that offers a layer shell, for the
// main window's layer surface. It is read on Qt's event loop (a socket notifier, flushed
// before the loop sleeps) and knows the compositor's outputs.
class WaylandDisplay : public QObject {
    Q_OBJECT
  public:
    // The compositor of this session, when the session is a Wayland one that offers
    // zwlr_layer_shell_v1 version 4 or later (on-demand keyboard focus) and the gauge has not
    // been asked for another of Qt's platforms (`askedPlatform`, the user's QT_QPA_PLATFORM:
    // xcb for XWayland); else nothing.
    static std::unique_ptr<WaylandDisplay> Open(const QByteArray& askedPlatform);
    ~WaylandDisplay() override;

    wl_display* display() const { return display_; }
    wl_compositor* compositor() const { return compositor_; }
    wl_shm* shm() const { return shm_; }
    wl_seat* seat() const { return seat_; }
    // What the seat has now (wl_seat's capabilities: pointer, keyboard, touch).
    std::uint32_t seatCapabilities() const { return seatCapabilities_; }
    zwlr_layer_shell_v1* layerShell() const { return layerShell_; }
    const std::vector<std::unique_ptr<WaylandOutput>>& outputs() const { return outputs_; }
    // The output that holds `point`, else the first; null while there is none.
    const WaylandOutput* OutputAt(Point point) const;
    const WaylandOutput* OutputOf(const wl_output* output) const;

    // The outputs as screens for the gauge's placement rules.
    std::unique_ptr<ScreenInfo> Screens() const;

    // Sends what was asked, now.
    void Flush();
    // An output's description is complete (its done event).
    void OutputDone(WaylandOutput& output);

  signals:
    // An output came, went or changed its geometry or scale.
    void outputsChanged();
    // A pointer or keyboard came or went.
    void seatChanged();
    // The compositor has gone.
    void lost();

  private:
    WaylandDisplay() = default;
    static void Global(void* data, wl_registry* registry, std::uint32_t name, const char* interface,
                       std::uint32_t version);
    static void GlobalRemove(void* data, wl_registry* registry, std::uint32_t name);
    void AddOutput(std::uint32_t name, std::uint32_t version);
    void WatchLogical(WaylandOutput& output);
    void Dispatch();

    wl_display* display_ = nullptr;
    wl_registry* registry_ = nullptr;
    wl_compositor* compositor_ = nullptr;
    wl_shm* shm_ = nullptr;
    wl_seat* seat_ = nullptr;
    std::uint32_t seatCapabilities_ = 0;
    zwlr_layer_shell_v1* layerShell_ = nullptr;
    std::uint32_t layerShellVersion_ = 0;
    zxdg_output_manager_v1* outputManager_ = nullptr;
    std::vector<std::unique_ptr<WaylandOutput>> outputs_;
    bool announced_ = false;
    QSocketNotifier* notifier_ = nullptr;
};

}  // namespace kelvane
