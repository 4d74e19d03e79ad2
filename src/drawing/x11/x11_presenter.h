// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QRect>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "drawing/drawing.h"
#include "drawing/x11/x11_pixels.h"

class QImage;
struct xcb_connection_t;

namespace kelvane {

class GlyphCache;
class QtDrawing;

// Draws the gauge's changes on the X server's side. A tick that changes a few numbers and
// segments would otherwise have Qt paint them into its backing store and send their pixels
// (some 14 KB) over the connection, which the X server takes in as an image per rectangle.
// Here the artwork lives in server pixmaps made once and each glyph is known as the black
// rectangles of its ink, so a tick's change goes out as one fill request per colour (the
// white grounds, the black ink, a segment's colour) and a copy per picture: two or three
// requests of a few kilobytes. It draws only what it can draw to the same pixels as the
// drawing does: a rectangle with anything else in it (the frame's edges, the drive letters, a
// text drawn whole, a translucent picture) is left to the view's repaint, as is every
// rectangle at a device pixel ratio other than 1 and 2. Colours are written as the pixels of
// the window's visual, whatever its depth (X11Pixels).
//
// Qt's backing store no longer holds what was drawn here, so an expose of the window, when
// Qt would copy that store to the screen, repaints the whole window through Qt first.

class X11Presenter {
  public:
    // Draws what `drawing` describes, on the window of Qt's X connection whose id is given to
    // each `Draw`; off where Qt does not talk to an X server.
    explicit X11Presenter(QtDrawing& drawing);
    ~X11Presenter();
    X11Presenter(const X11Presenter&) = delete;
    X11Presenter& operator=(const X11Presenter&) = delete;

    // Whether there is an X server to draw on at all.
    bool Available() const { return connection_ != nullptr; }
    // Draws `rect` (pixels of the window) on `window` at `ratio` device pixels a pixel, as the
    // drawing describes it; false, sending nothing, when it must be left to the view's repaint.
    bool Draw(std::uint32_t window, qreal ratio, const Rect& rect);
    // Sends what the draws since the last call asked for.
    void Flush();
    // Whether `event` (an xcb event) exposes `window`.
    static bool Exposes(const void* event, std::uint32_t window);

  private:
    // A glyph's ink as rows of bits (bit i: the pixel i to the right of the ink's left), from
    // the pen's place, in device pixels.
    struct Glyph {
        bool known = false;
        std::int16_t inkX = 0;
        std::int16_t inkY = 0;
        std::uint16_t height = 0;  // rows of ink; 0 for a glyph with none (a space)
        std::uint32_t first = 0;   // its first row in the atlas's `rows`
        int advance = 0;           // device pixels
    };
    // One font's glyphs at one ratio.
    struct Atlas {
        bool made = false;
        bool usable = false;
        std::array<Glyph, 128> glyph{};
        std::vector<std::uint64_t> rows;
    };
    struct Picture {
        bool tried = false;
        std::uint32_t pixmap = 0;  // 0: drawn by the view (translucent, or not the control's size)
        int width = 0;
        int height = 0;
    };
    // The requests of one presentation, gathered so that fills of one colour go out as one
    // request: a rectangle's requests keep their order, and a rectangle that overlaps an
    // earlier one comes after all of its requests.
    struct Batch {
        enum Kind : std::uint8_t { kFill, kCopy, kBitmap } kind = kFill;
        std::uint32_t colour = 0;
        struct Rect {  // as the protocol has a rectangle
            std::int16_t x, y;
            std::uint16_t width, height;
        };
        std::vector<Rect> rects;              // a fill's
        std::uint32_t picture = 0;            // a copy's source pixmap
        std::array<std::int16_t, 6> place{};  // a copy's source x, y; and the destination's
                                              // x, y, width, height (a bitmap's too)
        std::size_t bits = 0;                 // a bitmap's first byte in `bits_`
    };

    // Takes the window's visual: `plain_` where its pixels can be written.
    void Prepare(std::uint32_t window, qreal ratio);
    void Release();
    std::uint32_t Upload(const QImage& image);
    const Atlas& AtlasOf(FontRole role);
    bool Ink(GlyphCache& glyphs, char c, Atlas& atlas) const;
    static std::optional<QRect> InkBounds(const QImage& cell);
    Picture& PictureAt(int picture);
    // Whether the step can be drawn here, and drawing it.
    bool CanDraw(const DrawStep& step);
    void DrawHere(const DrawStep& step);
    void Fill(const Rect& box, std::uint32_t rgb);  // device pixels
    void Copy(std::uint32_t pixmap, Point from, const Rect& to);
    // A label's text, black on its white ground, as one bitmap of the part in `clip`.
    void Caption(const Atlas& atlas, std::string_view text, Point pen, const Rect& clip);
    Batch& NewBatch();
    Rect Device(const Rect& rect) const;

    QtDrawing& drawing_;
    xcb_connection_t* connection_ = nullptr;
    std::uint32_t window_ = 0;
    int ratio_ = 0;         // 1 or 2 once prepared for `window_`
    bool plain_ = false;    // the window's pixels can be written
    bool bitmaps_ = false;  // captions' bitmaps can be written
    X11Pixels pixels_;
    std::uint32_t maxRequestBytes_ = 0;
    std::uint32_t fillGc_ = 0;  // solid fills, its colour set per request
    std::uint32_t copyGc_ = 0;  // pictures copied as they are
    std::uint32_t textGc_ = 0;  // bitmaps: black where set, white elsewhere
    int bitmapPad_ = 32;        // bits a bitmap's row is padded to
    std::uint32_t fillColour_ = 0;
    std::array<Atlas, kFontRoles> atlases_;  // at `ratio_`, by font
    std::vector<Picture> pictures_;
    DrawSteps steps_;
    // This presentation: its batches (kept with their room from one to the next), the
    // rectangles drawn so far, and the batch the rectangle being drawn has reached.
    std::vector<Batch> batches_;
    std::size_t batchesUsed_ = 0;
    std::vector<Rect> drawn_;
    std::vector<std::uint8_t> bits_;
    std::size_t reached_ = 0;
};

}  // namespace kelvane
