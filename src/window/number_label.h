#pragma once

#include <QGlyphRun>
#include <QLabel>
#include <QRawFont>
#include <array>

namespace kelvane {

// A panel's number: a QLabel (text(), setText(), font and palette as ever) that paints its
// caption from glyphs it has laid out once per character. A caption may change on every
// 10 ms tick, and QLabel lays out and shapes its whole text on every paint, which costs ten
// times the rest of the repaint. It paints its own white background, with the painter it
// draws the text with. Text it cannot place glyph by glyph (characters beyond ASCII, more
// than a caption holds) is painted by QLabel.
class NumberLabel : public QLabel {
    Q_OBJECT
  public:
    explicit NumberLabel(QWidget* parent);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    struct Glyph {
        bool known = false;
        bool usable = false;
        quint32 index = 0;
        qreal advance = 0;
    };
    const Glyph& GlyphOf(char16_t c);

    std::array<Glyph, 128> glyphs_{};
    QRawFont rawFont_;
    qreal baseline_ = 0;
    // Kept so that handing it a paint's glyphs allocates nothing; it points at that paint's
    // own arrays, and only while the paint lasts.
    QGlyphRun run_;
};

}  // namespace kelvane
