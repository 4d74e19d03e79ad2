// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#pragma once

#include <windows.h>

#include "drawing/gdi/gdi_objects.h"
#include "rules/geometry.h"

namespace kelvane {

// The quick-help window: one at a time, above other windows, modeless, made afresh at each
// opening (so that it opens where it first stood), closed by its button, Escape or its title
// bar's cross.
class HelpWindow {
  public:
    explicit HelpWindow(HICON windowIcon);
    ~HelpWindow();
    HelpWindow(const HelpWindow&) = delete;
    HelpWindow& operator=(const HelpWindow&) = delete;

    // Shows the window, centred on `screen` (device pixels) at `ratio` with its two pictures
    // (at that ratio) when it is not open, else as it is, in front.
    void Show(const Rect& screen, double ratio, const Dib& helpIcon, const Dib& icon);
    void Close();
    // Takes the keys meant for the open window: Escape closes it whichever control has the
    // focus, Tab walks its controls.
    bool TakeKey(MSG& msg);

  private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM w, LPARAM l);
    LRESULT Handle(UINT message, WPARAM w, LPARAM l);
    void Make(const Rect& screen, double ratio, const Dib& helpIcon, const Dib& icon);

    HICON windowIcon_;
    HWND window_ = nullptr;
    HFONT font_ = nullptr;      // the controls'
    HFONT textFont_ = nullptr;  // the help text's
    HBRUSH green_ = nullptr;
    // The pictures as the window shows them, on its own ground.
    Dib helpIcon_;
    Dib icon_;
};

}  // namespace kelvane
