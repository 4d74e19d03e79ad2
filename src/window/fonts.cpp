#include "window/fonts.h"

#include <QFontMetrics>
#include <QString>

namespace kelvane {
namespace {

QFont SmallSans() {
    QFont font(QStringLiteral("Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    return font;
}

}  // namespace

QFont NumberFont() {
    QFont font = SmallSans();
    // Small figures read best as crisp black pixels, like the captions drawn beside them.
    font.setStyleStrategy(QFont::NoAntialias);
    font.setHintingPreference(QFont::PreferFullHinting);
    const QString widest = QStringLiteral("67108864 KB");
    constexpr int kLabelWidth = 60;
    for (int size = 11; size > 6; --size) {
        font.setPixelSize(size);
        if (QFontMetrics(font).horizontalAdvance(widest) <= kLabelWidth) {
            break;
        }
    }
    return font;
}

QFont DriveLetterFont() {
    QFont font = SmallSans();
    font.setPixelSize(NumberFont().pixelSize());
    font.setBold(true);
    return font;
}

QFont ArrowFont() {
    QFont font = SmallSans();
    font.setPixelSize(11);
    return font;
}

}  // namespace kelvane
