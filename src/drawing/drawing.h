// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#pragma once

// What the main window shows where, described once for every way of painting it. The drawing
// walks the controls in stacking order and says, for a part of the window, what to paint there
// from the back to the front: the window's white ground, filled rectangles, the frame's edges,
// pictures and texts. Each backend (Qt's painter, the X server's side, GDI) paints those steps;
// none walks the controls itself.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/controls.h"
#include "rules/counts.h"
#include "rules/geometry.h"
#include "rules/led_rules.h"

namespace kelvane {

// The fonts a text is drawn in, by what the text is.
enum class FontRole : std::uint8_t {
    kNumber,        // a panel's figure
    kNarrowNumber,  // a figure too wide for its label in the number font
    kDriveLetter,
    kArrow,  // the pins of the title strip
};
inline constexpr int kFontRoles = 4;

// How wide texts are in each backend's fonts, in pixels (between pixels where the font says so).
class TextMeasure {
  public:
    virtual ~TextMeasure() = default;
    virtual double Width(FontRole role, std::string_view text) = 0;
};

// Where a text goes in its label: in which font, and how wide it is drawn there. A figure too
// wide for its label in the number font is written in the narrow one; one too wide even in that
// (the used KB of a machine with ten terabytes and more) is drawn at its own width and squeezed
// across into the label, so that every digit and the unit show.
struct TextPlacement {
    FontRole role = FontRole::kNumber;
    double width = 0;  // its width in that font
    bool squeezed = false;
    // Across the label, where the `n`-th character starts: for screen readers.
    double scale = 1.0;
};
TextPlacement PlaceText(FontRole role, std::string_view text, int room, TextMeasure& measure);

// The window's small sans-serif fonts, in pixels. A number font is as large as it can be, up to
// the arrows' size, while the widest figure it is for fits its room: the widest a panel can show
// on a 64 GiB machine fits the 60-pixel number label; the narrow font fits a used RAM KB figure of
// a 4 TiB machine into the narrowest number label, unless that would take it below the smallest
// size whose digits still read (wider figures are squeezed then). Each backend measures in its
// own fonts: `widthAt(size)` is how wide the figure is at that size.
struct FigureFont {
    std::string_view widest;
    int room = 0;
};
inline constexpr FigureFont kNumberFigures{"67108864 KB", 60};
inline constexpr FigureFont kNarrowNumberFigures{"4294967296 KB", 55};
inline constexpr int kArrowSize = 11;
inline constexpr int kSmallestLegibleSize = 7;
template <typename WidthAt>
int FittingSize(const FigureFont& figures, WidthAt widthAt) {
    int size = kArrowSize;
    while (size > kSmallestLegibleSize && widthAt(size) > figures.room) {
        --size;
    }
    return size;
}

// One thing to paint. Everything is in pixels from the window's corner; `area` is the part of the
// window being painted, which no step paints beyond.
struct DrawStep {
    enum class Kind : std::uint8_t {
        kGround,   // the window's own white ground over the whole area
        kFill,     // `rect` filled with `colour`
        kFrame,    // the edges of `rect`, one pixel wide, in black: its inside is not painted
        kPicture,  // picture `picture` with its corner at `rect`'s
        kText,     // `text` on a white ground filling `rect`, from its upper-left corner
    };
    Kind kind = Kind::kGround;
    Rect rect;
    Rect area;
    Rgb colour{0, 0, 0};
    int picture = -1;
    TextPlacement placement;
    std::string_view text;
};
using DrawSteps = std::vector<DrawStep>;

// The main window's controls as steps to paint.
class Drawing {
  public:
    explicit Drawing(const Controls& controls);

    // The strips a repaint is split into: the title strip, then each panel's with the gap below
    // it, every one reaching across the window. No control but the frame reaches out of its
    // strip, so a strip is painted from its own controls alone.
    static constexpr int kStrips = kPanels + 1;
    static Rect StripRows(int strip);

    // Appends the steps that paint `area`, strip by strip: from the frontmost control that
    // covers the strip's part of the area (what lies behind it does not show) to the front.
    void Describe(const Rect& area, TextMeasure& measure, DrawSteps& steps) const;

    // The pictures, by name (a picture control's name names its artwork, and all controls of an
    // array share it), and which one a control shows.
    const std::vector<std::string>& PictureNames() const { return pictureNames_; }
    int PictureOf(ControlId id) const { return looks_[id].picture; }
    // Where a label's text goes as it shows now.
    TextPlacement TextOf(ControlId id, TextMeasure& measure) const;

  private:
    struct Look {
        int picture = -1;
        FontRole font = FontRole::kNumber;
    };
    // Where painting `area` (within `strip`) starts among the strip's controls: at the
    // frontmost one that covers it all, or at 0, on the window's ground.
    std::size_t FirstShown(int strip, const Rect& area, bool& ground) const;
    void Step(ControlId id, const Rect& area, TextMeasure& measure, DrawSteps& steps) const;

    const Controls& controls_;
    std::vector<std::string> pictureNames_;
    std::vector<Look> looks_;  // by control
    std::array<std::vector<ControlId>, kStrips> strips_;
};

}  // namespace kelvane
