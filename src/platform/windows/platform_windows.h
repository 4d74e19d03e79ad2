// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#pragma once

// Windows behind the gauge's interfaces (core/system.h). Standard types only here, so that
// whoever makes the gauge needs no Windows header for it.

#include <memory>

#include "core/system.h"

namespace kelvane {

std::unique_ptr<MemoryStatusSource> MakeSystemMemoryStatus();
std::unique_ptr<Clock> MakeSystemClock();

}  // namespace kelvane
