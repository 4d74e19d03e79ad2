// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#include "drawing/gdi/gdi_fonts.h"

#include "drawing/gdi/device_pixels.h"

namespace kelvane {
namespace {

// The TrueType drawing of the labels' MS Sans Serif that every Windows has: hinted for small
// sizes, and made at any size, where the bitmap font it redraws comes in a few sizes only.
constexpr wchar_t kFace[] = L"Microsoft Sans Serif";

enum class Look { kCrisp, kBold, kPlain };

FontHandle MakeFont(int size, Look look, double ratio) {
    // A negative height asks for the em, as a pixel size does elsewhere, not the cell.
    const int height = -DevicePixels{ratio}.At(size);
    return FontHandle(CreateFontW(height, 0, 0, 0, look == Look::kBold ? FW_BOLD : FW_NORMAL, FALSE,
                                  FALSE, FALSE, DEFAULT_CHARSET, OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS,
                                  look == Look::kCrisp ? NONANTIALIASED_QUALITY : DEFAULT_QUALITY,
                                  VARIABLE_PITCH | FF_SWISS, kFace));
}

}  // namespace

// The sizes are chosen at a ratio of 1, so that the window looks the same on every screen; a
// figure that a font at another ratio draws wider than its label is placed by its width there.
GdiFonts::GdiFonts(double ratio) : dc_(MakeMemoryDc()) {
    const auto fitting = [this](const FigureFont& figures) {
        const std::wstring_view widest = wide_.Of(figures.widest);
        return FittingSize(figures, [&](int size) {
            return DeviceWidth(MakeFont(size, Look::kCrisp, 1.0).get(), widest);
        });
    };
    const int number = fitting(kNumberFigures);
    sizes_ = {number, fitting(kNarrowNumberFigures), number, kArrowSize};
    SetRatio(ratio);
}

// Small figures read best as crisp black pixels, like the captions drawn beside them.
void GdiFonts::SetRatio(double ratio) {
    ratio_ = ratio;
    constexpr Look kLooks[kFontRoles] = {Look::kCrisp, Look::kCrisp, Look::kBold, Look::kPlain};
    for (std::size_t role = 0; role < fonts_.size(); ++role) {
        fonts_[role] = MakeFont(sizes_[role], kLooks[role], ratio);
    }
}

int GdiFonts::DeviceWidth(HFONT font, std::wstring_view text) {
    SIZE extent{};
    const HGDIOBJ before = SelectObject(dc_.get(), font);
    GetTextExtentPoint32W(dc_.get(), text.data(), static_cast<int>(text.size()), &extent);
    SelectObject(dc_.get(), before);
    return extent.cx;
}

double GdiFonts::Width(FontRole role, std::string_view text) {
    return DeviceWidth(Font(role), wide_.Of(text)) / ratio_;
}

}  // namespace kelvane
