// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#include "rules/layer_placement.h"

namespace kelvane {
namespace {

// XKB_KEY_F1; F2 to F12 follow it (the X11 key symbols, which XKB keeps).
constexpr std::uint32_t kKeysymF1 = 0xffbe;

}  // namespace

Point LayerMargins(const Rect& window, const Rect& output) {
    return window.TopLeft() - output.TopLeft();
}

int ScreenIndexAt(Point point, const std::vector<Rect>& screens) {
    for (std::size_t i = 0; i < screens.size(); ++i) {
        if (screens[i].Contains(point)) {
            return static_cast<int>(i);
        }
    }
    return screens.empty() ? -1 : 0;
}

int FunctionKeyNumber(std::uint32_t keysym) {
    return keysym >= kKeysymF1 && keysym < kKeysymF1 + 12 ? static_cast<int>(keysym - kKeysymF1) + 1
                                                          : 0;
}

}  // namespace kelvane
