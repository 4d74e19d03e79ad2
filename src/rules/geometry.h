// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#pragma once

// Points, sizes and rectangles in whole units (pixels or twips), as every host and the gauge
// share them.
//
// A rectangle is its corner and its size. Where Qt's QRect has an inclusive right() and
// bottom() (the last column and row inside it), Right() and Bottom() here are exclusive: the
// first column and row past it, x + width and y + height. The tests that matter to the gauge
// are otherwise the same as QRect's: a rectangle of no width or height contains nothing and
// meets nothing; Center() rounds toward zero from the middle of its first and last pixel.

#include <algorithm>
#include <cmath>

namespace kelvane {

struct Point {
    int x = 0;
    int y = 0;

    constexpr Point operator+(Point o) const { return {x + o.x, y + o.y}; }
    constexpr Point operator-(Point o) const { return {x - o.x, y - o.y}; }
    constexpr Point operator*(int f) const { return {x * f, y * f}; }
    constexpr bool operator==(const Point&) const = default;
};

// A position between pixels (a pointer's on a scaled screen, a drag in twips).
struct PointF {
    double x = 0;
    double y = 0;

    constexpr PointF() = default;
    constexpr PointF(double px, double py) : x(px), y(py) {}
    constexpr PointF(Point p) : x(p.x), y(p.y) {}  // NOLINT: a point is a position too
    constexpr PointF operator+(PointF o) const { return {x + o.x, y + o.y}; }
    constexpr PointF operator-(PointF o) const { return {x - o.x, y - o.y}; }
    constexpr PointF operator*(double f) const { return {x * f, y * f}; }
    constexpr bool operator==(const PointF&) const = default;
    // The nearest whole point, an exact half going up (as Qt rounds a position).
    Point Rounded() const {
        return {static_cast<int>(std::floor(x + 0.5)), static_cast<int>(std::floor(y + 0.5))};
    }
};

struct Size {
    int width = 0;
    int height = 0;

    constexpr bool operator==(const Size&) const = default;
};

struct Rect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    constexpr Rect() = default;
    constexpr Rect(int left, int top, int w, int h) : x(left), y(top), width(w), height(h) {}
    constexpr Rect(Point corner, Size size)
        : x(corner.x), y(corner.y), width(size.width), height(size.height) {}

    constexpr int Right() const { return x + width; }    // exclusive
    constexpr int Bottom() const { return y + height; }  // exclusive
    constexpr Point TopLeft() const { return {x, y}; }
    constexpr Size GetSize() const { return {width, height}; }
    constexpr bool IsEmpty() const { return width <= 0 || height <= 0; }
    constexpr Point Center() const { return {(2 * x + width - 1) / 2, (2 * y + height - 1) / 2}; }

    constexpr bool Contains(Point p) const {
        return p.x >= x && p.x < Right() && p.y >= y && p.y < Bottom();
    }
    // Whether `inner` lies wholly inside; an empty one lies nowhere.
    constexpr bool Contains(const Rect& inner) const {
        return !inner.IsEmpty() && inner.x >= x && inner.Right() <= Right() && inner.y >= y &&
               inner.Bottom() <= Bottom();
    }
    constexpr bool Intersects(const Rect& o) const {
        return !IsEmpty() && !o.IsEmpty() && x < o.Right() && o.x < Right() && y < o.Bottom() &&
               o.y < Bottom();
    }
    // The common part, or an empty rectangle.
    constexpr Rect Intersected(const Rect& o) const {
        const int left = std::max(x, o.x);
        const int top = std::max(y, o.y);
        const int right = std::min(Right(), o.Right());
        const int bottom = std::min(Bottom(), o.Bottom());
        return right <= left || bottom <= top ? Rect()
                                              : Rect(left, top, right - left, bottom - top);
    }
    // The smallest rectangle holding both; an empty one adds nothing.
    constexpr Rect United(const Rect& o) const {
        if (IsEmpty()) {
            return o;
        }
        if (o.IsEmpty()) {
            return *this;
        }
        const int left = std::min(x, o.x);
        const int top = std::min(y, o.y);
        return {left, top, std::max(Right(), o.Right()) - left,
                std::max(Bottom(), o.Bottom()) - top};
    }
    constexpr Rect Translated(Point by) const { return {x + by.x, y + by.y, width, height}; }
    constexpr Rect MovedTo(Point corner) const { return {corner.x, corner.y, width, height}; }
    // Each edge moved by its own amount: the left and top by `left` and `top`, the right and
    // bottom by `right` and `bottom` (inward where negative).
    constexpr Rect Adjusted(int left, int top, int right, int bottom) const {
        return {x + left, y + top, width - left + right, height - top + bottom};
    }
    constexpr Rect Scaled(int factor) const {
        return {x * factor, y * factor, width * factor, height * factor};
    }
    constexpr bool operator==(const Rect&) const = default;
};

}  // namespace kelvane
