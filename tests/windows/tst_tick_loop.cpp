// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

// The refresh loop: its timer is the high-resolution one where Windows has it, it ticks every
// 10 ms and never faster, and the messages of the window go on between ticks. (How close to
// 100 a second it keeps on a busy machine is the benchmark's to measure.)

#include <doctest/doctest.h>

#include <chrono>

#include "hosts/win32/tick_loop.h"

using namespace kelvane;

TEST_CASE("the refresh ticks from a high-resolution timer, no faster than every 10 ms") {
    int ticks = 0;
    int messages = 0;
    TickLoop loop([&ticks] {
        if (++ticks == 50) {
            ::PostQuitMessage(7);
        }
        ::PostThreadMessageW(::GetCurrentThreadId(), WM_APP, 0, 0);
    });
    CHECK(loop.HighResolution());
    const auto start = std::chrono::steady_clock::now();
    const int status = loop.Run([&messages](MSG& msg) {
        messages += msg.message == WM_APP;
        return msg.message == WM_APP;
    });
    const auto elapsed = std::chrono::steady_clock::now() - start;
    CHECK(status == 7);
    CHECK(ticks == 50);
    CHECK(messages >= 49);
    CHECK(elapsed >= std::chrono::milliseconds(490));
}
