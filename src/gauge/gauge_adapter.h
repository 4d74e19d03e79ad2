// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#pragma once

#include "gauge/words.h"
#include "rules/geometry.h"
#include "rules/reading_rules.h"

namespace kelvane {

class FrmMain;

// One panel as the window shows it now: what the last tick made of its reading (its figure,
// unit and caption, where its bar is full, a drive's volume), and where its parts are.
struct PanelShown : PanelResult {
    Rect rect;   // its strip, in pixels from the window's corner
    Rect title;  // its title picture, and
    Rect label;  // the label its number is drawn in, both in pixels as `rect`
};

// Everything assistive technologies read of the gauge and call on it, on every host. Only this
// class knows the gauge's members, so that a change to the gauge's insides touches this file
// alone.
class GaugeAdapter {
  public:
    explicit GaugeAdapter(FrmMain& gauge) : gauge_(gauge) {}

    int VisiblePanels() const;
    PanelShown Panel(int panel) const;
    // The reading the panel has now, which its figures follow at the next tick.
    SectionKind Reading(int panel) const;
    Rect ButtonRect(GaugeButton button) const;
    Rect LogoRect() const;

    // Where the window is on the screen, as the window system last said.
    Rect WindowOnScreen() const;

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
