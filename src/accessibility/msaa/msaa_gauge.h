// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#pragma once

#include <windows.h>

#include <string>

#include "gauge/gauge_adapter.h"
#include "gauge/telling.h"

namespace kelvane {

class FrmMain;
class Win32Window;
class GaugeAccessible;

// The gauge as Windows' screen readers read it, through Active Accessibility (and UI
// Automation's proxy for it): the window's client area answers as "Kelvane", its children the
// six buttons, as push buttons, then the visible panels, as progress bars whose value is the
// figure shown. A child's number is its place in the Tab order plus one.
//
// What changes is told as on Linux: Tab's moves at once; once a second, while the gauge has
// been the foreground window since the round before, each panel whose figure or name changed;
// a moment after a key, a click or a press changed what the window shows, one announcement of
// it. Nothing of this runs until a screen reader has first asked for the window.
class MsaaGauge {
  public:
    MsaaGauge(Win32Window& window, FrmMain& gauge);
    ~MsaaGauge();
    MsaaGauge(const MsaaGauge&) = delete;
    MsaaGauge& operator=(const MsaaGauge&) = delete;

    // The child whose name is the last announcement; outside the children a client walks.
    static constexpr LONG kAnnouncement = 100;

    // What the interface reads and calls on.
    GaugeAdapter& Adapter() { return adapter_; }
    Win32Window& Window() { return window_; }
    const std::wstring& Announcement() const { return announcement_; }
    // Presses the child (its default action) from the message loop, never inside the client's
    // call, which the press may outlive (the close button ends the program).
    void PressLater(LONG child);

  private:
    bool Message(UINT message, WPARAM w, LPARAM l, LRESULT& result);
    void Press(LONG child);
    void Round();
    void TellArrangement();
    void TellFocus();
    Arrangement Now() const;
    void Notify(DWORD event, LONG child) const;

    Win32Window& window_;
    FrmMain& gauge_;
    GaugeAdapter adapter_;
    GaugeAccessible* accessible_ = nullptr;
    bool listened_ = false;
    bool wasForeground_ = false;
    PanelRounds rounds_;
    Arrangement shown_;
    std::wstring announcement_;
};

}  // namespace kelvane
