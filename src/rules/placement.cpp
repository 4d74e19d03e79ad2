// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#include "rules/placement.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace kelvane {
namespace {

// Whether the screens cover every pixel of `rect`: cut it along every screen edge that
// crosses it; each piece lies wholly on a screen or wholly off every screen.
bool Covered(const Rect& rect, const std::vector<Rect>& screens) {
    std::vector<int> xs = {rect.x, rect.Right()};
    std::vector<int> ys = {rect.y, rect.Bottom()};
    for (const Rect& s : screens) {
        for (const int x : {s.x, s.Right()}) {
            if (x > rect.x && x < rect.Right()) {
                xs.push_back(x);
            }
        }
        for (const int y : {s.y, s.Bottom()}) {
            if (y > rect.y && y < rect.Bottom()) {
                ys.push_back(y);
            }
        }
    }
    for (const int x : xs) {
        for (const int y : ys) {
            const Point corner{x, y};
            if (rect.Contains(corner) &&
                std::none_of(screens.begin(), screens.end(),
                             [&](const Rect& s) { return s.Contains(corner); })) {
                return false;
            }
        }
    }
    return true;
}

// The least move along one axis that puts [start, start + size) inside [low, high).
int Shift(int start, int size, int low, int high) {
    if (size >= high - low || start < low) {
        return low - start;
    }
    return std::min(0, high - (start + size));
}

}  // namespace

Rect FitOnScreens(const Rect& wanted, const std::vector<Rect>& screens) {
    if (screens.empty() || Covered(wanted, screens)) {
        return wanted;
    }
    Rect best;
    long bestDistance = -1;
    for (const Rect& s : screens) {
        const int dx = Shift(wanted.x, wanted.width, s.x, s.Right());
        const int dy = Shift(wanted.y, wanted.height, s.y, s.Bottom());
        const long distance = std::labs(dx) + std::labs(dy);
        if (bestDistance < 0 || distance < bestDistance) {
            best = wanted.Translated({dx, dy});
            bestDistance = distance;
        }
    }
    return best;
}

}  // namespace kelvane
