// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QRect>
#include <QString>

#include "rules/reading_rules.h"

namespace kelvane {

class FrmMain;

// The controls of the title strip that act when clicked, from left to right.
enum class GaugeButton { kClose, kSize, kHelp, kPinLeft, kPinTop, kPinRight };
inline constexpr int kGaugeButtons = 6;

// One panel as the window shows it now: what the last tick made of its reading (its figure,
// unit and caption, where its bar is full, a drive's volume), and where its parts are.
struct PanelShown : PanelResult {
    QRect rect;   // its strip, in pixels from the window's corner
    QRect title;  // its title picture, and
    QRect label;  // the label its number is drawn in, both in pixels as `rect`
};

// Everything the accessibility layer reads of the gauge and calls on it. Only this class knows
// the gauge's members, so that a change to the gauge's insides touches this file alone.
class GaugeAdapter {
  public:
    explicit GaugeAdapter(FrmMain& gauge) : gauge_(gauge) {}

    int VisiblePanels() const;
    PanelShown Panel(int panel) const;
    // The reading the panel has now, which its figures follow at the next tick.
    int Reading(int panel) const;
    QRect ButtonRect(GaugeButton button) const;
    QRect LogoRect() const;

    // Where the window is on the screen, as the window system last said.
    QRect WindowOnScreen() const;

    // What a click on the button does, done at once: no press and release at a point, which
    // would meet a press of the mouse that is still held.
    void Press(GaugeButton button);
    // What a click on the panel's title does: it steps to its next reading.
    void NextReading(int panel);
    // Whether an assistive technology's press goes ahead: not when the mouse just pressed.
    bool TakeAssistedPress();

  private:
    FrmMain& gauge_;
};

}  // namespace kelvane
