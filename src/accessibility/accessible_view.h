// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QWidget>

namespace kelvane {

// The one widget that draws the gauge, as assistive technologies need it: where the keyboard is
// among the parts it draws, and word of what a key, a click or a press changed.
class AccessibleView : public QWidget {
    Q_OBJECT
  public:
    using QWidget::QWidget;

    // Where the keyboard is, in the order Tab walks: the six buttons from the left
    // (GaugeButton), then the visible panels from the top, kGaugeButtons + panel; -1 until Tab
    // is first pressed.
    virtual int KeyFocus() const = 0;
    // The keyboard goes to the part at `focus` in the Tab order, as to a button that is
    // pressed, without showing where it is until Tab is used.
    virtual void FocusOn(int focus) = 0;

  signals:
    // A key, a click or a press may have changed what the window shows or where it stands.
    void acted();
    // Tab or Shift+Tab moved the keyboard, a press took it, or the window took the focus again.
    void keyFocusMoved();
};

}  // namespace kelvane
