// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#pragma once

#include <windows.h>

#include <vector>

#include "drawing/drawing.h"
#include "drawing/gdi/device_pixels.h"
#include "drawing/gdi/gdi_artwork.h"
#include "drawing/gdi/gdi_fonts.h"
#include "drawing/gdi/gdi_objects.h"
#include "drawing/gdi/wide_text.h"

namespace kelvane {

// The drawing painted by GDI, at a device pixel ratio (the window's DPI over 96). A paint is
// drawn into a bitmap of our own and shown with one copy, so that the window never shows a part
// half painted; that bitmap, the fonts and the artwork are kept from one paint to the next, as
// the tick repaints small parts of the window a hundred times a second.
//
// From a window procedure: Paint(ps.hdc, ps.rcPaint) on WM_PAINT; SetRatio(GetDpiForWindow(window)
// / 96.0) on WM_DPICHANGED; and for each rectangle the gauge says has changed, InvalidateRect of
// its ToDevice.
class GdiDrawing {
  public:
    GdiDrawing(const Controls& controls, double ratio);
    GdiDrawing(const GdiDrawing&) = delete;
    GdiDrawing& operator=(const GdiDrawing&) = delete;

    void SetRatio(double ratio);
    double Ratio() const { return device_.ratio; }
    // The device pixels that pixels of the window cover.
    RECT ToDevice(const Rect& pixels) const;

    // Paints the device pixels `dirty` of the window onto `target`, whose origin is the window's
    // corner, and nothing else of it.
    void Paint(HDC target, const RECT& dirty);

    const Drawing& drawing() const { return drawing_; }
    GdiFonts& Fonts() { return fonts_; }

  private:
    // The bitmap painted into holds at least `width` by `height` device pixels.
    bool Holds(int width, int height);
    void Paint(const DrawStep& step);
    void Fill(const Rect& pixels, const Rect& area, COLORREF colour);
    void FillDevice(const Rect& device, COLORREF colour);
    void PaintFrame(const DrawStep& step);
    void PaintPicture(const DrawStep& step);
    void PaintText(const DrawStep& step);
    void PaintSqueezed(const DrawStep& step, std::wstring_view text, const RECT& clip);
    static void UseFont(HDC dc, HFONT font, HFONT& selected);
    void ReleaseFonts();

    Drawing drawing_;
    DevicePixels device_;
    GdiFonts fonts_;
    GdiArtwork artwork_;
    // Each bitmap before the device context it is selected into, which lets it go on its end.
    Dib canvas_;
    MemoryDc canvasDc_;
    Dib line_;  // a squeezed text at its own width
    MemoryDc lineDc_;
    MemoryDc pictureDc_;
    HFONT canvasFont_ = nullptr;  // the font each of the two holds now
    HFONT lineFont_ = nullptr;
    DrawSteps steps_;
    std::vector<float> scratch_;
    WideText wide_;
};

}  // namespace kelvane
