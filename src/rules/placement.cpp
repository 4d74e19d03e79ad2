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
bool Covered(const QRect& rect, const QList<QRect>& screens) {
    std::vector<int> xs = {rect.left(), rect.right() + 1};
    std::vector<int> ys = {rect.top(), rect.bottom() + 1};
    for (const QRect& s : screens) {
        for (const int x : {s.left(), s.right() + 1}) {
            if (x > rect.left() && x <= rect.right()) {
                xs.push_back(x);
            }
        }
        for (const int y : {s.top(), s.bottom() + 1}) {
            if (y > rect.top() && y <= rect.bottom()) {
                ys.push_back(y);
            }
        }
    }
    for (const int x : xs) {
        for (const int y : ys) {
            const QPoint corner(x, y);
            if (rect.contains(corner) &&
                std::none_of(screens.begin(), screens.end(),
                             [&](const QRect& s) { return s.contains(corner); })) {
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

QRect FitOnScreens(const QRect& wanted, const QList<QRect>& screens) {
    if (screens.isEmpty() || Covered(wanted, screens)) {
        return wanted;
    }
    QRect best;
    long bestDistance = -1;
    for (const QRect& s : screens) {
        const int dx = Shift(wanted.x(), wanted.width(), s.left(), s.right() + 1);
        const int dy = Shift(wanted.y(), wanted.height(), s.top(), s.bottom() + 1);
        const long distance = std::labs(dx) + std::labs(dy);
        if (bestDistance < 0 || distance < bestDistance) {
            best = wanted.translated(dx, dy);
            bestDistance = distance;
        }
    }
    return best;
}

}  // namespace kelvane
