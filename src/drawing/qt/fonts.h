// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QFont>

namespace kelvane {

// The window's small sans-serif font, sized so that the widest number a panel can show on a
// 64 GiB machine ("67108864 KB") fits the 60-pixel number label.
QFont NumberFont();
// For numbers wider than their label in that font: a size at which a used RAM KB figure of a
// 4 TiB machine ("4294967296 KB") fits the narrowest number label, 55 pixels, unless that
// size would be too small to read. Wider figures (up to 16 digits, from 64-bit byte counts)
// are drawn in it squeezed across into their label.
QFont NarrowNumberFont();
// The drive letter's font: the same size, bold.
QFont DriveLetterFont();
// The pin arrows of the title strip.
QFont ArrowFont();

}  // namespace kelvane
