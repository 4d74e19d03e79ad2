// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QRect>
#include <algorithm>

namespace kelvane {

// QRect's own tests are calls into the library; these run many times a repaint.
inline bool Covers(const QRect& outer, const QRect& inner) {
    return outer.left() <= inner.left() && inner.right() <= outer.right() &&
           outer.top() <= inner.top() && inner.bottom() <= outer.bottom();
}
inline bool Meet(const QRect& a, const QRect& b) {
    return a.left() <= b.right() && b.left() <= a.right() && a.top() <= b.bottom() &&
           b.top() <= a.bottom();
}
inline QRect Intersected(const QRect& a, const QRect& b) {
    const int left = std::max(a.left(), b.left());
    const int top = std::max(a.top(), b.top());
    const int right = std::min(a.right(), b.right());
    const int bottom = std::min(a.bottom(), b.bottom());
    return right < left || bottom < top ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}

}  // namespace kelvane
