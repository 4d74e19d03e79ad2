// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QFont>
#include <QGlyphRun>
#include <QRawFont>
#include <array>
#include <string_view>

class QPainter;
class QPointF;

namespace kelvane {

// Paints short captions from glyphs laid out once per character. A panel's number may change
// on every 10 ms tick, and laying out and shaping the whole text on every paint costs ten
// times the rest of the repaint. Each glyph and the baseline are the ones a text layout of the
// whole caption would use, so the pixels are the same.
class GlyphCache {
  public:
    explicit GlyphCache(QFont font) : font_(std::move(font)) {}
    const QFont& Font() const { return font_; }
    // Paints `text` (ASCII) with its upper-left corner at `origin`; false, painting nothing,
    // when a character cannot be placed glyph by glyph.
    bool Paint(QPainter& painter, QPointF origin, std::string_view text);
    // The width of `text` in pixels, or 0 when it cannot be placed glyph by glyph.
    qreal Width(std::string_view text);

  private:
    struct Glyph {
        bool known = false;
        bool usable = false;
        quint32 index = 0;
        qreal advance = 0;
    };
    const Glyph& GlyphOf(char c);

    QFont font_;
    std::array<Glyph, 128> glyphs_{};
    QRawFont rawFont_;
    qreal baseline_ = 0;
    // Kept so that handing it a paint's glyphs allocates nothing; it points at that paint's
    // own arrays, and only while the paint lasts.
    QGlyphRun run_;
};

}  // namespace kelvane
