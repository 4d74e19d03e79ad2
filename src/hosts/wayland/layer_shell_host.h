// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QImage>
#include <QObject>
#include <QPointer>
#include <QRegion>
#include <QTimer>
#include <array>

#include "drawing/qt/qt_drawing.h"
#include "gauge/frm_main.h"
#include "hosts/common/gauge_host.h"
#include "hosts/wayland/wayland_display.h"

struct wl_buffer;
struct wl_callback;
struct wl_cursor_theme;
struct wl_keyboard;
struct wl_pointer;
struct wl_surface;
struct xkb_context;
struct xkb_keymap;
struct xkb_state;
struct zwlr_layer_surface_v1;

namespace kelvane {

// The main window as a layer surface of a Wayland compositor (wlroots' layer shell): on the
// overlay layer above every window, pushing nothing aside, anchored to the top-left corner of
// one output with the window's place as the margins. It draws the gauge into shared memory
// with the same drawing as the X11 window, hands the pointer and the keys to the gauge, and
// opens the help window through Qt.
class LayerShellHost : public QObject, public GaugeHost {
    Q_OBJECT
  public:
    LayerShellHost(WaylandDisplay& display, FrmMain& gauge);
    ~LayerShellHost() override;

    bool PositionKnown() const override { return true; }
    void SetWindowPos(const Rect& rect) override;
    void Move(Point topLeft) override;
    void BringToFront() override;
    void ShowWindow() override;

  private:
    struct Buffer {
        LayerShellHost* owner = nullptr;
        wl_buffer* buffer = nullptr;
        uchar* data = nullptr;
        std::size_t bytes = 0;
        QImage image;
        bool busy = false;
        QRegion stale;  // drawn into the other buffer since this one was last drawn
    };
    void ReleaseWindow() override;
    void HelpShowing() override { WantKeyboard(false); }  // the help window takes it
    void MakeSurface();
    void DropSurface();
    void ApplyPlace();
    void Configured(std::uint32_t serial);
    void Draw();
    void ScheduleDraw();
    Buffer* FreeBuffer();
    void DropBuffers();
    int Scale() const;

    // The seat's pointer and keyboard, taken when they come and let go when they go.
    void Seat(std::uint32_t capabilities);
    void TakePointer(bool present);
    void TakeKeyboard(bool present);
    void PointerAt(double x, double y);
    void Button(std::uint32_t button, bool pressed);
    void PointerLeft();
    void SetCursor(std::uint32_t serial);
    void Keymap(int fd, std::uint32_t size);
    void Key(std::uint32_t key);
    void WantKeyboard(bool wanted);
    void ShowToolTip();
    void OutputsChanged();

    WaylandDisplay& display_;
    QtDrawing drawing_;
    Rect where_;  // in the compositor's logical pixels, as the gauge sees screens
    const WaylandOutput* output_ = nullptr;
    wl_surface* surface_ = nullptr;
    zwlr_layer_surface_v1* layer_ = nullptr;
    wl_callback* frame_ = nullptr;
    bool configured_ = false;
    bool keyboardWanted_ = false;
    bool keyboardFocused_ = false;
    int bufferScale_ = 1;
    std::array<Buffer, 2> buffers_;
    QRegion dirty_;
    QTimer drawSoon_;

    wl_pointer* pointer_ = nullptr;
    wl_keyboard* keyboard_ = nullptr;
    xkb_context* xkb_ = nullptr;
    xkb_keymap* keymap_ = nullptr;
    xkb_state* keys_ = nullptr;
    wl_cursor_theme* cursorTheme_ = nullptr;
    int cursorScale_ = 0;
    wl_surface* cursorSurface_ = nullptr;
    bool pointerInside_ = false;
    PointF pointerAt_;  // surface-local
    MouseButtons buttons_ = kNoButton;
    Point pressPlace_;                 // where the window was at the press that began a drag
    std::uint32_t lastPressTime_ = 0;  // the compositor's time of this press
    std::uint32_t lastPress_ = 0;      // and of the last one, for a double-click
    PointF lastPressAt_;
    QTimer toolTipSoon_;
    bool unloaded_ = false;
};

}  // namespace kelvane
