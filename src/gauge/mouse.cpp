// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

// The mouse over the main window: which control a press lands on, and the panels' strips and
// tooltips.

#include <utility>

#include "gauge/frm_main.h"
#include "rules/window_layout.h"

namespace kelvane {

namespace {

// Longer than a screen reader's tries at a click take before it presses by the action.
constexpr std::chrono::milliseconds kOnePress{2000};

bool Within(const std::optional<std::chrono::milliseconds>& then, std::chrono::milliseconds now) {
    return then.has_value() && now - *then < kOnePress;
}

}  // namespace

// A press lands on the frontmost control under it that takes presses; a double-click's
// second press acts as a press everywhere but on the logo.
void FrmMain::MouseDown(PointF pixels, bool doubleClick) {
    if (pressed_ == kNoControl) {
        const PointF screen = pixels + frame_.Where().TopLeft();
        const std::chrono::milliseconds now = system_.clock.Now();
        if (pinnedFrom_ == screen || Within(assistedPress_, now)) {
            return;
        }
        pinnedFrom_.reset();
        mousePressed_ = now;
        pressed_ = controls_.HitTest(pixels.Rounded());
    }
    if (pressed_ == kNoControl) {
        return;
    }
    const Control& control = controls_[pressed_];
    if (pressed_ == layout_.Image1) {
        clickPending_ = !doubleClick;
        if (doubleClick) {
            frame_.Image1_DblClick();
        } else {
            frame_.Image1_MouseDown((pixels - control.pixels.TopLeft()) * kTwipsPerPixel);
        }
    } else if (pressed_ == layout_.imgMin1) {
        frame_.imgMin1_MouseDown();
    } else if (pressed_ == layout_.imgClose2) {
        frame_.imgClose2_MouseDown();
    } else if (pressed_ == layout_.imgHelp1) {
        frame_.imgHelp1_MouseDown();
    } else if (const int title = panels_.TitleAt(pressed_); title >= 0) {
        panels_.TitleMouseDown(control.index, title);
    } else {
        clickPending_ = true;
    }
    SettingsMayHaveChanged();
}

// The pointer is taken on the screen, against where the window is as last told: an event's
// own position is against where the window stood when the pointer moved, and in a drag the
// window manager may have carried out the previous step since, which would add that step
// twice. (The window's move, which the view reports, is what may need saving.)
void FrmMain::MouseMove(PointF screen, MouseButtons buttons) {
    if (pressed_ == layout_.Image1) {
        const PointF onLogo =
            screen - frame_.Where().TopLeft() - controls_[layout_.Image1].pixels.TopLeft();
        frame_.Image1_MouseMove(buttons, onLogo * kTwipsPerPixel);
    }
}

void FrmMain::MouseUp(PointF pixels, MouseButtons buttonsStillDown) {
    const ControlId released = pressed_;
    if (released == kNoControl) {
        return;
    }
    const bool inside = controls_[released].pixels.Contains(pixels.Rounded());
    const bool click = std::exchange(clickPending_, false) && inside;
    if (buttonsStillDown == kNoButton) {
        pressed_ = kNoControl;
    }
    if (released == layout_.imgMin1) {
        frame_.imgMin1_MouseUp();
    } else if (released == layout_.imgClose2) {
        frame_.imgClose2_MouseUp();
    } else if (released == layout_.imgHelp1) {
        frame_.imgHelp1_MouseUp();
    } else if (click && released == layout_.Image1) {
        frame_.Image1_Click();
    } else if (click && (released == layout_.Label1 || released == layout_.Label2 ||
                         released == layout_.Label3)) {
        const PointF screen = pixels + frame_.Where().TopLeft();
        if (released == layout_.Label1) {
            PinLeft();
        } else if (released == layout_.Label2) {
            PinRight();
        } else {
            PinTop();
        }
        pinnedFrom_ = screen;
    }
    SettingsMayHaveChanged();
}

// As a press on the panel's title picture, whichever of the eight shows.
void FrmMain::NextReading(int panel) {
    if (panel < 0 || panel >= PanelsShown()) {
        return;
    }
    const ControlId shown = controls_.HitTest(PanelTitlePoint(panel));
    if (const int title = shown == kNoControl ? -1 : panels_.TitleAt(shown); title >= 0) {
        panels_.TitleMouseDown(controls_[shown].index, title);
    }
    SettingsMayHaveChanged();
}

// The buttons' pressed pictures show and are let go in the one call, so nothing of them is
// drawn: the action is the release's.
void FrmMain::StepSize() {
    frame_.imgMin1_MouseDown();
    frame_.imgMin1_MouseUp();
    SettingsMayHaveChanged();
}

void FrmMain::PinLeft() {
    frame_.Label1_Click();
    SettingsMayHaveChanged();
}

void FrmMain::PinTop() {
    frame_.Label3_Click();
    SettingsMayHaveChanged();
}

void FrmMain::PinRight() {
    frame_.Label2_Click();
    SettingsMayHaveChanged();
}

void FrmMain::OpenHelp() {
    frame_.imgHelp1_MouseDown();
    frame_.imgHelp1_MouseUp();
}

void FrmMain::CloseGauge() {
    frame_.imgClose2_MouseDown();
    frame_.imgClose2_MouseUp();
}

bool FrmMain::TakeAssistedPress() {
    const std::chrono::milliseconds now = system_.clock.Now();
    assistedAsked_ = now;
    if (Within(mousePressed_, now)) {
        return false;
    }
    assistedPress_ = now;
    return true;
}

bool FrmMain::AssistedPressJustNow() const {
    return Within(assistedAsked_, system_.clock.Now());
}

int FrmMain::PanelAt(Point pixels) {
    for (int p = 0; p < kPanels; ++p) {
        const Rect strip = PanelStrip(p);
        if (pixels.y >= strip.y && pixels.y < strip.Bottom()) {
            return p;
        }
    }
    return -1;
}

}  // namespace kelvane
