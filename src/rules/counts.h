// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#pragma once

namespace kelvane {

constexpr int kPanels = 8;
constexpr int kSegments = 27;
constexpr int kDriveLetters = 24;  // C: to Z:

}  // namespace kelvane
