// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#pragma once

// The screens as Qt sees them.

#include <functional>
#include <memory>

#include "core/window_host.h"

namespace kelvane {

std::unique_ptr<ScreenInfo> MakeSystemScreen();

// Calls `changed` whenever a screen comes, goes or changes its geometry.
void WatchScreens(std::function<void()> changed);

}  // namespace kelvane
