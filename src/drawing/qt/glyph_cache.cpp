// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#include "drawing/qt/glyph_cache.h"

#include <QPainter>
#include <QTextLayout>

#include "rules/number_text.h"

namespace kelvane {

// Laid out alone the way a whole caption is laid out, so that the glyph, its advance and the
// baseline are the ones the whole text would use.
const GlyphCache::Glyph& GlyphCache::GlyphOf(char c) {
    Glyph& glyph = glyphs_[static_cast<unsigned char>(c)];
    if (glyph.known) {
        return glyph;
    }
    glyph.known = true;
    QTextLayout layout(QString(QChar(c)), font_);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    layout.endLayout();
    const QList<QGlyphRun> runs = layout.glyphRuns();
    if (!line.isValid() || runs.size() != 1 || runs[0].glyphIndexes().size() != 1 ||
        (rawFont_.isValid() && runs[0].rawFont() != rawFont_)) {
        return glyph;
    }
    rawFont_ = runs[0].rawFont();
    baseline_ = runs[0].positions()[0].y();
    glyph.usable = runs[0].positions()[0].x() == 0;
    glyph.index = runs[0].glyphIndexes()[0];
    glyph.advance = line.horizontalAdvance();
    return glyph;
}

qreal GlyphCache::Width(std::string_view text) {
    qreal x = 0;
    for (const char c : text) {
        if (static_cast<unsigned char>(c) >= glyphs_.size() || !GlyphOf(c).usable) {
            return 0;  // drawn as a whole text, and measured then
        }
        x += GlyphOf(c).advance;
    }
    return x;
}

bool GlyphCache::Paint(QPainter& painter, QPointF origin, std::string_view text) {
    quint32 indexes[CaptionText::kCapacity];
    QPointF positions[CaptionText::kCapacity];
    if (text.size() > static_cast<std::size_t>(CaptionText::kCapacity)) {
        return false;
    }
    qreal x = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (static_cast<unsigned char>(c) >= glyphs_.size() || !GlyphOf(c).usable) {
            return false;
        }
        const Glyph& glyph = glyphs_[static_cast<unsigned char>(c)];
        indexes[i] = glyph.index;
        positions[i] = QPointF(x, baseline_);
        x += glyph.advance;
    }
    if (text.empty()) {
        return true;
    }
    run_.setRawFont(rawFont_);
    run_.setRawData(indexes, positions, static_cast<int>(text.size()));
    painter.drawGlyphRun(origin, run_);
    return true;
}

}  // namespace kelvane
