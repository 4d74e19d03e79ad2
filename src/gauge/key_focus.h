// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#pragma once

#include "gauge/gauge_adapter.h"
#include "rules/geometry.h"

namespace kelvane {

// Where the keyboard is among the parts the window draws, on every host: the six buttons from
// the left (GaugeButton), then the visible panels from the top (kGaugeButtons + panel). Tab
// walks them round and round; a click on a button or a panel's title takes the keyboard there,
// as a toolkit's button does. The dotted line that shows the place is drawn once Tab has been
// used, until the mouse is pressed.
class KeyFocus {
  public:
    explicit KeyFocus(GaugeAdapter& adapter) : adapter_(adapter) {}

    // The part the keyboard is on, -1 before any; a panel that a size step hid passes it on to
    // the last one still shown.
    int Current() const;
    // Tab (`next`) or Shift+Tab: the keyboard moves on, and its place shows.
    void Step(bool next);
    // The keyboard goes to `focus`, without showing where it is.
    void MoveTo(int focus) { focus_ = focus; }
    // The part a click at `pixels` lands on that takes the keyboard, or -1.
    int PartAt(Point pixels) const;
    // Where the part `focus` is, in pixels from the window's corner; empty for -1.
    Rect Where(int focus) const;
    // What a click on the current part does: a button acts, a panel steps to its next reading.
    void PressCurrent();

    // Whether the dotted line is drawn; the mouse hides it, Tab shows it.
    bool Shown() const { return shown_ && Current() >= 0; }
    void Show(bool shown) { shown_ = shown; }

  private:
    int Stops() const;

    GaugeAdapter& adapter_;
    int focus_ = -1;
    bool shown_ = false;
};

}  // namespace kelvane
