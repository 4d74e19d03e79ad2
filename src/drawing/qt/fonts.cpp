// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#include "drawing/qt/fonts.h"

#include <QFontMetrics>
#include <QString>

namespace kelvane {
namespace {

QFont SmallSans() {
    QFont font(QStringLiteral("Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    return font;
}

// Below this the digits no longer read; a number too wide for its label even at this size is
// squeezed into it instead.
constexpr int kSmallestLegibleSize = 7;

// The largest size, from 11 pixels down to the smallest legible one, at which `widest` fits
// `width` pixels; that smallest size when none does.
QFont NumberFontFitting(const QString& widest, int width) {
    QFont font = SmallSans();
    // Small figures read best as crisp black pixels, like the captions drawn beside them.
    font.setStyleStrategy(QFont::NoAntialias);
    font.setHintingPreference(QFont::PreferFullHinting);
    for (int size = 11; size >= kSmallestLegibleSize; --size) {
        font.setPixelSize(size);
        if (QFontMetrics(font).horizontalAdvance(widest) <= width) {
            break;
        }
    }
    return font;
}

}  // namespace

QFont NumberFont() {
    return NumberFontFitting(QStringLiteral("67108864 KB"), 60);
}

QFont NarrowNumberFont() {
    return NumberFontFitting(QStringLiteral("4294967296 KB"), 55);
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
