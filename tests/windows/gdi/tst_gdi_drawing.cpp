// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

// The main window painted by GDI, against the reference pictures of the Qt build's view: outside
// the labels, where the pictures, bars and frame are, the very same pixels; inside, black text
// on white within its label, as a font of this system draws it. What is painted is left in
// pictures/ (bitmaps) to look at.

#include <doctest/doctest.h>

#include <filesystem>
#include <fstream>

#include "drawing/gdi/gdi_drawing.h"
#include "drawing/gdi/png_resources.h"
#include "window_states.h"

using namespace kelvane;

namespace {

constexpr std::uint32_t kWhite = 0xffffff;

// The window's pixels, filled at first with a colour that no step paints.
struct Canvas {
    Canvas(int width, int height) : dib(width, height), dc(MakeMemoryDc()) {
        SelectObject(dc.get(), dib.Handle());
        std::fill_n(dib.Out().pixels, static_cast<std::size_t>(width) * height, 0xff00ff);
    }
    void Paint(GdiDrawing& drawing, const RECT& device) {
        drawing.Paint(dc.get(), device);
        GdiFlush();
    }
    std::uint32_t At(int x, int y) const { return dib.In().Row(y)[x] & kWhite; }
    void Save(const std::filesystem::path& path) const {
        std::filesystem::create_directories(path.parent_path());
        const auto size = static_cast<DWORD>(dib.Width() * dib.Height() * 4);
        const BITMAPINFOHEADER info{
            sizeof(info), dib.Width(), -dib.Height(), 1, 32, BI_RGB, size, 0, 0, 0, 0};
        const DWORD offset = sizeof(BITMAPFILEHEADER) + sizeof(info);
        const BITMAPFILEHEADER file{0x4d42, offset + size, 0, 0, offset};
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(&file), sizeof(file))
            .write(reinterpret_cast<const char*>(&info), sizeof(info))
            .write(reinterpret_cast<const char*>(dib.In().pixels), size);
    }
    Dib dib;
    MemoryDc dc;
};

// The window painted whole, or in pieces of `piece` device pixels across and one less down, from
// the last: what an earlier piece left beyond itself is painted over, or else shows.
Canvas Painted(GdiDrawing& drawing, const FakeGauge& g, int piece = 0) {
    const Rect size = DevicePixels{drawing.Ratio()}.Of({{0, 0}, g.host.geometry.GetSize()});
    const int across = piece > 0 ? piece : size.width;
    const int down = piece > 0 ? piece - 1 : size.height;
    Canvas canvas(size.width, size.height);
    for (int y = (size.height - 1) / down * down; y >= 0; y -= down) {
        for (int x = (size.width - 1) / across * across; x >= 0; x -= across) {
            canvas.Paint(drawing, {x, y, x + across, y + down});
        }
    }
    return canvas;
}

// Black text on white within its label: ink there, crisp black and white in a figure's font; a
// squeezed figure smoothed, and reaching across the label from one end to the other.
void CheckLabel(const Canvas& painted, const Rect& label, const TextPlacement& placement) {
    int firstInk = label.Right();
    int lastInk = -1;
    int grey = 0;
    for (int y = label.y; y < label.Bottom(); ++y) {
        for (int x = label.x; x < label.Right(); ++x) {
            const std::uint32_t p = painted.At(x, y);
            grey += p != kWhite && p != 0;
            firstInk = p != kWhite ? std::min(firstInk, x) : firstInk;
            lastInk = p != kWhite ? std::max(lastInk, x) : lastInk;
        }
    }
    CHECK(lastInk >= firstInk);
    if (placement.squeezed) {
        CHECK(grey > 0);
        CHECK(firstInk - label.x < label.width / 10);
        CHECK(label.Right() - 1 - lastInk < label.width / 10);
    } else if (placement.role == FontRole::kNumber || placement.role == FontRole::kNarrowNumber) {
        CHECK(grey == 0);
    }
}

// Against a reference picture, a resource of the test ("ref2x.held-close").
void Compare(const Canvas& painted, const FakeGauge& g, GdiDrawing& drawing,
             const std::string& reference) {
    const Dib expected = PngResources().Load(reference);
    REQUIRE(expected.Width() == painted.dib.Width());
    REQUIRE(expected.Height() == painted.dib.Height());
    const Controls& controls = g.window.controls();
    std::vector<ControlId> labels;
    for (ControlId id = 0; id < controls.BackToFront().size(); ++id) {
        if (controls[id].visible && controls[id].IsLabel() &&
            controls.Text(id).find_first_not_of(' ') != std::string_view::npos) {
            labels.push_back(id);
        }
    }
    const Rect window(0, 0, expected.Width(), expected.Height());
    const auto inLabel = [&](Point p) {
        return std::any_of(labels.begin(), labels.end(), [&](ControlId id) {
            return DevicePixels{drawing.Ratio()}.Of(controls[id].pixels).Contains(p);
        });
    };
    int differing = 0;
    Point first;
    for (int y = 0; y < window.height; ++y) {
        for (int x = 0; x < window.width; ++x) {
            if (!inLabel({x, y}) && painted.At(x, y) != (expected.In().Row(y)[x] & kWhite)) {
                first = differing++ == 0 ? Point{x, y} : first;
            }
        }
    }
    INFO("pixels differing: " << differing << ", the first at " << first.x << "," << first.y);
    CHECK(differing == 0);
    for (const ControlId id : labels) {
        const Rect shown =
            DevicePixels{drawing.Ratio()}.Of(controls[id].pixels).Intersected(window);
        INFO("label " << controls[id].name << " '" << controls.Text(id) << "'");
        if (!shown.IsEmpty()) {
            CheckLabel(painted, shown, drawing.drawing().TextOf(id, drawing.Fonts()));
        }
    }
}

}  // namespace

// At 1, then at 2 as when the window moves to a screen of twice the density.
TEST_CASE("the window in each state is painted as its reference pictures show it") {
    for (const WindowState& state : WindowStates()) {
        FakeGauge g;
        Enter(g, state);
        GdiDrawing drawing(g.window.controls(), 1.0);
        for (const std::string ratio : {"1x", "2x"}) {
            drawing.SetRatio(ratio == "1x" ? 1.0 : 2.0);
            INFO(state.behaviour << ": " << state.reference << " at " << ratio);
            const Canvas painted = Painted(drawing, g);
            painted.Save(std::filesystem::path("pictures") / ratio / (state.reference + ".bmp"));
            Compare(painted, g, drawing, "ref" + ratio + "." + state.reference);
        }
    }
}

// In pieces whose edges fall across every edge of the pixels at these ratios, of a window with
// pictures, bars, the frame, and figures squeezed and not.
TEST_CASE("a window painted piece by piece is the window painted whole, at any ratio") {
    const std::vector<WindowState> states = WindowStates();
    FakeGauge g;
    Enter(g, *std::find_if(states.begin(), states.end(),
                           [](const auto& s) { return s.reference == "memory-16-digits"; }));
    for (const double ratio : {1.0, 1.25, 1.5, 1.75, 2.0}) {
        GdiDrawing drawing(g.window.controls(), ratio);
        const Canvas whole = Painted(drawing, g);
        const Canvas pieces = Painted(drawing, g, 9);
        int differing = 0;
        for (int y = 0; y < whole.dib.Height(); ++y) {
            for (int x = 0; x < whole.dib.Width(); ++x) {
                differing += pieces.At(x, y) != whole.At(x, y);
            }
        }
        INFO("at " << ratio);
        CHECK(differing == 0);
    }
}
