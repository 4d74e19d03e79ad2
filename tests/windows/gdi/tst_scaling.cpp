// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

// Smooth scaling, at every ratio a screen may have, not only the two that the reference
// pictures show.

#include <doctest/doctest.h>

#include <cmath>

#include "drawing/gdi/smooth_scale.h"

using namespace kelvane;

namespace {

constexpr double kRatios[] = {1.0, 1.25, 1.5, 1.75, 2.0, 2.5, 3.0};

// Pixels of every value, none like its neighbours.
std::vector<std::uint32_t> Pattern(int width, int height) {
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height);
    std::uint32_t seed = 12345;
    for (std::uint32_t& p : pixels) {
        seed = seed * 1664525 + 1013904223;
        p = seed;
    }
    return pixels;
}

double Mean(const std::vector<std::uint32_t>& pixels, int channel) {
    double sum = 0;
    for (const std::uint32_t p : pixels) {
        sum += (p >> (8 * channel)) & 0xff;
    }
    return sum / static_cast<double>(pixels.size());
}

}  // namespace

TEST_CASE("smooth scaling keeps a picture's colours, on the whole, at every size") {
    constexpr int kWidth = 13;
    constexpr int kHeight = 7;
    const std::vector<std::uint32_t> from = Pattern(kWidth, kHeight);
    std::vector<float> scratch;
    for (const double ratio : kRatios) {
        for (const double across : {ratio, 1 / ratio}) {
            const Rect to(0, 0, static_cast<int>(std::lround(kWidth * across)),
                          static_cast<int>(std::lround(kHeight * ratio)));
            std::vector<std::uint32_t> scaled(static_cast<std::size_t>(to.width) * to.height);
            ScaleSmoothly({from.data(), kWidth, kHeight, kWidth},
                          {scaled.data(), to.width, to.height, to.width}, to, to, scratch);
            CAPTURE(to.width);
            CAPTURE(to.height);
            for (int channel = 0; channel < 4; ++channel) {
                // Every source pixel weighs as much as its area: only the rounding of each
                // pixel, by half a step at most, moves the mean.
                CHECK(std::abs(Mean(scaled, channel) - Mean(from, channel)) <= 0.51);
            }
            if (to.width == kWidth && to.height == kHeight) {
                CHECK(scaled == from);
            }
        }
    }
}
