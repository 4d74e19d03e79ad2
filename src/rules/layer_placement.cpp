// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#include "rules/layer_placement.h"

namespace kelvane {
namespace {

// XKB_KEY_F1; F2 to F12 follow it (the X11 key symbols, which XKB keeps).
constexpr std::uint32_t kKeysymF1 = 0xffbe;

}  // namespace

QPoint LayerMargins(const QRect& window, const QRect& output) {
    return window.topLeft() - output.topLeft();
}

int ScreenIndexAt(QPoint point, const QList<QRect>& screens) {
    for (qsizetype i = 0; i < screens.size(); ++i) {
        if (screens[i].contains(point)) {
            return static_cast<int>(i);
        }
    }
    return screens.isEmpty() ? -1 : 0;
}

int FunctionKeyNumber(std::uint32_t keysym) {
    return keysym >= kKeysymF1 && keysym < kKeysymF1 + 12 ? static_cast<int>(keysym - kKeysymF1) + 1
                                                          : 0;
}

}  // namespace kelvane
