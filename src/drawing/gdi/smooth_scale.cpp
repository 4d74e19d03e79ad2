// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#include "drawing/gdi/smooth_scale.h"

#include <algorithm>
#include <cmath>

namespace kelvane {
namespace {

constexpr int kChannels = 4;

// The source pixels a target pixel covers, `span` of them from `start`, each weighted by how
// much of it is covered: `add(source, weight)`, the weights summing to one.
template <typename Add>
void Cover(double start, double span, int sources, Add add) {
    const double end = start + span;
    const int first = std::max(0, static_cast<int>(std::floor(start)));
    const int last = std::min(sources, static_cast<int>(std::ceil(end)));
    for (int s = first; s < last; ++s) {
        const double overlap = std::min<double>(s + 1, end) - std::max<double>(s, start);
        add(s, overlap / span);
    }
}

}  // namespace

// Across first, into one row of channels per source row for the target's columns in the clip;
// then down.
void ScaleSmoothly(const PixelsIn& from, const PixelsOut& to, const Rect& onto, const Rect& clip,
                   std::vector<float>& scratch) {
    const Rect shown = onto.Intersected(clip).Intersected(Rect(0, 0, to.width, to.height));
    if (shown.IsEmpty() || from.width <= 0 || from.height <= 0) {
        return;
    }
    const double across = static_cast<double>(from.width) / onto.width;
    const double down = static_cast<double>(from.height) / onto.height;
    const std::size_t rowSize = static_cast<std::size_t>(shown.width) * kChannels;
    scratch.assign(rowSize * static_cast<std::size_t>(from.height), 0.0F);
    for (int x = shown.x; x < shown.Right(); ++x) {
        float* column = scratch.data() + static_cast<std::size_t>(x - shown.x) * kChannels;
        Cover((x - onto.x) * across, across, from.width, [&](int s, double weight) {
            for (int y = 0; y < from.height; ++y) {
                const std::uint32_t pixel = from.Row(y)[s];
                float* sum = column + static_cast<std::size_t>(y) * rowSize;
                for (int c = 0; c < kChannels; ++c) {
                    sum[c] += static_cast<float>(weight * ((pixel >> (8 * c)) & 0xff));
                }
            }
        });
    }
    for (int y = shown.y; y < shown.Bottom(); ++y) {
        std::uint32_t* row = to.Row(y);
        for (int x = shown.x; x < shown.Right(); ++x) {
            float sum[kChannels] = {};
            const std::size_t at = static_cast<std::size_t>(x - shown.x) * kChannels;
            Cover((y - onto.y) * down, down, from.height, [&](int s, double weight) {
                for (int c = 0; c < kChannels; ++c) {
                    sum[c] += static_cast<float>(weight) *
                              scratch[static_cast<std::size_t>(s) * rowSize + at + c];
                }
            });
            std::uint32_t pixel = 0;
            for (int c = 0; c < kChannels; ++c) {
                const auto value =
                    static_cast<std::uint32_t>(std::clamp(sum[c] + 0.5F, 0.0F, 255.0F));
                pixel |= value << (8 * c);
            }
            row[x] = pixel;
        }
    }
}

}  // namespace kelvane
