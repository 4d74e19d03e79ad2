// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#include "window/gauge_drawing.h"

#include <QFontMetrics>
#include <QImage>
#include <QPaintEngine>
#include <QPainter>
#include <algorithm>

#include "rules/window_layout.h"
#include "window/artwork.h"
#include "window/fonts.h"
#include "window/pixel_rects.h"

// The pictures live in a static library that nothing else refers to; registering them here
// keeps the linker from dropping them.
static void RegisterPictures() {
    Q_INIT_RESOURCE(pictures);
}

namespace kelvane {
namespace {

// The title strip, then one strip per panel with the gap below it.
QRect StripRect(int strip) {
    QRect rows =
        strip == 0 ? QRect(0, 0, 0, kTitleStripTwips / kTwipsPerPixel) : PanelPitch(strip - 1);
    rows.setWidth(1 << 16);  // every control that reaches across, however wide
    return rows;
}

// A number too wide for its label even in the narrow font (the used KB of a machine with ten
// terabytes and more) is drawn in it at its own width and squeezed across into the label:
// every digit and the unit show, and smoothing keeps the squeezed strokes readable.
void DrawSqueezed(QPainter& painter, const QRect& label, const QFont& font, const QString& text,
                  int width) {
    const qreal ratio = painter.paintEngine()->paintDevice()->devicePixelRatioF();
    QImage line((QSizeF(width, label.height()) * ratio).toSize(), QImage::Format_RGB32);
    line.setDevicePixelRatio(ratio);
    line.fill(Qt::white);
    QPainter linePainter(&line);
    linePainter.setFont(font);
    linePainter.drawText(QRect(0, 0, width, label.height()), Qt::AlignLeft | Qt::AlignTop, text);
    linePainter.end();
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRectF(label), line);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
}

}  // namespace

GaugeDrawing::GaugeDrawing(const Controls& controls)
    : controls_(controls),
      driveLetterFont_(DriveLetterFont()),
      arrowFont_(ArrowFont()),
      numbers_(NumberFont()),
      narrowNumbers_(NarrowNumberFont()) {
    RegisterPictures();
    for (int strip = 0; strip <= kPanels; ++strip) {
        stripRects_[static_cast<std::size_t>(strip)] = StripRect(strip);
    }
    looks_.resize(controls_.BackToFront().size());
    for (std::size_t i = 0; i < looks_.size(); ++i) {
        const Control& control = controls_.BackToFront()[i];
        Look& look = looks_[i];
        if (control.type == ControlType::kPicture) {
            const QString name = QLatin1String(control.name);
            const auto same = std::find_if(pictures_.begin(), pictures_.end(),
                                           [&](const Picture& p) { return p.name == name; });
            look.picture = static_cast<int>(same - pictures_.begin());
            if (same == pictures_.end()) {
                pictures_.push_back(
                    {name, QPixmap(QStringLiteral(":/pictures/%1.png").arg(name)), {}, {}});
            }
        } else if (control.type == ControlType::kNumber) {
            look.glyphs = &numbers_;
            look.font = &numbers_.Font();
        } else if (control.type == ControlType::kDriveLetter) {
            look.font = &driveLetterFont_;
        } else if (control.type == ControlType::kArrow) {
            look.font = &arrowFont_;
        }
        for (int strip = 0; strip <= kPanels; ++strip) {
            if (control.pixels.intersects(stripRects_[static_cast<std::size_t>(strip)])) {
                strips_[static_cast<std::size_t>(strip)].push_back(static_cast<ControlId>(i));
            }
        }
    }
}

// Strip by strip, every control that reaches into the strip's part of the dirty region, from
// the back to the front. The painter stays clipped to the dirty region, and no control but the
// frame reaches out of its strip, so a control is drawn whole and only the dirty pixels change.
void GaugeDrawing::Draw(QPainter& painter, const QRegion& dirtyRegion) {
    painter.setPen(Qt::black);
    std::array<QRect, kPanels + 1> areas;
    for (const QRect& dirty : dirtyRegion) {
        for (std::size_t strip = 0; strip < stripRects_.size(); ++strip) {
            if (Meet(dirty, stripRects_[strip])) {
                areas[strip] |= dirty & stripRects_[strip];
            }
        }
    }
    for (int strip = 0; strip <= kPanels; ++strip) {
        const QRect& area = areas[static_cast<std::size_t>(strip)];
        if (area.isEmpty()) {
            continue;
        }
        const std::vector<ControlId>& controls = strips_[static_cast<std::size_t>(strip)];
        const std::size_t first = FirstShown(strip, area);
        if (first == 0) {
            painter.fillRect(area, Qt::white);  // the window's own ground
        }
        for (std::size_t i = first; i < controls.size(); ++i) {
            const Control& control = controls_[controls[i]];
            if (control.visible && Meet(control.pixels, area)) {
                Paint(painter, controls[i], area);
            }
        }
    }
}

std::size_t GaugeDrawing::FirstShown(int strip, const QRect& area) const {
    const std::vector<ControlId>& controls = strips_[static_cast<std::size_t>(strip)];
    std::size_t first = controls.size();
    while (first > 0) {
        const Control& control = controls_[controls[first - 1]];
        if (control.visible && control.type != ControlType::kOutline &&
            Covers(control.pixels, area)) {
            break;
        }
        --first;
    }
    return first > 0 ? first - 1 : 0;
}

bool GaugeDrawing::OutlineShows(const Control& outline, const QRect& area) {
    return !outline.pixels.adjusted(2, 2, -2, -2).contains(area);
}

// A number wider than its label is written smaller rather than cut.
GlyphCache* GaugeDrawing::GlyphsOf(ControlId id, std::string_view text) {
    GlyphCache* glyphs = looks_[id].glyphs;
    if (glyphs == nullptr) {
        return nullptr;
    }
    const int room = controls_[id].pixels.width();
    qreal width = glyphs->Width(text);
    if (width > room) {
        glyphs = &narrowNumbers_;
        width = glyphs->Width(text);
    }
    return width > 0 && width <= room ? glyphs : nullptr;
}

const QPixmap& GaugeDrawing::ArtworkOf(ControlId id, qreal ratio) {
    return Artwork(pictures_[static_cast<std::size_t>(looks_[id].picture)], ratio);
}

// The artwork as drawn at `ratio`, loaded or made when first drawn so.
const QPixmap& GaugeDrawing::Artwork(Picture& picture, qreal ratio) {
    if (ratio == 1.0) {
        return picture.normal;
    }
    if (picture.dense.isNull()) {
        picture.dense.load(QStringLiteral(":/pictures/%1@2x.png").arg(picture.name));
        picture.dense.setDevicePixelRatio(2.0);
    }
    if (ratio != 2.0 && (picture.scaled.isNull() || picture.scaled.devicePixelRatio() != ratio)) {
        picture.scaled = ArtworkAt(picture.normal, picture.dense, ratio);
    }
    return ratio == 2.0 ? picture.dense : picture.scaled;
}

// Each control draws as its own widget would: within its rectangle, from its corner.
void GaugeDrawing::Paint(QPainter& painter, ControlId id, const QRect& area) {
    const Control& control = controls_[id];
    const QRect& r = control.pixels;
    Look& look = looks_[id];
    switch (control.type) {
        case ControlType::kPicture: {
            const QPixmap& art =
                ArtworkOf(id, painter.paintEngine()->paintDevice()->devicePixelRatioF());
            const qreal ratio = art.devicePixelRatio();
            const QRect part = r & area;
            if (ratio == 1.0 || ratio == 2.0) {
                // Only the part in the area: a whole picture would be clipped pixel by pixel.
                painter.drawPixmap(part, art,
                                   QRectF(QPointF(part.topLeft() - r.topLeft()) * ratio,
                                          QSizeF(part.size()) * ratio));
            } else {
                // Drawn whole, so that a part lands on the same device pixels as the whole.
                painter.setClipRect(part);
                painter.drawPixmap(r.topLeft(), art);
                painter.setClipping(false);
            }
            break;
        }
        case ControlType::kSegment:
            painter.fillRect(r, Qt::black);
            painter.fillRect(r.adjusted(1, 1, -1, -1),
                             QColor(control.fill.red, control.fill.green, control.fill.blue));
            break;
        case ControlType::kOutline:
            // Only its edges show, and it reaches through every strip: drawn within this one.
            if (OutlineShows(control, area)) {
                painter.setClipRect(area);
                painter.drawRect(r.adjusted(0, 0, -1, -1));
                painter.setClipping(false);
            }
            break;
        case ControlType::kNumber:
        case ControlType::kDriveLetter:
        case ControlType::kArrow: {
            // Text is drawn glyph by glyph, each clipped: one rectangle is the cheapest clip.
            painter.setClipRect(r & area);
            painter.fillRect(r, Qt::white);
            const std::string_view text = controls_.Text(id);
            GlyphCache* glyphs = GlyphsOf(id, text);
            if (glyphs != nullptr && glyphs->Paint(painter, r.topLeft(), text)) {
                painter.setClipping(false);
                break;
            }
            // Text beyond the glyph cache, or too wide even for the narrow font.
            const QString whole =
                QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
            const QFont* font = look.font;
            if (look.glyphs != nullptr &&
                QFontMetrics(*font).horizontalAdvance(whole) > r.width()) {
                font = &narrowNumbers_.Font();
            }
            const int wide =
                look.glyphs != nullptr ? QFontMetrics(*font).horizontalAdvance(whole) : 0;
            if (wide > r.width()) {
                DrawSqueezed(painter, r, *font, whole, wide);
            } else {
                painter.setFont(*font);
                painter.drawText(r, Qt::AlignLeft | Qt::AlignTop, whole);
            }
            painter.setClipping(false);
            break;
        }
    }
}

}  // namespace kelvane
