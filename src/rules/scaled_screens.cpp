// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#include "rules/scaled_screens.h"

#include <cmath>
#include <limits>

namespace kelvane {
namespace {

int Round(double v) {
    return static_cast<int>(std::lround(v));
}

// How far `p` lies outside `r`, squared; 0 inside.
double DistanceSquared(const Rect& r, PointF p) {
    const double dx = p.x < r.x ? r.x - p.x : p.x >= r.Right() ? p.x - (r.Right() - 1) : 0;
    const double dy = p.y < r.y ? r.y - p.y : p.y >= r.Bottom() ? p.y - (r.Bottom() - 1) : 0;
    return dx * dx + dy * dy;
}

template <typename GeometryOf>
int Nearest(const std::vector<ScaledScreen>& screens, PointF p, GeometryOf geometry) {
    int best = -1;
    double bestDistance = std::numeric_limits<double>::infinity();
    for (std::size_t i = 0; i < screens.size(); ++i) {
        const double d = DistanceSquared(geometry(screens[i]), p);
        if (d < bestDistance) {
            best = static_cast<int>(i);
            bestDistance = d;
        }
    }
    return best;
}

}  // namespace

Rect ScaledScreen::Logical() const {
    return {device.x, device.y, Round(device.width / scale), Round(device.height / scale)};
}

int ScreenAtDevice(const std::vector<ScaledScreen>& screens, Point device) {
    return Nearest(screens, device, [](const ScaledScreen& s) { return s.device; });
}

int ScreenAtLogical(const std::vector<ScaledScreen>& screens, PointF logical) {
    return Nearest(screens, logical, [](const ScaledScreen& s) { return s.Logical(); });
}

PointF ToLogical(const std::vector<ScaledScreen>& screens, Point device) {
    const int i = ScreenAtDevice(screens, device);
    if (i < 0) {
        return device;
    }
    const ScaledScreen& s = screens[static_cast<std::size_t>(i)];
    const Point corner = s.device.TopLeft();
    return PointF(corner) + PointF(device - corner) * (1.0 / s.scale);
}

Point ToDevice(const std::vector<ScaledScreen>& screens, PointF logical) {
    const int i = ScreenAtLogical(screens, logical);
    if (i < 0) {
        return logical.Rounded();
    }
    const ScaledScreen& s = screens[static_cast<std::size_t>(i)];
    const PointF corner = s.device.TopLeft();
    return (corner + (logical - corner) * s.scale).Rounded();
}

Rect ToDevice(const std::vector<ScaledScreen>& screens, const Rect& logical) {
    const int i = ScreenAtLogical(screens, logical.TopLeft());
    const double scale = i < 0 ? 1.0 : screens[static_cast<std::size_t>(i)].scale;
    const Point corner = ToDevice(screens, logical.TopLeft());
    return {corner.x, corner.y, Round(logical.width * scale), Round(logical.height * scale)};
}

Rect ToLogical(const std::vector<ScaledScreen>& screens, const Rect& device) {
    const int i = ScreenAtDevice(screens, device.TopLeft());
    const double scale = i < 0 ? 1.0 : screens[static_cast<std::size_t>(i)].scale;
    const Point corner = ToLogical(screens, device.TopLeft()).Rounded();
    return {corner.x, corner.y, Round(device.width / scale), Round(device.height / scale)};
}

}  // namespace kelvane
