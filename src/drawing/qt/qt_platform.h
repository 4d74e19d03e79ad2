// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#pragma once

namespace kelvane {

// The window system Qt runs on, asked of Qt in this one place.
enum class QtWindowSystem { kX11, kWayland, kOther };
QtWindowSystem QtRunsOn();

}  // namespace kelvane
