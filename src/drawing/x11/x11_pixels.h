// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QPoint>
#include <QRect>
#include <QRgb>
#include <cstdint>
#include <unordered_map>
#include <vector>

class QImage;
struct xcb_connection_t;

namespace kelvane {

// How colours are written as the pixels of one X window's visual. True colour goes by its
// channel masks, whatever their widths (16-bit 5-6-5, 8-bit 3-3-2, 10 bits a channel); any
// other class (a 256-colour display's colour map, the fixed and grey ones) by the colours the
// server gives for them in the window's colour map, or the nearest it has once the map is
// full. Images go out in the server's Z format, at the visual's depth and byte order.
class X11Pixels {
  public:
    // Reads `window`'s visual; false where its pixels cannot be written here (any number of
    // bits a pixel but 8, 16 and 32). A window of the screen's own visual that is not true
    // colour is given the screen's colour map, which shows whether or not a window manager
    // installs the map of the window that has the focus.
    bool Prepare(xcb_connection_t* connection, std::uint32_t window);
    bool Usable() const { return bytesPerPixel_ != 0; }
    std::uint8_t Depth() const { return depth_; }
    // True colour of 24 bits or more, which Qt's own backing store paints exactly.
    bool Deep() const { return trueColour_ && depth_ >= 24; }

    std::uint32_t Pixel(QRgb rgb);
    // The bytes of one row of `width` pixels, padded as the server pads its rows.
    std::size_t Stride(int width) const;
    // Puts `rect` of `image` (32-bit RGB, device pixels) at `to` on `drawable`, of this depth,
    // in as many requests as the server needs.
    void Put(std::uint32_t drawable, std::uint32_t gc, const QImage& image, const QRect& rect,
             QPoint to);

  private:
    struct Channel {
        int shift = 0;
        int bits = 0;
    };
    // Asks the server for every colour of `image` within `rect` it has not given yet, all at
    // once rather than one round trip a colour.
    void Allocate(const QImage& image, const QRect& rect);
    std::uint32_t Nearest(QRgb rgb);
    // Appends the rows of `image` within `rect` as the server takes them.
    void Append(const QImage& image, const QRect& rect);

    xcb_connection_t* connection_ = nullptr;
    std::uint8_t depth_ = 0;
    int bytesPerPixel_ = 0;
    int scanlinePad_ = 32;
    bool swapBytes_ = false;  // the server takes its pixels most significant byte first
    bool trueColour_ = false;
    Channel red_, green_, blue_;
    std::uint32_t unused_ = 0;  // bits of the depth no channel uses (a 32-bit visual's alpha)
    std::uint32_t colourMap_ = 0;
    std::unordered_map<QRgb, std::uint32_t> given_;
    std::vector<QRgb> map_;  // the colour map's entries, read once it is full
    std::uint32_t maxRequestBytes_ = 0;
    std::vector<std::uint8_t> rows_;
};

}  // namespace kelvane
