// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#pragma once

#include <cstdint>

#include "core/controls.h"
#include "core/main_layout.h"
#include "core/mouse_buttons.h"
#include "core/system.h"
#include "core/window_host.h"

namespace kelvane {

// The main window's place and size, and its own controls: the logo to drag it by and to
// double-click, the size button, the pins, and the help and close buttons with their pressed
// faces. Where the window is comes from the view, which tells it whenever the window system
// moved the window; it never asks.
class WindowFrame {
  public:
    WindowFrame(Controls& controls, const MainLayout& layout, ScreenInfo& screen);

    void AttachHost(WindowHost& host) { host_ = &host; }

    // Start-up: the window placed at its stored place, brought within reach of the screens,
    // with the height of its size code; above other windows, shown, not activated.
    void Place(Point stored, std::uint8_t PanelsMode);
    // The window system has the window at `rect` now.
    void Moved(const Rect& rect) { where_ = rect; }
    // Where the window is, as last told; false where the window system does not tell.
    const Rect& Where() const { return where_; }
    bool PositionKnown() const { return host_->PositionKnown(); }

    std::uint8_t PanelsMode() const { return PanelsMode_; }
    // A function key's size: code and height, at the window's place and width.
    void Resize(std::uint8_t code, int panels);

    // The geometry of the screen that holds the centre of `window`, or the primary screen's.
    Rect ScreenOf(const Rect& window) const { return screen_.GeometryAt(window.Center()); }
    // The screens changed: a window no longer wholly on them comes back the shortest way.
    void ScreensChanged();
    // A later start asks for the gauge: it comes back onto a screen, above other windows.
    void ComeBack();

    // Mouse positions are in twips, relative to the control.
    void Image1_MouseDown(PointF twips);
    void Image1_MouseMove(MouseButtons buttons, PointF twips);
    void Image1_Click();
    void Image1_DblClick();
    void imgMin1_MouseDown();
    void imgMin1_MouseUp();
    void imgClose2_MouseDown();
    void imgClose2_MouseUp();
    void imgHelp1_MouseDown();
    void imgHelp1_MouseUp();
    void Label1_Click();
    void Label2_Click();
    void Label3_Click();

  private:
    void RememberPosition();
    void PinTo(Point place);
    void SetWindowPos(const Rect& rect);
    // Moves the window the shortest way back onto the screens, where it is not wholly on them.
    void KeepOnScreens();

    Controls& controls_;
    const MainLayout& l_;
    ScreenInfo& screen_;
    WindowHost* host_ = nullptr;
    Rect where_;
    std::uint8_t PanelsMode_ = 0;
    std::int32_t lngLeft = 0;   // pixels
    std::int32_t lngTop = 0;    // pixels
    std::int16_t intDragX = 0;  // twips
    std::int16_t intDragY = 0;  // twips
};

}  // namespace kelvane
