// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QFont>

namespace kelvane {

// The window's small sans-serif fonts for figures, each sized for its figures
// (kNumberFigures, kNarrowNumberFigures: drawing/drawing.h). A figure wider than its label even
// in the narrow font is drawn in it squeezed across into the label.
QFont NumberFont();
QFont NarrowNumberFont();
// The drive letter's font: the same size, bold.
QFont DriveLetterFont();
// The pin arrows of the title strip.
QFont ArrowFont();

}  // namespace kelvane
