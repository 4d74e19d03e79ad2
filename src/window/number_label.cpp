#include "window/number_label.h"

#include <QEvent>
#include <QPainter>
#include <QTextLayout>

#include "core/number_text.h"

namespace kelvane {

NumberLabel::NumberLabel(QWidget* parent) : QLabel(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void NumberLabel::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange) {
        glyphs_ = {};
        rawFont_ = QRawFont();
    }
    QLabel::changeEvent(event);
}

// Laid out alone the way QLabel lays out a whole caption, so that the glyph, its advance and
// the baseline are the ones QLabel would use.
const NumberLabel::Glyph& NumberLabel::GlyphOf(char16_t c) {
    Glyph& glyph = glyphs_[c];
    if (glyph.known) {
        return glyph;
    }
    glyph.known = true;
    QTextLayout layout(QString(QChar(c)), font());
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

void NumberLabel::paintEvent(QPaintEvent* event) {
    const QString caption = text();
    quint32 indexes[CaptionText::kCapacity];
    QPointF positions[CaptionText::kCapacity];
    const qsizetype count = caption.size();
    bool placed = count <= CaptionText::kCapacity && !wordWrap() &&
                  alignment() == (Qt::AlignLeft | Qt::AlignTop);
    qreal x = 0;
    for (qsizetype i = 0; placed && i < count; ++i) {
        const char16_t c = caption[i].unicode();
        if (c >= glyphs_.size() || !GlyphOf(c).usable) {
            placed = false;
            break;
        }
        const Glyph& glyph = glyphs_[c];
        indexes[i] = glyph.index;
        positions[i] = QPointF(x, baseline_);
        x += glyph.advance;
    }

    QPainter painter(this);
    painter.fillRect(rect(), palette().color(backgroundRole()));
    if (!placed) {
        painter.end();
        QLabel::paintEvent(event);
        return;
    }
    if (count == 0) {
        return;
    }
    run_.setRawFont(rawFont_);
    run_.setRawData(indexes, positions, static_cast<int>(count));
    // The painter of a widget starts with its text colour as the pen.
    painter.drawGlyphRun(contentsRect().topLeft(), run_);
}

}  // namespace kelvane
