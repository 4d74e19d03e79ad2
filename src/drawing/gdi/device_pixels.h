// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#pragma once

#include <cmath>

#include "rules/geometry.h"

namespace kelvane {

// The window's pixels on a screen of `ratio` device pixels to a pixel. Every edge is rounded to
// the nearest device pixel, so that rectangles that meet in pixels meet on the device too, with
// neither a gap nor an overlap between them, at any ratio.
struct DevicePixels {
    double ratio = 1.0;

    int At(int pixels) const { return static_cast<int>(std::floor(pixels * ratio + 0.5)); }
    Rect Of(const Rect& pixels) const {
        const int left = At(pixels.x);
        const int top = At(pixels.y);
        return {left, top, At(pixels.Right()) - left, At(pixels.Bottom()) - top};
    }
    // The pixels whose device pixels cover `device`: those to paint for it.
    Rect Covering(const Rect& device) const {
        const int left = First(device.x);
        const int top = First(device.y);
        return {left, top, First(device.Right() - 1) + 1 - left,
                First(device.Bottom() - 1) + 1 - top};
    }

  private:
    // The pixel a device pixel lies in: the last one whose edge rounds to it or before.
    int First(int device) const { return static_cast<int>(std::ceil((device + 0.5) / ratio)) - 1; }
};

}  // namespace kelvane
