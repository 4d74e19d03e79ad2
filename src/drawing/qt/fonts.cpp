// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#include "drawing/qt/fonts.h"

#include <QFontMetrics>
#include <QString>

#include "drawing/drawing.h"

namespace kelvane {
namespace {

QFont SmallSans() {
    QFont font(QStringLiteral("Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    return font;
}

// Small figures read best as crisp black pixels, like the captions drawn beside them.
QFont NumberFontFitting(const FigureFont& figures) {
    QFont font = SmallSans();
    font.setStyleStrategy(QFont::NoAntialias);
    font.setHintingPreference(QFont::PreferFullHinting);
    const QString widest =
        QString::fromLatin1(figures.widest.data(), static_cast<qsizetype>(figures.widest.size()));
    font.setPixelSize(FittingSize(figures, [&](int size) {
        font.setPixelSize(size);
        return QFontMetrics(font).horizontalAdvance(widest);
    }));
    return font;
}

}  // namespace

QFont NumberFont() {
    return NumberFontFitting(kNumberFigures);
}

QFont NarrowNumberFont() {
    return NumberFontFitting(kNarrowNumberFigures);
}

QFont DriveLetterFont() {
    QFont font = SmallSans();
    font.setPixelSize(NumberFont().pixelSize());
    font.setBold(true);
    return font;
}

QFont ArrowFont() {
    QFont font = SmallSans();
    font.setPixelSize(kArrowSize);
    return font;
}

}  // namespace kelvane
