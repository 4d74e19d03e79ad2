// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

// The main window's own controls: the mouse over them, dragging by the logo, the size cycle,
// the pins, and the help and close buttons with their pressed faces.

#include <algorithm>

#include "core/frm_main.h"
#include "rules/panels_mode.h"
#include "rules/placement.h"

namespace kelvane {
namespace {

std::int16_t WholeTwips(double twips) {
    return static_cast<std::int16_t>(std::clamp(RoundHalfEven(twips), -32768.0, 32767.0));
}

}  // namespace

// A press lands on the frontmost control under it that takes presses; a double-click's
// second press acts as a press everywhere but on the logo.
void FrmMain::MouseDown(QPointF pixels, bool doubleClick) {
    if (pressed_ == kNoControl) {
        pressed_ = controls.HitTest(pixels.toPoint());
    }
    if (pressed_ == kNoControl) {
        return;
    }
    const Control& control = controls[pressed_];
    if (pressed_ == Image1) {
        clickPending_ = !doubleClick;
        if (doubleClick) {
            Image1_DblClick();
        } else {
            Image1_MouseDown((pixels - control.pixels.topLeft()) * 15.0);
        }
    } else if (pressed_ == imgMin1) {
        imgMin1_MouseDown();
    } else if (pressed_ == imgClose2) {
        imgClose2_MouseDown();
    } else if (pressed_ == imgHelp1) {
        imgHelp1_MouseDown();
    } else if (const int title = TitleAt(pressed_); title >= 0) {
        static constexpr void (FrmMain::*kTitleHandlers[kTitles])(int) = {
            &FrmMain::imgURP_MouseDown, &FrmMain::imgURK_MouseDown, &FrmMain::imgURM_MouseDown,
            &FrmMain::imgFRP_MouseDown, &FrmMain::imgFRK_MouseDown, &FrmMain::imgFRM_MouseDown,
            &FrmMain::imgTRK_MouseDown, &FrmMain::imgUD_MouseDown};
        (this->*kTitleHandlers[title])(control.index);
    } else {
        clickPending_ = true;
    }
    SettingsMayHaveChanged();
}

// Which of the eight title pictures a control is, or -1.
int FrmMain::TitleAt(ControlId id) const {
    const int panel = controls[id].index;
    for (int t = 0; panel >= 0 && t < kTitles; ++t) {
        if (Titles[static_cast<std::size_t>(t)][static_cast<std::size_t>(panel)] == id) {
            return t;
        }
    }
    return -1;
}

void FrmMain::MouseMove(QPointF pixels, Qt::MouseButtons buttons) {
    // The window's move, which the view reports, is what may need saving.
    if (pressed_ == Image1) {
        Image1_MouseMove(buttons, (pixels - controls[Image1].pixels.topLeft()) * 15.0);
    }
}

void FrmMain::MouseUp(QPointF pixels, Qt::MouseButtons buttonsStillDown) {
    const ControlId released = pressed_;
    if (released == kNoControl) {
        return;
    }
    const bool inside = controls[released].pixels.contains(pixels.toPoint());
    const bool click = std::exchange(clickPending_, false) && inside;
    if (buttonsStillDown == Qt::NoButton) {
        pressed_ = kNoControl;
    }
    if (released == imgMin1) {
        imgMin1_MouseUp();
    } else if (released == imgClose2) {
        imgClose2_MouseUp();
    } else if (released == imgHelp1) {
        imgHelp1_MouseUp();
    } else if (click && released == Image1) {
        Image1_Click();
    } else if (click && released == Label1) {
        Label1_Click();
    } else if (click && released == Label2) {
        Label2_Click();
    } else if (click && released == Label3) {
        Label3_Click();
    }
    SettingsMayHaveChanged();
}

void FrmMain::Image1_MouseDown(QPointF twips) {
    intDragX = WholeTwips(twips.x());
    intDragY = WholeTwips(twips.y());
}

// Only the left button alone drags; the window follows so that the grabbed point stays
// under the pointer. The drag is not limited to the screen.
void FrmMain::Image1_MouseMove(Qt::MouseButtons buttons, QPointF twips) {
    if (buttons != Qt::LeftButton) {
        return;
    }
    const QRect window = host_->Geometry();
    const double left = window.x() * 15.0 + twips.x() - intDragX;
    const double top = window.y() * 15.0 + twips.y() - intDragY;
    host_->Move({TwipsToPixels(left), TwipsToPixels(top)});
}

void FrmMain::Image1_Click() {
    RememberPosition();
}

// The size cycle places the window where it stood at the last logo click, size-button press
// or pin, not where it stands when the cycle steps.
void FrmMain::RememberPosition() {
    lngLeft = host_->Geometry().x();
    lngTop = host_->Geometry().y();
}

// Steps the size cycle (the click that began the double-click took the position), then lifts
// the window so that it does not reach below its screen.
void FrmMain::Image1_DblClick() {
    QRect window = host_->Geometry();
    if (const std::uint8_t next = LogoDoubleClickStep(PanelsMode); next != 0) {
        PanelsMode = next;
        // What was asked for: the window manager may not have placed the window yet.
        window = {lngLeft, lngTop, kWindowWidth, WindowHeight(PanelsShown(next))};
        host_->SetWindowPos(window);
    }
    const QRect screen = ScreenOf(window);
    const int screenBottom = screen.y() + screen.height();
    if (screenBottom - window.y() - window.height() < 0) {
        host_->Move({window.x(), screenBottom - window.height()});
    }
}

void FrmMain::imgMin1_MouseDown() {
    controls.SetVisible(imgMin2, true);
    RememberPosition();
}

void FrmMain::imgMin1_MouseUp() {
    controls.SetVisible(imgMin2, false);
    if (const std::uint8_t next = SizeButtonStep(PanelsMode); next != 0) {
        PanelsMode = next;
        host_->SetWindowPos({lngLeft, lngTop, kWindowWidth, WindowHeight(PanelsShown(next))});
    }
}

void FrmMain::imgClose2_MouseDown() {
    controls.SetVisible(imgClose3, true);
}

void FrmMain::imgClose2_MouseUp() {
    CloseAction();
}

void FrmMain::imgHelp1_MouseDown() {
    controls.SetVisible(imgHelp2, true);
}

void FrmMain::imgHelp1_MouseUp() {
    controls.SetVisible(imgHelp2, false);
    host_->ShowHelp();
}

QRect FrmMain::ScreenOf(const QRect& window) const {
    return platform_.screen.GeometryAt(window.center());
}

// The pins use the edges of the screen that holds the window.
void FrmMain::Label1_Click() {
    const QRect window = host_->Geometry();
    PinTo({ScreenOf(window).x(), window.y()});
}

void FrmMain::Label2_Click() {
    const QRect window = host_->Geometry();
    const QRect screen = ScreenOf(window);
    PinTo({screen.x() + screen.width() - window.width(), window.y()});
}

void FrmMain::Label3_Click() {
    const QRect window = host_->Geometry();
    PinTo({window.x(), ScreenOf(window).y()});
}

// A pin remembers where it sent the window, which the window manager may not have done yet.
void FrmMain::PinTo(QPoint place) {
    host_->Move(place);
    lngLeft = place.x();
    lngTop = place.y();
}

void FrmMain::ScreensChanged() {
    const QRect window = host_->Geometry();
    const QRect fit = FitOnScreens(window, platform_.screen.Geometries());
    if (fit != window) {
        host_->Move(fit.topLeft());
    }
}

void FrmMain::ComeBack() {
    host_->SetWindowPos(FitOnScreens(host_->Geometry(), platform_.screen.Geometries()));
}

}  // namespace kelvane
