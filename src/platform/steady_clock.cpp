// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

// The system's clock, the same on every system: standard C++ alone, built into each platform's
// library (platform.h and windows/platform_windows.h declare it).

#include <chrono>
#include <memory>

#include "core/system.h"

namespace kelvane {
namespace {

// Steady: a clock the user sets, or a sleep of the machine, does not hold a save back or bring it
// forward.
class SteadyClock final : public Clock {
  public:
    std::chrono::milliseconds Now() const override {
        return std::chrono::duration_cast<std::chrono::milliseconds>(
            std::chrono::steady_clock::now().time_since_epoch());
    }
};

}  // namespace

std::unique_ptr<Clock> MakeSystemClock() {
    return std::make_unique<SteadyClock>();
}

}  // namespace kelvane
