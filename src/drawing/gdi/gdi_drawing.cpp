// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#include "drawing/gdi/gdi_drawing.h"

#include <algorithm>
#include <cmath>

namespace kelvane {
namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);

RECT ToRect(const Rect& r) {
    return {r.x, r.y, r.Right(), r.Bottom()};
}

// Black text on white, from its upper-left corner.
void SetUpForText(HDC dc) {
    SetBkColor(dc, kWhite);
    SetTextColor(dc, kBlack);
    SetTextAlign(dc, TA_TOP | TA_LEFT | TA_NOUPDATECP);
}

// Makes `dib` the bitmap `dc` draws into, letting go of the one it replaces; keeps that one
// where the new one could not be made.
void SelectInto(HDC dc, Dib& held, Dib&& dib) {
    if (dib.Empty()) {
        return;
    }
    SelectObject(dc, dib.Handle());
    held = std::move(dib);
}

}  // namespace

GdiDrawing::GdiDrawing(const Controls& controls, double ratio)
    : drawing_(controls),
      device_{ratio},
      fonts_(ratio),
      artwork_(drawing_.PictureNames(), ratio),
      canvasDc_(MakeMemoryDc()),
      lineDc_(MakeMemoryDc()),
      pictureDc_(MakeMemoryDc()) {
    SetUpForText(canvasDc_.get());
    SetUpForText(lineDc_.get());
}

void GdiDrawing::SetRatio(double ratio) {
    if (ratio == device_.ratio) {
        return;
    }
    device_.ratio = ratio;
    ReleaseFonts();
    fonts_.SetRatio(ratio);
    artwork_.SetRatio(ratio);
}

RECT GdiDrawing::ToDevice(const Rect& pixels) const {
    return ToRect(device_.Of(pixels));
}

bool GdiDrawing::Holds(int width, int height) {
    if (canvas_.Width() < width || canvas_.Height() < height) {
        SelectInto(canvasDc_.get(), canvas_,
                   Dib(std::max(width, canvas_.Width()), std::max(height, canvas_.Height())));
    }
    return !canvas_.Empty();
}

void GdiDrawing::Paint(HDC target, const RECT& dirty) {
    const Rect device(dirty.left, dirty.top, dirty.right - dirty.left, dirty.bottom - dirty.top);
    if (device.IsEmpty() || !Holds(device.Right(), device.Bottom())) {
        return;
    }
    steps_.clear();
    drawing_.Describe(device_.Covering(device), fonts_, steps_);
    for (const DrawStep& step : steps_) {
        Paint(step);
    }
    BitBlt(target, device.x, device.y, device.width, device.height, canvasDc_.get(), device.x,
           device.y, SRCCOPY);
}

void GdiDrawing::Paint(const DrawStep& step) {
    const Rect& r = step.rect;
    switch (step.kind) {
        case DrawStep::Kind::kGround:
            Fill(step.area, step.area, kWhite);
            break;
        case DrawStep::Kind::kFill:
            Fill(r, step.area, RGB(step.colour.red, step.colour.green, step.colour.blue));
            break;
        case DrawStep::Kind::kFrame:
            PaintFrame(step);
            break;
        case DrawStep::Kind::kPicture:
            PaintPicture(step);
            break;
        case DrawStep::Kind::kText:
            PaintText(step);
            break;
    }
}

void GdiDrawing::Fill(const Rect& pixels, const Rect& area, COLORREF colour) {
    FillDevice(device_.Of(pixels.Intersected(area)), colour);
}

// With the stock brush of the device context's own colour: a fill makes no brush.
void GdiDrawing::FillDevice(const Rect& device, COLORREF colour) {
    const RECT rect = ToRect(device);
    SetDCBrushColor(canvasDc_.get(), colour);
    FillRect(canvasDc_.get(), &rect, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

// Each edge as Qt's painter strokes it with a pen one pixel of the window wide: one device pixel
// at a ratio of 1; at 2, two, centred on where the edge's pixel starts, which leaves the outer
// half of the right and bottom edges' pixels to what lies behind. The reference pictures hold
// the window so, and every backend paints it alike.
void GdiDrawing::PaintFrame(const DrawStep& step) {
    const Rect& r = step.rect;
    const int pen = std::max(1, static_cast<int>(std::lround(device_.ratio)));
    const auto edge = [&](int pixel) {
        return device_.At(pixel) - static_cast<int>(device_.ratio / 2);
    };
    const Rect outer(edge(r.x), edge(r.y), edge(r.Right() - 1) + pen - edge(r.x),
                     edge(r.Bottom() - 1) + pen - edge(r.y));
    const Rect edges[] = {{outer.x, outer.y, outer.width, pen},
                          {outer.x, outer.Bottom() - pen, outer.width, pen},
                          {outer.x, outer.y, pen, outer.height},
                          {outer.Right() - pen, outer.y, pen, outer.height}};
    for (const Rect& part : edges) {
        FillDevice(part.Intersected(device_.Of(step.area)), kBlack);
    }
}

// Only the part in the area, from where it lies in the picture as a whole: at any ratio each
// part lands on the device pixels the whole picture would.
void GdiDrawing::PaintPicture(const DrawStep& step) {
    const Dib& art = artwork_.At(step.picture);
    const Point corner{device_.At(step.rect.x), device_.At(step.rect.y)};
    const Rect from = device_.Of(step.rect.Intersected(step.area))
                          .Translated({-corner.x, -corner.y})
                          .Intersected({0, 0, art.Width(), art.Height()});
    if (from.IsEmpty()) {
        return;
    }
    const int x = corner.x + from.x;
    const int y = corner.y + from.y;
    const HGDIOBJ before = SelectObject(pictureDc_.get(), art.Handle());
    if (artwork_.Opaque(step.picture)) {
        BitBlt(canvasDc_.get(), x, y, from.width, from.height, pictureDc_.get(), from.x, from.y,
               SRCCOPY);
    } else {
        const BLENDFUNCTION over{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        AlphaBlend(canvasDc_.get(), x, y, from.width, from.height, pictureDc_.get(), from.x, from.y,
                   from.width, from.height, over);
    }
    SelectObject(pictureDc_.get(), before);
}

// On a white ground filling the label, cut at its edges and the area's.
void GdiDrawing::PaintText(const DrawStep& step) {
    const RECT clip = ToDevice(step.rect.Intersected(step.area));
    const std::wstring_view text = wide_.Of(step.text);
    if (step.placement.squeezed) {
        PaintSqueezed(step, text, clip);
        return;
    }
    UseFont(canvasDc_.get(), fonts_.Font(step.placement.role), canvasFont_);
    ExtTextOutW(canvasDc_.get(), device_.At(step.rect.x), device_.At(step.rect.y),
                ETO_CLIPPED | ETO_OPAQUE, &clip, text.data(), static_cast<UINT>(text.size()),
                nullptr);
}

// A device context keeps the font last selected into it: each selection is a call down to the
// display's driver (under Wine, to X), and most texts of a repaint share a font.
void GdiDrawing::UseFont(HDC dc, HFONT font, HFONT& selected) {
    if (font != selected) {
        SelectObject(dc, font);
        selected = font;
    }
}

// The fonts are let go of before they are made anew at another scale.
void GdiDrawing::ReleaseFonts() {
    for (HDC dc : {canvasDc_.get(), lineDc_.get()}) {
        if (dc != nullptr) {
            SelectObject(dc, GetStockObject(SYSTEM_FONT));
        }
    }
    canvasFont_ = nullptr;
    lineFont_ = nullptr;
}

// Drawn at its own width and squeezed across into its label; smoothing keeps the squeezed
// strokes readable.
void GdiDrawing::PaintSqueezed(const DrawStep& step, std::wstring_view text, const RECT& clip) {
    const Rect label = device_.Of(step.rect);
    const int width = static_cast<int>(std::lround(step.placement.width * device_.ratio));
    if (line_.Width() < width || line_.Height() < label.height) {
        SelectInto(lineDc_.get(), line_,
                   Dib(std::max(width, line_.Width()), std::max(label.height, line_.Height())));
    }
    if (line_.Width() < width || line_.Height() < label.height) {
        return;
    }
    const RECT whole{0, 0, width, label.height};
    UseFont(lineDc_.get(), fonts_.Font(step.placement.role), lineFont_);
    ExtTextOutW(lineDc_.get(), 0, 0, ETO_CLIPPED | ETO_OPAQUE, &whole, text.data(),
                static_cast<UINT>(text.size()), nullptr);
    GdiFlush();  // what GDI drew is in the pixels before they are read and written
    PixelsIn drawn = line_.In();
    drawn.width = width;
    drawn.height = label.height;
    ScaleSmoothly(drawn, canvas_.Out(), label,
                  {clip.left, clip.top, clip.right - clip.left, clip.bottom - clip.top}, scratch_);
}

}  // namespace kelvane
