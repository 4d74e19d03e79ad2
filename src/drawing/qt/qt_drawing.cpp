// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#include "drawing/qt/qt_drawing.h"

#include <QFontMetrics>
#include <QImage>
#include <QPaintEngine>
#include <QPainter>

#include "drawing/qt/artwork.h"
#include "drawing/qt/fonts.h"

// The pictures live in a static library that nothing else refers to; registering them here
// keeps the linker from dropping them.
static void RegisterPictures() {
    Q_INIT_RESOURCE(pictures);
}

namespace kelvane {
namespace {

QString FromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QRect ToQt(const Rect& r) {
    return {r.x, r.y, r.width, r.height};
}

// A text drawn at its own width and squeezed across into its label; smoothing keeps the squeezed
// strokes readable.
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

QtFonts::QtFonts()
    : fonts_{NumberFont(), NarrowNumberFont(), DriveLetterFont(), ArrowFont()},
      numbers_(fonts_[0]),
      narrowNumbers_(fonts_[1]) {}

GlyphCache* QtFonts::Glyphs(FontRole role) {
    switch (role) {
        case FontRole::kNumber:
            return &numbers_;
        case FontRole::kNarrowNumber:
            return &narrowNumbers_;
        default:
            return nullptr;
    }
}

// As the text is drawn: glyph by glyph where the glyphs are laid out once, else as a whole.
double QtFonts::Width(FontRole role, std::string_view text) {
    GlyphCache* glyphs = Glyphs(role);
    const double width = glyphs != nullptr ? glyphs->Width(text) : 0;
    return width > 0 || text.empty() ? width
                                     : QFontMetrics(Font(role)).horizontalAdvance(FromUtf8(text));
}

QtArtwork::QtArtwork(const std::vector<std::string>& names) {
    RegisterPictures();
    for (const std::string& name : names) {
        const QString qname = QString::fromStdString(name);
        pictures_.push_back(
            {qname, QPixmap(QStringLiteral(":/pictures/%1.png").arg(qname)), {}, {}});
    }
}

const QPixmap& QtArtwork::At(int index, qreal ratio) {
    Picture& picture = pictures_[static_cast<std::size_t>(index)];
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

QtDrawing::QtDrawing(const Controls& controls)
    : drawing_(controls), artwork_(drawing_.PictureNames()) {}

// Strip by strip, the part of the dirty region in the strip.
void QtDrawing::Paint(QPainter& painter, const QRegion& dirtyRegion) {
    painter.setPen(Qt::black);
    std::array<Rect, Drawing::kStrips> areas;
    for (const QRect& dirty : dirtyRegion) {
        const Rect d(dirty.x(), dirty.y(), dirty.width(), dirty.height());
        for (int strip = 0; strip < Drawing::kStrips; ++strip) {
            auto& area = areas[static_cast<std::size_t>(strip)];
            area = area.United(d.Intersected(Drawing::StripRows(strip)));
        }
    }
    steps_.clear();
    for (const Rect& area : areas) {
        if (!area.IsEmpty()) {
            drawing_.Describe(area, fonts_, steps_);
        }
    }
    for (const DrawStep& step : steps_) {
        Paint(painter, step);
    }
}

void QtDrawing::Paint(QPainter& painter, const DrawStep& step) {
    const QRect r = ToQt(step.rect);
    switch (step.kind) {
        case DrawStep::Kind::kGround:
            painter.fillRect(ToQt(step.area), Qt::white);
            break;
        case DrawStep::Kind::kFill:
            painter.fillRect(r, QColor(step.colour.red, step.colour.green, step.colour.blue));
            break;
        case DrawStep::Kind::kFrame:
            // It reaches through every strip: painted within this one.
            painter.setClipRect(ToQt(step.area));
            painter.drawRect(r.adjusted(0, 0, -1, -1));
            painter.setClipping(false);
            break;
        case DrawStep::Kind::kPicture: {
            const QPixmap& art = artwork_.At(
                step.picture, painter.paintEngine()->paintDevice()->devicePixelRatioF());
            const qreal ratio = art.devicePixelRatio();
            const QRect part = ToQt(step.rect.Intersected(step.area));
            if (ratio == 1.0 || ratio == 2.0) {
                // Only the part in the area: a whole picture would be clipped pixel by pixel.
                painter.drawPixmap(part, art,
                                   QRectF(QPointF(part.topLeft() - r.topLeft()) * ratio,
                                          QSizeF(part.size()) * ratio));
            } else {
                // Whole, so that a part lands on the same device pixels as the whole.
                painter.setClipRect(part);
                painter.drawPixmap(r.topLeft(), art);
                painter.setClipping(false);
            }
            break;
        }
        case DrawStep::Kind::kText:
            PaintText(painter, step);
            break;
    }
}

// Glyph by glyph where the glyphs are laid out once, each clipped: one rectangle is the cheapest
// clip. Otherwise as a whole text, squeezed into the label where it is wider.
void QtDrawing::PaintText(QPainter& painter, const DrawStep& step) {
    const QRect r = ToQt(step.rect);
    painter.setClipRect(ToQt(step.rect.Intersected(step.area)));
    painter.fillRect(r, Qt::white);
    const TextPlacement& placement = step.placement;
    GlyphCache* glyphs = placement.squeezed ? nullptr : fonts_.Glyphs(placement.role);
    if (glyphs == nullptr || !glyphs->Paint(painter, r.topLeft(), step.text)) {
        const QFont& font = fonts_.Font(placement.role);
        const QString whole = FromUtf8(step.text);
        if (placement.squeezed) {
            DrawSqueezed(painter, r, font, whole, static_cast<int>(placement.width));
        } else {
            painter.setFont(font);
            painter.drawText(r, Qt::AlignLeft | Qt::AlignTop, whole);
        }
    }
    painter.setClipping(false);
}

}  // namespace kelvane
