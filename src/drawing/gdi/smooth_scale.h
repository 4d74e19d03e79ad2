// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#pragma once

#include <cstdint>
#include <vector>

#include "rules/geometry.h"

namespace kelvane {

// Rows of 32-bit pixels (four 8-bit channels, premultiplied where they carry alpha), `stride`
// pixels apart.
template <typename Pixel>
struct PixelRows {
    Pixel* pixels = nullptr;
    int width = 0;
    int height = 0;
    int stride = 0;

    Pixel* Row(int y) const { return pixels + static_cast<std::ptrdiff_t>(y) * stride; }
};
using PixelsIn = PixelRows<const std::uint32_t>;
using PixelsOut = PixelRows<std::uint32_t>;

// Scales `from` onto the rectangle `onto` of `to`, each pixel there the average of what it
// covers of `from`, and writes only the part of it within `clip` (and within `to`). Our own
// rather than the system's: GDI's HALFTONE and WIC's smooth modes are not what Wine does, and
// pictures and squeezed figures are to look the same wherever the gauge runs. `scratch` keeps
// its room from one call to the next.
void ScaleSmoothly(const PixelsIn& from, const PixelsOut& to, const Rect& onto, const Rect& clip,
                   std::vector<float>& scratch);

}  // namespace kelvane
