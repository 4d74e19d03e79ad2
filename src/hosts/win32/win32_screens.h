// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#pragma once

#include <memory>
#include <vector>

#include "core/window_host.h"
#include "rules/scaled_screens.h"

namespace kelvane {

// The monitors as Windows has them now, in device pixels with each one's scale, the primary
// one first.
std::vector<ScaledScreen> Monitors();

// The screens in the gauge's logical pixels (see rules/scaled_screens.h), asked anew each time.
std::unique_ptr<ScreenInfo> MakeWin32Screens();

}  // namespace kelvane
