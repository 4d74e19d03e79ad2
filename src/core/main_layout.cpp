// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#include "core/main_layout.h"

#include <string>

#include "rules/window_layout.h"

namespace kelvane {
namespace {

constexpr int kDriveLabelDesignLeft[kPanels] = {945, 855, 855, 825, 840, 870, 825, 870};
// The title pictures from the back to the front; kinds are in the table's order.
constexpr int kTitleStacking[kTitles] = {3, 4, 5, 6, 7, 1, 2, 0};

// Control names live as long as the program: the controls keep pointers to them.
const std::array<std::string, kTitles>& TitleNames() {
    static const std::array<std::string, kTitles> names = [] {
        std::array<std::string, kTitles> all;
        for (int t = 0; t < kTitles; ++t) {
            all[static_cast<std::size_t>(t)] = "img" + std::string(KindAt(t).title);
        }
        return all;
    }();
    return names;
}

const std::array<std::string, kSegments>& SegmentNames() {
    static const std::array<std::string, kSegments> names = [] {
        std::array<std::string, kSegments> all;
        for (int n = 1; n <= kSegments; ++n) {
            all[static_cast<std::size_t>(n - 1)] = "imgRamUse_" +
                                                   std::string(1, static_cast<char>('0' + n / 10)) +
                                                   static_cast<char>('0' + n % 10);
        }
        return all;
    }();
    return names;
}

}  // namespace

// Stacking order is creation order.
MainLayout MakeMainLayout(Controls& controls) {
    const auto add = [&controls](const char* name, int index, ControlType type, Rect twips,
                                 bool visible = true) {
        Control control;
        control.name = name;
        control.index = index;
        control.type = type;
        control.twips = twips;
        control.visible = visible;
        return controls.Add(control);
    };
    using T = ControlType;
    const int width = kWindowWidth * kTwipsPerPixel;
    MainLayout l;
    l.Image1 = add("Image1", -1, T::kPicture, {570, 30, 1710, 240});
    for (int p = 0; p < kPanels; ++p) {
        for (const int t : kTitleStacking) {
            l.panels[static_cast<std::size_t>(p)].titles[static_cast<std::size_t>(t)] =
                add(TitleNames()[static_cast<std::size_t>(t)].c_str(), p, T::kPicture,
                    {0, PanelTopTwips(p), width, kPanelTwips});
        }
    }
    // The frame around the whole window at eight panels.
    l.Shape1 =
        add("Shape1", -1, T::kOutline, {0, 0, width, PanelTopTwips(kPanels - 1) + kPanelTwips});
    l.imgClose2 = add("imgClose2", -1, T::kPicture, {45, 30, 180, 195});
    l.imgClose3 = add("imgClose3", -1, T::kPicture, {45, 30, 180, 195}, false);
    l.imgMin1 = add("imgMin1", -1, T::kPicture, {240, 15, 180, 195});
    l.imgMin2 = add("imgMin2", -1, T::kPicture, {240, 15, 180, 195}, false);
    for (int p = 0; p < kPanels; ++p) {
        l.panels[static_cast<std::size_t>(p)].lblDrv =
            add("lblDrv", p, T::kDriveLetter,
                {kDriveLabelDesignLeft[p], CaptionTopTwips(p), 210, 165}, false);
    }
    for (int p = 0; p < kPanels; ++p) {
        l.panels[static_cast<std::size_t>(p)].lblInfo =
            add("lblInfo", p, T::kNumber, {1440, CaptionTopTwips(p), 585, 180});
    }
    for (int p = 0; p < kPanels; ++p) {
        PanelControls& panel = l.panels[static_cast<std::size_t>(p)];
        panel.imgR2G = add("imgR2G", p, T::kPicture, {0, PanelTopTwips(p), width, kLedRowTwips});
        panel.imgG2R = add("imgG2R", p, T::kPicture, {0, PanelTopTwips(p), width, kLedRowTwips});
    }
    for (int p = 0; p < kPanels; ++p) {
        for (int n = 1; n <= kSegments; ++n) {
            const auto i = static_cast<std::size_t>(n - 1);
            Control segment;
            segment.name = SegmentNames()[i].c_str();
            segment.index = p;
            segment.type = T::kSegment;
            segment.twips = {75 * (n - 1), PanelTopTwips(p), 90, kLedRowTwips};
            segment.fill = SegmentColour(ColourScheme::GreenToRed, n);
            l.panels[static_cast<std::size_t>(p)].segments[i] = controls.Add(segment);
        }
    }
    l.imgHelp1 = add("imgHelp1", -1, T::kPicture, {450, 45, 180, 210});
    l.imgHelp2 = add("imgHelp2", -1, T::kPicture, {450, 45, 180, 210}, false);
    l.Label1 = add("Label1", -1, T::kArrow, {1635, 60, 135, 210});
    l.Label2 = add("Label2", -1, T::kArrow, {1890, 60, 120, 195});
    l.Label3 = add("Label3", -1, T::kArrow, {1755, 30, 120, 120});
    controls.SetText(l.Label1, "<");
    controls.SetText(l.Label2, ">");
    controls.SetText(l.Label3, "^");
    return l;
}

}  // namespace kelvane
