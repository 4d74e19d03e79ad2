// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#pragma once

// The gauge's geometry and Qt's, one into the other, where the two meet.

#include <QPoint>
#include <QPointF>
#include <QRect>
#include <QSize>

#include "core/mouse_buttons.h"
#include "rules/geometry.h"

namespace kelvane {

inline QRect ToQt(const Rect& r) {
    return {r.x, r.y, r.width, r.height};
}
inline QPoint ToQt(Point p) {
    return {p.x, p.y};
}
inline Rect FromQt(const QRect& r) {
    return {r.x(), r.y(), r.width(), r.height()};
}
inline Point FromQt(const QPoint& p) {
    return {p.x(), p.y()};
}
inline PointF FromQt(const QPointF& p) {
    return {p.x(), p.y()};
}
inline Size FromQt(const QSize& s) {
    return {s.width(), s.height()};
}
inline MouseButtons FromQt(Qt::MouseButtons buttons) {
    return (buttons.testFlag(Qt::LeftButton) ? kLeftButton : kNoButton) |
           (buttons.testFlag(Qt::RightButton) ? kRightButton : kNoButton) |
           (buttons.testFlag(Qt::MiddleButton) ? kMiddleButton : kNoButton);
}

}  // namespace kelvane
