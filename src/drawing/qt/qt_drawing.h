// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QFont>
#include <QPixmap>
#include <QRegion>
#include <array>
#include <vector>

#include "drawing/drawing.h"
#include "drawing/qt/glyph_cache.h"

class QPainter;

namespace kelvane {

// The fonts of the drawing in Qt: a figure's glyphs laid out once (GlyphCache), and the width of
// any text, glyph by glyph as it is drawn, or as a whole where it cannot be.
class QtFonts final : public TextMeasure {
  public:
    QtFonts();
    double Width(FontRole role, std::string_view text) override;
    const QFont& Font(FontRole role) const { return fonts_[static_cast<std::size_t>(role)]; }
    // The glyphs a figure's font is drawn with; nullptr for a font drawn as whole texts.
    GlyphCache* Glyphs(FontRole role);

  private:
    std::array<QFont, kFontRoles> fonts_;
    GlyphCache numbers_;
    GlyphCache narrowNumbers_;
};

// The gauge's artwork at a device pixel ratio: the pictures as drawn at 1 and 2, and smoothly
// scaled from the 2x artwork at any other ratio.
class QtArtwork {
  public:
    explicit QtArtwork(const std::vector<std::string>& names);
    const QPixmap& At(int picture, qreal ratio);

  private:
    struct Picture {
        QString name;
        QPixmap normal;
        QPixmap dense;   // loaded when a high-density screen first shows it
        QPixmap scaled;  // at a ratio of neither 1 nor 2
    };
    std::vector<Picture> pictures_;
};

// The drawing painted by Qt's painter, onto whatever paint device the painter is on.
class QtDrawing {
  public:
    explicit QtDrawing(const Controls& controls);

    // Paints what reaches into `dirty` (pixels from the window's corner) at the painter's
    // device pixel ratio. The painter is to be clipped to `dirty`: controls are painted whole,
    // and only the dirty pixels are to change.
    void Paint(QPainter& painter, const QRegion& dirty);

    const Drawing& drawing() const { return drawing_; }
    QtFonts& Fonts() { return fonts_; }
    QtArtwork& Artwork() { return artwork_; }

  private:
    void Paint(QPainter& painter, const DrawStep& step);
    void PaintText(QPainter& painter, const DrawStep& step);

    Drawing drawing_;
    QtFonts fonts_;
    QtArtwork artwork_;
    DrawSteps steps_;  // kept with their room from one paint to the next
};

}  // namespace kelvane
