// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#pragma once

#include <windows.h>

#include <array>

#include "drawing/drawing.h"
#include "drawing/gdi/gdi_objects.h"
#include "drawing/gdi/wide_text.h"

namespace kelvane {

// The drawing's fonts as GDI makes them at a device pixel ratio, one for each role, and how wide
// texts are in them, in pixels of the window.
class GdiFonts final : public TextMeasure {
  public:
    explicit GdiFonts(double ratio);
    // Makes the fonts anew for another ratio (the window moved to another screen).
    void SetRatio(double ratio);

    double Width(FontRole role, std::string_view text) override;
    HFONT Font(FontRole role) const { return fonts_[static_cast<std::size_t>(role)].get(); }
    // The size each font is made at, in pixels of the window, the same at every ratio.
    int Size(FontRole role) const { return sizes_[static_cast<std::size_t>(role)]; }

  private:
    int DeviceWidth(HFONT font, std::wstring_view text);

    MemoryDc dc_;  // where texts are measured
    double ratio_ = 1.0;
    std::array<FontHandle, kFontRoles> fonts_;
    std::array<int, kFontRoles> sizes_{};
    WideText wide_;
};

}  // namespace kelvane
