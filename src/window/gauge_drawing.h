// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QFont>
#include <QPixmap>
#include <QRegion>
#include <QString>
#include <array>
#include <vector>

#include "core/controls.h"
#include "rules/sections.h"
#include "window/glyph_cache.h"

class QPainter;

namespace kelvane {

// The gauge's controls as pixels: drawn in stacking order onto whatever paint device the
// painter is on, and only within the region that changed. It knows nothing of windows, so
// every host (the Qt widget on X11, a Wayland layer surface) shows the same pixels.
class GaugeDrawing {
  public:
    explicit GaugeDrawing(const Controls& controls);

    // Draws every control that reaches into `dirty` (pixels from the window's corner) at the
    // painter's device pixel ratio. The painter is to be clipped to `dirty`: controls are drawn
    // whole, and only the dirty pixels are to change.
    void Draw(QPainter& painter, const QRegion& dirty);

    // The strips a repaint is split into: the title strip, then each panel's, every one
    // reaching across the window. No control but the frame reaches out of its strip.
    static constexpr int kStrips = kPanels + 1;
    const QRect& StripRows(int strip) const { return stripRects_[static_cast<std::size_t>(strip)]; }
    // The controls that reach into the strip, from the back to the front.
    const std::vector<ControlId>& StripControls(int strip) const {
        return strips_[static_cast<std::size_t>(strip)];
    }
    // Where drawing `area` (within `strip`) starts among the strip's controls: what lies
    // behind the frontmost control that covers the whole area does not show. At 0 the
    // window's own white ground is drawn first.
    std::size_t FirstShown(int strip, const QRect& area) const;
    // Whether the frame's edges reach into `area`: inside them it draws nothing.
    static bool OutlineShows(const Control& outline, const QRect& area);
    // The glyphs a label's text is drawn with, glyph by glyph and at its full width; nullptr
    // where it is drawn as a whole text.
    GlyphCache* GlyphsOf(ControlId id, std::string_view text);
    // A picture control's artwork at `ratio`, and which of the pictures it is.
    const QPixmap& ArtworkOf(ControlId id, qreal ratio);
    int PictureOf(ControlId id) const { return looks_[id].picture; }
    int PictureCount() const { return static_cast<int>(pictures_.size()); }

  private:
    // The artwork of a picture; all controls of an array share it.
    struct Picture {
        QString name;
        QPixmap normal;
        QPixmap dense;   // the @2x artwork, loaded when a high-density screen first shows it
        QPixmap scaled;  // at a ratio of neither 1 nor 2, made from the @2x artwork
    };
    static const QPixmap& Artwork(Picture& picture, qreal ratio);
    struct Look {
        int picture = -1;
        const QFont* font = nullptr;
        GlyphCache* glyphs = nullptr;
    };
    void Paint(QPainter& painter, ControlId id, const QRect& area);

    const Controls& controls_;
    QFont driveLetterFont_;
    QFont arrowFont_;
    GlyphCache numbers_;
    GlyphCache narrowNumbers_;
    std::vector<Picture> pictures_;
    std::vector<Look> looks_;  // by control
    // The controls that reach into the title strip and into each panel's strip, from the
    // back to the front: a repaint only looks at the strips it touches.
    std::array<QRect, kPanels + 1> stripRects_;  // the title strip's and each panel's rows
    std::array<std::vector<ControlId>, kPanels + 1> strips_;
};

}  // namespace kelvane
