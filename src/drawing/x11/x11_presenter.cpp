// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#include "drawing/x11/x11_presenter.h"

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
#include <optional>

#include "drawing/qt/glyph_cache.h"
#include "drawing/qt/qt_drawing.h"
#include "drawing/x11/x11_connection.h"

namespace kelvane {
namespace {

constexpr std::uint32_t kWhite = 0xffffff;
constexpr std::uint32_t kBlack = 0x000000;

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

X11Presenter::X11Presenter(QtDrawing& drawing) : drawing_(drawing), connection_(X11Connection()) {}

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
    atlases_ = {};
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
    pictures_.resize(drawing_.drawing().PictureNames().size());
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

// The glyphs of a figure's font at this ratio, made when first drawn. Each glyph is drawn alone
// onto white at the pen's place the drawing gives it, and its ink kept as rows of bits. Setting
// those bits in a white caption is what drawing the glyphs in black does, provided every glyph
// is black or white only and every pen place falls on a whole device pixel.
const X11Presenter::Atlas& X11Presenter::AtlasOf(FontRole role) {
    Atlas& atlas = atlases_[static_cast<std::size_t>(role)];
    if (atlas.made) {
        return atlas;
    }
    atlas.made = true;
    GlyphCache* glyphs = drawing_.Fonts().Glyphs(role);
    atlas.usable = glyphs != nullptr;
    for (std::size_t c = 0; c < atlas.glyph.size() && atlas.usable; ++c) {
        atlas.usable = Ink(*glyphs, static_cast<char>(c), atlas);
    }
    return atlas;
}

// The glyph's ink, or false where it cannot be set as bits: grey ink, ink at the edge of its
// cell (it may reach beyond), ink wider than a row of bits, or a pen place between pixels.
bool X11Presenter::Ink(GlyphCache& glyphs, char c, Atlas& atlas) const {
    const std::string_view text(&c, 1);
    const qreal advance = glyphs.Width(text);
    if (advance <= 0) {
        return true;  // no glyph of its own: a text with it is left to the view
    }
    Glyph& glyph = atlas.glyph[static_cast<unsigned char>(c)];
    const qreal deviceAdvance = advance * ratio_;
    glyph.advance = static_cast<int>(std::lround(deviceAdvance));
    glyph.known = true;
    const int margin = 8;
    QImage cell(QSize(static_cast<int>(std::ceil(advance)) + 2 * margin,
                      QFontMetrics(glyphs.Font()).height() + 2 * margin) *
                    ratio_,
                QImage::Format_RGB32);
    cell.setDevicePixelRatio(ratio_);
    cell.fill(Qt::white);
    QPainter painter(&cell);
    painter.setPen(Qt::black);
    glyphs.Paint(painter, QPointF(margin, margin), text);
    painter.end();
    const std::optional<QRect> ink = InkBounds(cell);
    if (!ink) {
        return false;
    }
    const bool exact = std::abs(deviceAdvance - glyph.advance) < 1e-9;
    if (ink->isNull()) {
        return exact;  // a space
    }
    if (!exact || ink->left() == 0 || ink->top() == 0 || ink->right() == cell.width() - 1 ||
        ink->bottom() == cell.height() - 1 || ink->width() > 64) {
        return false;
    }
    glyph.inkX = static_cast<std::int16_t>(ink->left() - margin * ratio_);
    glyph.inkY = static_cast<std::int16_t>(ink->top() - margin * ratio_);
    glyph.height = static_cast<std::uint16_t>(ink->height());
    glyph.first = static_cast<std::uint32_t>(atlas.rows.size());
    for (int y = ink->top(); y <= ink->bottom(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(cell.constScanLine(y));
        std::uint64_t bits = 0;
        for (int x = ink->left(); x <= ink->right(); ++x) {
            bits |= std::uint64_t{(row[x] & 0xffffff) == kBlack} << (x - ink->left());
        }
        atlas.rows.push_back(bits);
    }
    return true;
}

// Where a cell holds ink: a null rectangle for none; nothing where any of it is grey.
std::optional<QRect> X11Presenter::InkBounds(const QImage& cell) {
    int left = cell.width();
    int right = -1;
    int top = cell.height();
    int bottom = -1;
    for (int y = 0; y < cell.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(cell.constScanLine(y));
        for (int x = 0; x < cell.width(); ++x) {
            const QRgb p = row[x] & 0xffffff;
            if (p == kWhite) {
                continue;
            }
            if (p != kBlack) {
                return std::nullopt;
            }
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
    }
    return right < 0 ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}

X11Presenter::Picture& X11Presenter::PictureAt(int index) {
    Picture& picture = pictures_[static_cast<std::size_t>(index)];
    if (!picture.tried) {
        picture.tried = true;
        const QPixmap& art = drawing_.Artwork().At(index, ratio_);
        const QImage image = art.toImage();
        if (!image.isNull() && art.devicePixelRatio() == ratio_ && Opaque(image)) {
            picture.width = image.width();
            picture.height = image.height();
            picture.pixmap = Upload(image);
        }
    }
    return picture;
}

Rect X11Presenter::Device(const Rect& rect) const {
    return rect.Scaled(ratio_);
}

bool X11Presenter::CanDraw(const DrawStep& step) {
    switch (step.kind) {
        case DrawStep::Kind::kGround:
        case DrawStep::Kind::kFill:
            return true;
        case DrawStep::Kind::kFrame:
            return false;
        case DrawStep::Kind::kPicture: {
            const Picture& picture = PictureAt(step.picture);
            const Rect part = step.rect.Intersected(step.area);
            return picture.pixmap != 0 && (part.Right() - step.rect.x) * ratio_ <= picture.width &&
                   (part.Bottom() - step.rect.y) * ratio_ <= picture.height;
        }
        case DrawStep::Kind::kText: {
            if (step.text.empty()) {
                return true;
            }
            const FontRole role = step.placement.role;
            if (!bitmaps_ || step.placement.squeezed ||
                (role != FontRole::kNumber && role != FontRole::kNarrowNumber)) {
                return false;
            }
            const Atlas& atlas = AtlasOf(role);
            return atlas.usable &&
                   std::all_of(step.text.begin(), step.text.end(), [&atlas](char c) {
                       const auto u = static_cast<unsigned char>(c);
                       return u < atlas.glyph.size() && atlas.glyph[u].known;
                   });
        }
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
void X11Presenter::Fill(const Rect& box, std::uint32_t rgb) {
    if (box.IsEmpty()) {
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
    batches_[i].rects.push_back({static_cast<std::int16_t>(box.x), static_cast<std::int16_t>(box.y),
                                 static_cast<std::uint16_t>(box.width),
                                 static_cast<std::uint16_t>(box.height)});
}

void X11Presenter::Copy(std::uint32_t pixmap, Point from, const Rect& to) {
    Batch& batch = NewBatch();
    batch.kind = Batch::kCopy;
    batch.picture = pixmap;
    batch.place = {static_cast<std::int16_t>(from.x),   static_cast<std::int16_t>(from.y),
                   static_cast<std::int16_t>(to.x),     static_cast<std::int16_t>(to.y),
                   static_cast<std::int16_t>(to.width), static_cast<std::int16_t>(to.height)};
}

void X11Presenter::DrawHere(const DrawStep& step) {
    const Rect& r = step.rect;
    switch (step.kind) {
        case DrawStep::Kind::kGround:
            Fill(Device(step.area), kWhite);
            break;
        case DrawStep::Kind::kFill:
            Fill(Device(r).Intersected(Device(step.area)),
                 static_cast<std::uint32_t>((step.colour.red << 16) | (step.colour.green << 8) |
                                            step.colour.blue));
            break;
        case DrawStep::Kind::kPicture: {
            const Rect part = Device(r.Intersected(step.area));
            Copy(PictureAt(step.picture).pixmap, part.TopLeft() - r.TopLeft() * ratio_, part);
            break;
        }
        case DrawStep::Kind::kText: {
            const Rect clip = Device(r.Intersected(step.area));
            if (step.text.empty()) {
                Fill(clip, kWhite);
                break;
            }
            Caption(AtlasOf(step.placement.role), step.text, r.TopLeft() * ratio_, clip);
            break;
        }
        case DrawStep::Kind::kFrame:  // left to the view
            break;
    }
}

void X11Presenter::Caption(const Atlas& atlas, std::string_view text, Point pen, const Rect& clip) {
    Batch& batch = NewBatch();
    batch.kind = Batch::kBitmap;
    batch.place = {0,
                   0,
                   static_cast<std::int16_t>(clip.x),
                   static_cast<std::int16_t>(clip.y),
                   static_cast<std::int16_t>(clip.width),
                   static_cast<std::int16_t>(clip.height)};
    batch.bits = bits_.size();
    const int stride = (clip.width + bitmapPad_ - 1) / bitmapPad_ * bitmapPad_ / 8;
    bits_.resize(bits_.size() + static_cast<std::size_t>(stride * clip.height));
    std::uint8_t* bitmap = bits_.data() + batch.bits;
    for (const char c : text) {
        const Glyph& glyph = atlas.glyph[static_cast<unsigned char>(c)];
        const int x0 = pen.x + glyph.inkX - clip.x;
        for (int row = 0; row < glyph.height; ++row) {
            const int y = pen.y + glyph.inkY + row - clip.y;
            if (y < 0 || y >= clip.height) {
                continue;
            }
            std::uint8_t* line = bitmap + y * stride;
            for (std::uint64_t bits = atlas.rows[glyph.first + static_cast<std::uint32_t>(row)];
                 bits != 0; bits &= bits - 1) {
                const int x = x0 + std::countr_zero(bits);
                if (x >= 0 && x < clip.width) {
                    line[x / 8] = static_cast<std::uint8_t>(line[x / 8] | (1U << (x % 8)));
                }
            }
        }
        pen.x += glyph.advance;
    }
}

// Nothing is gathered unless every step of the rectangle can be drawn here.
bool X11Presenter::Draw(std::uint32_t window, qreal ratio, const Rect& rect) {
    if (connection_ == nullptr || (ratio != 1.0 && ratio != 2.0) || window == 0 || rect.IsEmpty()) {
        return false;
    }
    if (window != window_ || ratio != ratio_) {
        Flush();
        Prepare(window, ratio);
    }
    steps_.clear();
    drawing_.drawing().Describe(rect, drawing_.Fonts(), steps_);
    if (!plain_ || !std::all_of(steps_.begin(), steps_.end(),
                                [this](const DrawStep& s) { return CanDraw(s); })) {
        return false;
    }
    const bool overlaps = std::any_of(drawn_.begin(), drawn_.end(), [&rect](const Rect& earlier) {
        return earlier.Intersects(rect);
    });
    reached_ = overlaps ? batchesUsed_ : 0;
    drawn_.push_back(rect);
    for (const DrawStep& step : steps_) {
        DrawHere(step);
    }
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
