// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#include "window/x11_presenter.h"

#include <xcb/xcb.h>

#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <algorithm>
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdlib>

#include "window/gauge_drawing.h"
#include "window/glyph_cache.h"
#include "window/pixel_rects.h"

namespace kelvane {
namespace {

constexpr std::uint32_t kWhite = 0xffffff;
constexpr std::uint32_t kBlack = 0x000000;

xcb_connection_t* QtConnection() {
    if (!QGuiApplication::platformName().startsWith(QLatin1String("xcb"))) {
        return nullptr;
    }
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 != nullptr ? x11->connection() : nullptr;
}

// The pixels of an opaque image only; a translucent one shows what lies behind it.
bool Opaque(const QImage& image) {
    if (!image.hasAlphaChannel()) {
        return true;
    }
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < argb.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        if (std::any_of(row, row + argb.width(), [](QRgb p) { return qAlpha(p) != 255; })) {
            return false;
        }
    }
    return true;
}

}  // namespace

X11Presenter::X11Presenter(GaugeDrawing& drawing, const Controls& controls)
    : drawing_(drawing), controls_(controls), connection_(QtConnection()) {}

X11Presenter::~X11Presenter() {
    Release();
}

void X11Presenter::Release() {
    if (connection_ == nullptr || window_ == 0) {
        return;
    }
    if (xcb_connection_has_error(connection_) == 0) {
        for (const Picture& picture : pictures_) {
            if (picture.pixmap != 0) {
                xcb_free_pixmap(connection_, picture.pixmap);
            }
        }
        for (const std::uint32_t gc : {fillGc_, copyGc_, textGc_}) {
            if (gc != 0) {
                xcb_free_gc(connection_, gc);
            }
        }
        xcb_flush(connection_);
    }
    atlases_.clear();
    pictures_.clear();
    bitmaps_ = false;
    fillGc_ = copyGc_ = textGc_ = 0;
    batchesUsed_ = 0;
    drawn_.clear();
    window_ = 0;
    plain_ = false;
}

// Asked once per window (Qt makes the native window anew when its flags change) and ratio.
void X11Presenter::Prepare(std::uint32_t window, qreal ratio) {
    Release();
    window_ = window;
    ratio_ = static_cast<int>(ratio);
    const xcb_setup_t* setup = xcb_get_setup(connection_);
    if (!pixels_.Prepare(connection_, window)) {
        return;
    }
    // A caption's bitmap is made with its first pixel in the lowest bit.
    bitmaps_ = setup->bitmap_format_bit_order == XCB_IMAGE_ORDER_LSB_FIRST;
    bitmapPad_ = setup->bitmap_format_scanline_pad;
    maxRequestBytes_ = xcb_get_maximum_request_length(connection_) * 4;
    const std::uint32_t noExposures[] = {0};
    const std::uint32_t blackFill[] = {pixels_.Pixel(kBlack), 0};
    fillGc_ = xcb_generate_id(connection_);
    xcb_create_gc(connection_, fillGc_, window, XCB_GC_FOREGROUND | XCB_GC_GRAPHICS_EXPOSURES,
                  blackFill);
    fillColour_ = kBlack;
    copyGc_ = xcb_generate_id(connection_);
    xcb_create_gc(connection_, copyGc_, window, XCB_GC_GRAPHICS_EXPOSURES, noExposures);
    const std::uint32_t blackOnWhite[] = {pixels_.Pixel(kBlack), pixels_.Pixel(kWhite), 0};
    textGc_ = xcb_generate_id(connection_);
    xcb_create_gc(connection_, textGc_, window,
                  XCB_GC_FOREGROUND | XCB_GC_BACKGROUND | XCB_GC_GRAPHICS_EXPOSURES, blackOnWhite);
    pictures_.resize(static_cast<std::size_t>(drawing_.PictureCount()));
    plain_ = true;
}

// A server pixmap of the window's depth holding `image`.
std::uint32_t X11Presenter::Upload(const QImage& image) {
    const QImage pixels = image.convertToFormat(QImage::Format_RGB32);
    const std::uint32_t pixmap = xcb_generate_id(connection_);
    xcb_create_pixmap(connection_, pixels_.Depth(), pixmap, window_,
                      static_cast<std::uint16_t>(pixels.width()),
                      static_cast<std::uint16_t>(pixels.height()));
    pixels_.Put(pixmap, copyGc_, pixels, pixels.rect(), {0, 0});
    return pixmap;
}

// Each glyph drawn alone onto white at the pen's place the drawing gives it, and its ink kept
// as rows of bits. Setting those bits in a white caption is what drawing the glyphs in black
// does, provided every glyph is black or white only and every pen place falls on a whole
// device pixel.
X11Presenter::Atlas* X11Presenter::AtlasOf(GlyphCache& glyphs) {
    for (const auto& atlas : atlases_) {
        if (atlas->glyphs == &glyphs) {
            return atlas.get();
        }
    }
    auto atlas = std::make_unique<Atlas>();
    atlas->glyphs = &glyphs;
    atlas->usable = true;
    const int margin = 8;
    const QFontMetrics metrics(glyphs.Font());
    for (std::size_t c = 0; c < atlas->glyph.size() && atlas->usable; ++c) {
        const char ch = static_cast<char>(c);
        const std::string_view text(&ch, 1);
        const qreal advance = glyphs.Width(text);
        if (advance <= 0) {
            continue;
        }
        Glyph& glyph = atlas->glyph[c];
        const qreal deviceAdvance = advance * ratio_;
        glyph.advance = static_cast<int>(std::lround(deviceAdvance));
        glyph.known = true;
        QImage cell(QSize(static_cast<int>(std::ceil(advance)) + 2 * margin,
                          metrics.height() + 2 * margin) *
                        ratio_,
                    QImage::Format_RGB32);
        cell.setDevicePixelRatio(ratio_);
        cell.fill(Qt::white);
        QPainter painter(&cell);
        painter.setPen(Qt::black);
        glyphs.Paint(painter, QPointF(margin, margin), text);
        painter.end();
        int left = cell.width();
        int right = -1;
        int top = cell.height();
        int bottom = -1;
        for (int y = 0; y < cell.height(); ++y) {
            const auto* row = reinterpret_cast<const QRgb*>(cell.constScanLine(y));
            for (int x = 0; x < cell.width(); ++x) {
                const QRgb p = row[x] & 0xffffff;
                if (p != kWhite) {
                    atlas->usable = atlas->usable && p == kBlack;
                    left = std::min(left, x);
                    right = std::max(right, x);
                    top = std::min(top, y);
                    bottom = std::max(bottom, y);
                }
            }
        }
        // Ink at the cell's edge may reach beyond it; ink wider than a row of bits is not kept.
        const bool whole = right < 0 || (left > 0 && top > 0 && right < cell.width() - 1 &&
                                         bottom < cell.height() - 1 && right - left < 64);
        atlas->usable = atlas->usable && whole && std::abs(deviceAdvance - glyph.advance) < 1e-9;
        if (right < 0 || !atlas->usable) {
            continue;
        }
        glyph.inkX = static_cast<std::int16_t>(left - margin * ratio_);
        glyph.inkY = static_cast<std::int16_t>(top - margin * ratio_);
        glyph.height = static_cast<std::uint16_t>(bottom - top + 1);
        glyph.first = static_cast<std::uint32_t>(atlas->rows.size());
        for (int y = top; y <= bottom; ++y) {
            const auto* row = reinterpret_cast<const QRgb*>(cell.constScanLine(y));
            std::uint64_t bits = 0;
            for (int x = left; x <= right; ++x) {
                bits |= std::uint64_t{(row[x] & 0xffffff) == kBlack} << (x - left);
            }
            atlas->rows.push_back(bits);
        }
    }
    atlases_.push_back(std::move(atlas));
    return atlases_.back().get();
}

X11Presenter::Picture& X11Presenter::PictureOf(ControlId id) {
    Picture& picture = pictures_[static_cast<std::size_t>(drawing_.PictureOf(id))];
    if (!picture.tried) {
        picture.tried = true;
        const QPixmap& art = drawing_.ArtworkOf(id, ratio_);
        const QImage image = art.toImage();
        if (!image.isNull() && art.devicePixelRatio() == ratio_ && Opaque(image)) {
            picture.width = image.width();
            picture.height = image.height();
            picture.pixmap = Upload(image);
        }
    }
    return picture;
}

QRect X11Presenter::Device(const QRect& rect) const {
    return {rect.x() * ratio_, rect.y() * ratio_, rect.width() * ratio_, rect.height() * ratio_};
}

bool X11Presenter::CanDraw(ControlId id, const QRect& area) {
    const Control& control = controls_[id];
    switch (control.type) {
        case ControlType::kPicture: {
            const Picture& picture = PictureOf(id);
            const QRect part = Intersected(control.pixels, area);
            return picture.pixmap != 0 &&
                   (part.right() + 1 - control.pixels.left()) * ratio_ <= picture.width &&
                   (part.bottom() + 1 - control.pixels.top()) * ratio_ <= picture.height;
        }
        case ControlType::kSegment:
            return true;
        case ControlType::kOutline:
            return !GaugeDrawing::OutlineShows(control, area);
        case ControlType::kNumber: {
            const std::string_view text = controls_.Text(id);
            if (text.empty()) {
                return true;
            }
            if (!bitmaps_) {
                return false;
            }
            GlyphCache* glyphs = drawing_.GlyphsOf(id, text);
            const Atlas* atlas = glyphs != nullptr ? AtlasOf(*glyphs) : nullptr;
            return atlas != nullptr && atlas->usable &&
                   std::all_of(text.begin(), text.end(), [atlas](char c) {
                       const auto u = static_cast<unsigned char>(c);
                       return u < atlas->glyph.size() && atlas->glyph[u].known;
                   });
        }
        case ControlType::kDriveLetter:
        case ControlType::kArrow:
            return false;
    }
    return false;
}

X11Presenter::Batch& X11Presenter::NewBatch() {
    if (batchesUsed_ == batches_.size()) {
        batches_.emplace_back();
    }
    Batch& batch = batches_[batchesUsed_++];
    batch.kind = Batch::kFill;
    batch.rects.clear();
    reached_ = batchesUsed_ - 1;
    return batch;
}

// Into the first batch of that colour from the one this rectangle has reached.
void X11Presenter::Fill(const QRect& box, std::uint32_t rgb) {
    if (box.isEmpty()) {
        return;
    }
    std::size_t i = reached_;
    while (i < batchesUsed_ && (batches_[i].kind != Batch::kFill || batches_[i].colour != rgb)) {
        ++i;
    }
    if (i == batchesUsed_) {
        NewBatch().colour = rgb;
    }
    reached_ = i;
    batches_[i].rects.push_back(
        {static_cast<std::int16_t>(box.x()), static_cast<std::int16_t>(box.y()),
         static_cast<std::uint16_t>(box.width()), static_cast<std::uint16_t>(box.height())});
}

void X11Presenter::Copy(std::uint32_t pixmap, QPoint from, const QRect& to) {
    Batch& batch = NewBatch();
    batch.kind = Batch::kCopy;
    batch.picture = pixmap;
    batch.place = {static_cast<std::int16_t>(from.x()),   static_cast<std::int16_t>(from.y()),
                   static_cast<std::int16_t>(to.x()),     static_cast<std::int16_t>(to.y()),
                   static_cast<std::int16_t>(to.width()), static_cast<std::int16_t>(to.height())};
}

void X11Presenter::DrawControl(ControlId id, const QRect& area) {
    const Control& control = controls_[id];
    const QRect& r = control.pixels;
    switch (control.type) {
        case ControlType::kPicture: {
            const QRect part = Device(Intersected(r, area));
            Copy(PictureOf(id).pixmap, part.topLeft() - r.topLeft() * ratio_, part);
            break;
        }
        case ControlType::kSegment: {
            const QRect clip = Device(area);
            Fill(Intersected(Device(r), clip), kBlack);
            Fill(Intersected(Device(r.adjusted(1, 1, -1, -1)), clip),
                 static_cast<std::uint32_t>((control.fill.red << 16) | (control.fill.green << 8) |
                                            control.fill.blue));
            break;
        }
        case ControlType::kNumber: {
            const QRect clip = Device(Intersected(r, area));
            const std::string_view text = controls_.Text(id);
            if (text.empty()) {
                Fill(clip, kWhite);
                break;
            }
            Caption(*AtlasOf(*drawing_.GlyphsOf(id, text)), text, r.topLeft() * ratio_, clip);
            break;
        }
        case ControlType::kOutline:  // its edges are not in the area
        case ControlType::kDriveLetter:
        case ControlType::kArrow:
            break;
    }
}

void X11Presenter::Caption(const Atlas& atlas, std::string_view text, QPoint pen,
                           const QRect& clip) {
    Batch& batch = NewBatch();
    batch.kind = Batch::kBitmap;
    batch.place = {0,
                   0,
                   static_cast<std::int16_t>(clip.x()),
                   static_cast<std::int16_t>(clip.y()),
                   static_cast<std::int16_t>(clip.width()),
                   static_cast<std::int16_t>(clip.height())};
    batch.bits = bits_.size();
    const int stride = (clip.width() + bitmapPad_ - 1) / bitmapPad_ * bitmapPad_ / 8;
    bits_.resize(bits_.size() + static_cast<std::size_t>(stride * clip.height()));
    std::uint8_t* bitmap = bits_.data() + batch.bits;
    for (const char c : text) {
        const Glyph& glyph = atlas.glyph[static_cast<unsigned char>(c)];
        const int x0 = pen.x() + glyph.inkX - clip.x();
        for (int row = 0; row < glyph.height; ++row) {
            const int y = pen.y() + glyph.inkY + row - clip.y();
            if (y < 0 || y >= clip.height()) {
                continue;
            }
            std::uint8_t* line = bitmap + y * stride;
            for (std::uint64_t bits = atlas.rows[glyph.first + static_cast<std::uint32_t>(row)];
                 bits != 0; bits &= bits - 1) {
                const int x = x0 + std::countr_zero(bits);
                if (x >= 0 && x < clip.width()) {
                    line[x / 8] = static_cast<std::uint8_t>(line[x / 8] | (1U << (x % 8)));
                }
            }
        }
        pen.rx() += glyph.advance;
    }
}

// As the drawing does it: strip by strip, from the frontmost control covering the strip's
// part of the rectangle, every visible control reaching into it. With `draw` false, only
// whether every one of them can be drawn here.
bool X11Presenter::Layers(const QRect& rect, bool draw) {
    for (int strip = 0; strip < GaugeDrawing::kStrips; ++strip) {
        if (!Meet(rect, drawing_.StripRows(strip))) {
            continue;
        }
        const QRect area = Intersected(rect, drawing_.StripRows(strip));
        const std::vector<ControlId>& ids = drawing_.StripControls(strip);
        const std::size_t first = drawing_.FirstShown(strip, area);
        if (draw && first == 0) {
            Fill(Device(area), kWhite);
        }
        for (std::size_t i = first; i < ids.size(); ++i) {
            const Control& control = controls_[ids[i]];
            if (!control.visible || !Meet(control.pixels, area)) {
                continue;
            }
            if (draw) {
                DrawControl(ids[i], area);
            } else if (!CanDraw(ids[i], area)) {
                return false;
            }
        }
    }
    return true;
}

// Nothing is gathered unless all of the rectangle can be drawn here.
bool X11Presenter::Draw(std::uint32_t window, qreal ratio, const QRect& rect) {
    if (connection_ == nullptr || (ratio != 1.0 && ratio != 2.0) || window == 0 || rect.isEmpty()) {
        return false;
    }
    if (window != window_ || ratio != ratio_) {
        Flush();
        Prepare(window, ratio);
    }
    if (!plain_ || !Layers(rect, false)) {
        return false;
    }
    const bool overlaps = std::any_of(drawn_.begin(), drawn_.end(), [&rect](const QRect& earlier) {
        return Meet(earlier, rect);
    });
    reached_ = overlaps ? batchesUsed_ : 0;
    drawn_.push_back(rect);
    Layers(rect, true);
    return true;
}

void X11Presenter::Flush() {
    static_assert(sizeof(Batch::Rect) == sizeof(xcb_rectangle_t) &&
                  offsetof(Batch::Rect, height) == offsetof(xcb_rectangle_t, height));
    if (batchesUsed_ == 0) {
        drawn_.clear();
        return;
    }
    const std::size_t perRequest = (maxRequestBytes_ - 64) / sizeof(xcb_rectangle_t);
    for (std::size_t b = 0; b < batchesUsed_; ++b) {
        const Batch& batch = batches_[b];
        const auto& f = batch.place;
        if (batch.kind == Batch::kCopy) {
            xcb_copy_area(connection_, batch.picture, window_, copyGc_, f[0], f[1], f[2], f[3],
                          static_cast<std::uint16_t>(f[4]), static_cast<std::uint16_t>(f[5]));
            continue;
        }
        if (batch.kind == Batch::kBitmap) {
            const int stride = (f[4] + bitmapPad_ - 1) / bitmapPad_ * bitmapPad_ / 8;
            xcb_put_image(connection_, XCB_IMAGE_FORMAT_XY_BITMAP, window_, textGc_,
                          static_cast<std::uint16_t>(f[4]), static_cast<std::uint16_t>(f[5]), f[2],
                          f[3], 0, 1, static_cast<std::uint32_t>(stride * f[5]),
                          bits_.data() + batch.bits);
            continue;
        }
        if (batch.colour != fillColour_) {
            fillColour_ = batch.colour;
            const std::uint32_t pixel[] = {pixels_.Pixel(batch.colour)};
            xcb_change_gc(connection_, fillGc_, XCB_GC_FOREGROUND, pixel);
        }
        const auto* rects = reinterpret_cast<const xcb_rectangle_t*>(batch.rects.data());
        const std::size_t count = batch.rects.size();
        for (std::size_t at = 0; at < count; at += perRequest) {
            xcb_poly_fill_rectangle(connection_, window_, fillGc_,
                                    static_cast<std::uint32_t>(std::min(perRequest, count - at)),
                                    rects + at);
        }
    }
    batchesUsed_ = 0;
    drawn_.clear();
    bits_.clear();
    xcb_flush(connection_);
}

bool X11Presenter::Exposes(const void* event, std::uint32_t window) {
    const auto* generic = static_cast<const xcb_generic_event_t*>(event);
    return (generic->response_type & 0x7f) == XCB_EXPOSE &&
           static_cast<const xcb_expose_event_t*>(event)->window == window;
}

}  // namespace kelvane
