// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#include "hosts/win32/tick_loop.h"

#include <utility>

#ifndef CREATE_WAITABLE_TIMER_HIGH_RESOLUTION
#define CREATE_WAITABLE_TIMER_HIGH_RESOLUTION 0x00000002
#endif

namespace kelvane {
namespace {

constexpr LONG kPeriodMs = 10;

}  // namespace

TickLoop::TickLoop(std::function<void()> tick) : tick_(std::move(tick)) {
    timer_ = ::CreateWaitableTimerExW(nullptr, nullptr, CREATE_WAITABLE_TIMER_HIGH_RESOLUTION,
                                      TIMER_ALL_ACCESS);
    highResolution_ = timer_ != nullptr;
    if (timer_ == nullptr) {
        timer_ = ::CreateWaitableTimerExW(nullptr, nullptr, 0, TIMER_ALL_ACCESS);
    }
    LARGE_INTEGER due{};
    due.QuadPart = -10'000LL * kPeriodMs;  // relative, in 100 ns
    if (timer_ != nullptr &&
        !::SetWaitableTimer(timer_, &due, kPeriodMs, nullptr, nullptr, FALSE)) {
        ::CloseHandle(timer_);
        timer_ = nullptr;
    }
}

TickLoop::~TickLoop() {
    if (timer_ != nullptr) {
        ::CancelWaitableTimer(timer_);
        ::CloseHandle(timer_);
    }
}

int TickLoop::Run(const std::function<bool(MSG&)>& filter) {
    for (;;) {
        // Without a waitable timer at all, the loop waits at most a period.
        const DWORD woken = ::MsgWaitForMultipleObjectsEx(
            timer_ != nullptr ? 1 : 0, timer_ != nullptr ? &timer_ : nullptr,
            timer_ != nullptr ? INFINITE : static_cast<DWORD>(kPeriodMs), QS_ALLINPUT,
            MWMO_INPUTAVAILABLE);
        if (woken == WAIT_OBJECT_0 && timer_ != nullptr) {
            tick_();
        } else if (woken == WAIT_TIMEOUT) {
            tick_();
        }
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                return static_cast<int>(msg.wParam);
            }
            if (filter(msg)) {
                continue;
            }
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
}

void TickLoop::ModalLoopBegins(HWND window) {
    ::SetTimer(window, kModalTimer, kPeriodMs, nullptr);
}

void TickLoop::ModalLoopEnds(HWND window) {
    ::KillTimer(window, kModalTimer);
}

}  // namespace kelvane
