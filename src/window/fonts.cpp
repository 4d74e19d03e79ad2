#include "window/fonts.h"

#include <QFontMetrics>
#include <QString>

namespace kelvane {

QFont NumberFont() {
    QFont font(QStringLiteral("Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
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
    QFont font = NumberFont();
    font.setBold(true);
    return font;
}

}  // namespace kelvane
