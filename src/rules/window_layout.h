// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#pragma once

// The main window's geometry: its units, its title strip and the panels one under another.

#include "rules/geometry.h"

namespace kelvane {

// Twips, the unit of every control's place and size: 15 to a pixel, whatever the screen.
inline constexpr int kTwipsPerPixel = 15;

// Whole pixels: the nearest, an exact half going to the even neighbour.
int TwipsToPixels(double twips);

inline constexpr int kWindowWidth = 136;  // pixels
inline constexpr int kTitleStripTwips = 270;
inline constexpr int kPanelPitchTwips = 435;  // from one panel's top to the next one's
inline constexpr int kLedRowTwips = 180;
inline constexpr int kPanelTwips = 405;  // the LED row and the caption row below it

constexpr int PanelTopTwips(int panel) {
    return kTitleStripTwips + kPanelPitchTwips * panel;
}
// In whole pixels: the title strip and every panel's pitch are whole pixels.
constexpr int PanelTopPixels(int panel) {
    return PanelTopTwips(panel) / kTwipsPerPixel;
}
static_assert(kTitleStripTwips % kTwipsPerPixel == 0 && kPanelPitchTwips % kTwipsPerPixel == 0);
constexpr int CaptionTopTwips(int panel) {
    return PanelTopTwips(panel) + kLedRowTwips;
}

// The window's height in pixels for n panels: down to the last one's caption row.
constexpr int WindowHeight(int panels) {
    return (PanelTopTwips(panels - 1) + kPanelTwips) / kTwipsPerPixel;
}
static_assert(WindowHeight(1) == 45 && WindowHeight(8) == 248);

// The window as designed, before it is first placed.
inline constexpr int kDesignWidthTwips = 4485;
inline constexpr int kDesignHeightTwips = 4860;

// Half the eight-panel window, in twips: what a first start takes off half the screen to
// centre the window.
inline constexpr int kHalfWindowWidthTwips = kWindowWidth * kTwipsPerPixel / 2;
inline constexpr int kHalfWindowHeightTwips = WindowHeight(8) * kTwipsPerPixel / 2;
static_assert(kHalfWindowWidthTwips == 1020 && kHalfWindowHeightTwips == 1860);

// A panel's strip (its LED and caption rows), and its strip with the gap below it, in pixels.
constexpr Rect PanelStrip(int panel) {
    return {0, PanelTopPixels(panel), kWindowWidth, kPanelTwips / kTwipsPerPixel};
}
constexpr Rect PanelPitch(int panel) {
    return {0, PanelTopPixels(panel), kWindowWidth, kPanelPitchTwips / kTwipsPerPixel};
}
static_assert(kPanelTwips % kTwipsPerPixel == 0);
// A point on a panel's title pictures, whichever shows: where a click steps its reading.
constexpr Point PanelTitlePoint(int panel) {
    return PanelStrip(panel).TopLeft() + Point{6, 20};
}

// Where a drive panel's letter stands whenever a reading gives it one.
inline constexpr int kDriveLetterLeftTwips = 870;

// The screen taken when the window system names none.
inline constexpr Rect kFallbackScreen{0, 0, 1024, 768};

}  // namespace kelvane
