// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QPixmap>

namespace kelvane {

// A picture as drawn at `ratio` device pixels to a pixel, from its artwork at 1 (`normal`)
// and at 2 (`dense`): those two as they are, and at any other ratio (1.25, 1.5 and 1.75 on
// laptops) the 2x artwork scaled smoothly, which keeps every stroke of the lettering where
// dropping whole rows of pixels would not ("Iroo Ram KB" for "Free Ram KB").
QPixmap ArtworkAt(const QPixmap& normal, const QPixmap& dense, qreal ratio);

}  // namespace kelvane
