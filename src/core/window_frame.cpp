// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

// The main window's own controls: dragging by the logo, the size cycle, the pins, and the
// help and close buttons with their pressed faces.

#include "core/window_frame.h"

#include <algorithm>

#include "rules/panels_mode.h"
#include "rules/placement.h"
#include "rules/window_layout.h"

namespace kelvane {
namespace {

std::int16_t WholeTwips(double twips) {
    return static_cast<std::int16_t>(std::clamp(RoundHalfEven(twips), -32768.0, 32767.0));
}

}  // namespace

WindowFrame::WindowFrame(Controls& controls, const MainLayout& layout, ScreenInfo& screen)
    : controls_(controls), l_(layout), screen_(screen) {}

// Until the window system tells otherwise, the window is where it was asked to be.
void WindowFrame::Place(Point stored, std::uint8_t PanelsMode) {
    PanelsMode_ = PanelsMode;
    const Rect wanted(stored, {kWindowWidth, WindowHeight(PanelsShown(PanelsMode))});
    where_ = FitOnScreens(wanted, screen_.Geometries());
    SetWindowPos(where_);
}

void WindowFrame::SetWindowPos(const Rect& rect) {
    host_->SetWindowPos(rect);
}

void WindowFrame::Resize(std::uint8_t code, int panels) {
    PanelsMode_ = code;
    SetWindowPos({where_.TopLeft(), {where_.width, WindowHeight(panels)}});
}

void WindowFrame::KeepOnScreens() {
    const Rect fit = FitOnScreens(where_, screen_.Geometries());
    if (fit != where_) {
        host_->Move(fit.TopLeft());
    }
}

void WindowFrame::ScreensChanged() {
    KeepOnScreens();
}

void WindowFrame::ComeBack() {
    KeepOnScreens();
    host_->BringToFront();
}

void WindowFrame::Image1_MouseDown(PointF twips) {
    intDragX = WholeTwips(twips.x);
    intDragY = WholeTwips(twips.y);
}

// Only the left button alone drags; the window follows so that the grabbed point stays
// under the pointer. The drag is not limited to the screen.
void WindowFrame::Image1_MouseMove(MouseButtons buttons, PointF twips) {
    if (buttons != kLeftButton) {
        return;
    }
    const double left = where_.x * kTwipsPerPixel + twips.x - intDragX;
    const double top = where_.y * kTwipsPerPixel + twips.y - intDragY;
    host_->Move({TwipsToPixels(left), TwipsToPixels(top)});
}

void WindowFrame::Image1_Click() {
    RememberPosition();
}

// The size cycle places the window where it stood at the last logo click, size-button press
// or pin, not where it stands when the cycle steps.
void WindowFrame::RememberPosition() {
    lngLeft = where_.x;
    lngTop = where_.y;
}

// Steps the size cycle (the click that began the double-click took the position), then lifts
// the window so that it does not reach below its screen.
void WindowFrame::Image1_DblClick() {
    Rect window = where_;
    if (const std::uint8_t next = LogoDoubleClickStep(PanelsMode_); next != 0) {
        PanelsMode_ = next;
        // What was asked for: the window manager may not have placed the window yet.
        window = {lngLeft, lngTop, kWindowWidth, WindowHeight(PanelsShown(next))};
        SetWindowPos(window);
    }
    const Rect screen = ScreenOf(window);
    if (screen.Bottom() - window.y - window.height < 0) {
        host_->Move({window.x, screen.Bottom() - window.height});
    }
}

void WindowFrame::imgMin1_MouseDown() {
    controls_.SetVisible(l_.imgMin2, true);
    RememberPosition();
}

void WindowFrame::imgMin1_MouseUp() {
    controls_.SetVisible(l_.imgMin2, false);
    if (const std::uint8_t next = SizeButtonStep(PanelsMode_); next != 0) {
        PanelsMode_ = next;
        SetWindowPos({lngLeft, lngTop, kWindowWidth, WindowHeight(PanelsShown(next))});
    }
}

void WindowFrame::imgClose2_MouseDown() {
    controls_.SetVisible(l_.imgClose3, true);
}

void WindowFrame::imgClose2_MouseUp() {
    host_->UnloadAll();
}

void WindowFrame::imgHelp1_MouseDown() {
    controls_.SetVisible(l_.imgHelp2, true);
}

void WindowFrame::imgHelp1_MouseUp() {
    controls_.SetVisible(l_.imgHelp2, false);
    host_->ShowHelp();
}

// The pins use the edges of the screen that holds the window.
void WindowFrame::Label1_Click() {
    PinTo({ScreenOf(where_).x, where_.y});
}

void WindowFrame::Label2_Click() {
    const Rect screen = ScreenOf(where_);
    PinTo({screen.Right() - where_.width, where_.y});
}

void WindowFrame::Label3_Click() {
    PinTo({where_.x, ScreenOf(where_).y});
}

// A pin remembers where it sent the window, which the window manager may not have done yet.
void WindowFrame::PinTo(Point place) {
    host_->Move(place);
    lngLeft = place.x;
    lngTop = place.y;
}

}  // namespace kelvane
