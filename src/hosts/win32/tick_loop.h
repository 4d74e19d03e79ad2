// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#pragma once

#include <windows.h>

#include <functional>

namespace kelvane {

// The message loop with the gauge's refresh in it: `tick` every 10 ms, between the window's
// messages, until WM_QUIT. Windows' own timers run at 64 Hz unless the whole system's timer is
// sped up (timeBeginPeriod, which costs every laptop its battery); a high-resolution waitable
// timer keeps 100 Hz for this program alone. Where there is none (before Windows 10 1803), a
// plain waitable timer runs at whatever rate the system's timer has.
class TickLoop {
  public:
    explicit TickLoop(std::function<void()> tick);
    ~TickLoop();
    TickLoop(const TickLoop&) = delete;
    TickLoop& operator=(const TickLoop&) = delete;

    // Whether the timer is the high-resolution one.
    bool HighResolution() const { return highResolution_; }
    // Runs until WM_QUIT and gives its exit code. `filter` sees each message first and says
    // whether it took it (the keys of a modeless window, which go to its controls).
    int Run(const std::function<bool(MSG&)>& filter);
    // While a modal loop of Windows' own runs (a menu, a move by the system), the loop above
    // does not: a window timer on `window` ticks meanwhile, and Tick() is called on its
    // WM_TIMER.
    void ModalLoopBegins(HWND window);
    void ModalLoopEnds(HWND window);
    void Tick() { tick_(); }
    static constexpr UINT_PTR kModalTimer = 1;

  private:
    std::function<void()> tick_;
    HANDLE timer_ = nullptr;
    bool highResolution_ = false;
};

}  // namespace kelvane
