// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#include "drawing/x11/x11_pixels.h"

#include <xcb/xcb.h>

#include <QImage>
#include <algorithm>
#include <bit>
#include <cstdlib>
#include <limits>
#include <memory>

namespace kelvane {
namespace {

template <typename T>
using Reply = std::unique_ptr<T, decltype(&std::free)>;

}  // namespace

bool X11Pixels::Prepare(xcb_connection_t* connection, std::uint32_t window) {
    *this = {};
    connection_ = connection;
    const Reply<xcb_get_window_attributes_reply_t> attributes(
        xcb_get_window_attributes_reply(connection, xcb_get_window_attributes(connection, window),
                                        nullptr),
        &std::free);
    if (!attributes) {
        return false;
    }
    const xcb_setup_t* setup = xcb_get_setup(connection);
    const xcb_visualtype_t* visual = nullptr;
    const xcb_screen_t* home = nullptr;
    for (auto screen = xcb_setup_roots_iterator(setup); screen.rem > 0 && visual == nullptr;
         xcb_screen_next(&screen)) {
        for (auto depth = xcb_screen_allowed_depths_iterator(screen.data);
             depth.rem > 0 && visual == nullptr; xcb_depth_next(&depth)) {
            for (auto v = xcb_depth_visuals_iterator(depth.data); v.rem > 0;
                 xcb_visualtype_next(&v)) {
                if (v.data->visual_id == attributes->visual) {
                    visual = v.data;
                    depth_ = depth.data->depth;
                    home = screen.data;
                    break;
                }
            }
        }
    }
    if (visual == nullptr) {
        return false;
    }
    for (auto format = xcb_setup_pixmap_formats_iterator(setup); format.rem > 0;
         xcb_format_next(&format)) {
        if (format.data->depth == depth_) {
            const int bits = format.data->bits_per_pixel;
            bytesPerPixel_ = bits == 8 || bits == 16 || bits == 32 ? bits / 8 : 0;
            scanlinePad_ = format.data->scanline_pad;
        }
    }
    swapBytes_ = setup->image_byte_order == XCB_IMAGE_ORDER_MSB_FIRST;
    maxRequestBytes_ = xcb_get_maximum_request_length(connection) * 4;
    colourMap_ = attributes->colormap;
    trueColour_ = visual->_class == XCB_VISUAL_CLASS_TRUE_COLOR;
    if (!trueColour_ && visual->visual_id == home->root_visual &&
        colourMap_ != home->default_colormap) {
        colourMap_ = home->default_colormap;
        xcb_change_window_attributes(connection, window, XCB_CW_COLORMAP, &colourMap_);
    }
    if (trueColour_) {
        const auto channel = [](std::uint32_t mask) {
            return Channel{std::countr_zero(mask), std::popcount(mask)};
        };
        red_ = channel(visual->red_mask);
        green_ = channel(visual->green_mask);
        blue_ = channel(visual->blue_mask);
        const std::uint32_t all = depth_ >= 32 ? ~0U : (1U << depth_) - 1;
        unused_ = all & ~(visual->red_mask | visual->green_mask | visual->blue_mask);
    }
    return Usable();
}

std::size_t X11Pixels::Stride(int width) const {
    const int bits = width * bytesPerPixel_ * 8;
    return static_cast<std::size_t>((bits + scanlinePad_ - 1) / scanlinePad_ * scanlinePad_ / 8);
}

std::uint32_t X11Pixels::Pixel(QRgb rgb) {
    if (trueColour_) {
        // Narrower channels keep the top bits, as Qt's own conversions do; wider ones repeat
        // them, so that white stays white.
        const auto scale = [](int value, Channel c) {
            const auto v = static_cast<std::uint32_t>(value);
            const std::uint32_t bits =
                c.bits >= 8 ? v << (c.bits - 8) | v >> (16 - c.bits) : v >> (8 - c.bits);
            return bits << c.shift;
        };
        return scale(qRed(rgb), red_) | scale(qGreen(rgb), green_) | scale(qBlue(rgb), blue_) |
               unused_;
    }
    rgb |= 0xff000000;
    if (const auto known = given_.find(rgb); known != given_.end()) {
        return known->second;
    }
    if (map_.empty()) {
        const Reply<xcb_alloc_color_reply_t> reply(
            xcb_alloc_color_reply(connection_,
                                  xcb_alloc_color(connection_, colourMap_,
                                                  static_cast<std::uint16_t>(qRed(rgb) * 257),
                                                  static_cast<std::uint16_t>(qGreen(rgb) * 257),
                                                  static_cast<std::uint16_t>(qBlue(rgb) * 257)),
                                  nullptr),
            &std::free);
        if (reply) {
            return given_[rgb] = reply->pixel;
        }
    }
    return given_[rgb] = Nearest(rgb);
}

void X11Pixels::Allocate(const QImage& image, const QRect& rect) {
    if (trueColour_ || !map_.empty()) {
        return;
    }
    std::vector<QRgb> wanted;
    std::vector<xcb_alloc_color_cookie_t> cookies;
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = rect.left(); x <= rect.right(); ++x) {
            const QRgb rgb = row[x] | 0xff000000;
            if (given_.contains(rgb)) {
                continue;
            }
            given_[rgb] = 0;  // given below
            wanted.push_back(rgb);
            cookies.push_back(xcb_alloc_color(connection_, colourMap_,
                                              static_cast<std::uint16_t>(qRed(rgb) * 257),
                                              static_cast<std::uint16_t>(qGreen(rgb) * 257),
                                              static_cast<std::uint16_t>(qBlue(rgb) * 257)));
        }
    }
    for (std::size_t i = 0; i < wanted.size(); ++i) {
        const Reply<xcb_alloc_color_reply_t> reply(
            xcb_alloc_color_reply(connection_, cookies[i], nullptr), &std::free);
        given_[wanted[i]] = reply ? reply->pixel : Nearest(wanted[i]);
    }
}

// The colour map is full: the entry nearest to `rgb` among those it holds.
std::uint32_t X11Pixels::Nearest(QRgb rgb) {
    if (map_.empty()) {
        const std::uint32_t entries = 1U << std::min<int>(depth_, 12);
        std::vector<std::uint32_t> pixels(entries);
        for (std::uint32_t i = 0; i < entries; ++i) {
            pixels[i] = i;
        }
        const Reply<xcb_query_colors_reply_t> reply(
            xcb_query_colors_reply(
                connection_, xcb_query_colors(connection_, colourMap_, entries, pixels.data()),
                nullptr),
            &std::free);
        if (reply) {
            const xcb_rgb_t* colours = xcb_query_colors_colors(reply.get());
            for (int i = 0; i < xcb_query_colors_colors_length(reply.get()); ++i) {
                map_.push_back(
                    qRgb(colours[i].red >> 8, colours[i].green >> 8, colours[i].blue >> 8));
            }
        }
        if (map_.empty()) {
            map_.push_back(qRgb(0, 0, 0));
        }
    }
    std::uint32_t best = 0;
    int distance = std::numeric_limits<int>::max();
    for (std::size_t i = 0; i < map_.size(); ++i) {
        const int r = qRed(map_[i]) - qRed(rgb);
        const int g = qGreen(map_[i]) - qGreen(rgb);
        const int b = qBlue(map_[i]) - qBlue(rgb);
        if (r * r + g * g + b * b < distance) {
            distance = r * r + g * g + b * b;
            best = static_cast<std::uint32_t>(i);
        }
    }
    return best;
}

void X11Pixels::Put(std::uint32_t drawable, std::uint32_t gc, const QImage& image,
                    const QRect& rect, QPoint to) {
    const std::size_t stride = Stride(rect.width());
    const int rowsAtOnce = std::max<int>(1, static_cast<int>((maxRequestBytes_ - 64) / stride));
    for (int y = 0; y < rect.height(); y += rowsAtOnce) {
        const int rows = std::min(rowsAtOnce, rect.height() - y);
        rows_.clear();
        Append(image, QRect(rect.x(), rect.y() + y, rect.width(), rows));
        xcb_put_image(connection_, XCB_IMAGE_FORMAT_Z_PIXMAP, drawable, gc,
                      static_cast<std::uint16_t>(rect.width()), static_cast<std::uint16_t>(rows),
                      static_cast<std::int16_t>(to.x()), static_cast<std::int16_t>(to.y() + y), 0,
                      depth_, static_cast<std::uint32_t>(rows_.size()), rows_.data());
    }
}

void X11Pixels::Append(const QImage& image, const QRect& rect) {
    Allocate(image, rect);
    const std::size_t stride = Stride(rect.width());
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        const std::size_t start = rows_.size();
        rows_.resize(start + stride);
        std::uint8_t* at = rows_.data() + start;
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = rect.left(); x <= rect.right(); ++x) {
            const std::uint32_t pixel = Pixel(row[x]);
            for (int b = 0; b < bytesPerPixel_; ++b) {
                const int shift = 8 * (swapBytes_ ? bytesPerPixel_ - 1 - b : b);
                *at++ = static_cast<std::uint8_t>(pixel >> shift);
            }
        }
    }
}

}  // namespace kelvane
