// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#include "drawing/drawing.h"

#include <algorithm>

#include "rules/window_layout.h"

namespace kelvane {
namespace {

// Wider than any control that reaches across the window, however wide.
constexpr int kAcross = 1 << 16;

// Whether the frame's edges reach into `area`: inside them it paints nothing.
bool FrameShows(const Control& frame, const Rect& area) {
    return !frame.pixels.Adjusted(2, 2, -2, -2).Contains(area);
}

}  // namespace

TextPlacement PlaceText(FontRole role, std::string_view text, int room, TextMeasure& measure) {
    TextPlacement placement;
    placement.role = role;
    if (role != FontRole::kNumber) {
        return placement;  // drawn as it comes, cut at the label's edge
    }
    placement.width = measure.Width(FontRole::kNumber, text);
    if (placement.width > room) {
        placement.role = FontRole::kNarrowNumber;
        placement.width = measure.Width(FontRole::kNarrowNumber, text);
    }
    placement.squeezed = placement.width > room;
    placement.scale = placement.squeezed ? room / placement.width : 1.0;
    return placement;
}

Rect Drawing::StripRows(int strip) {
    const Rect rows =
        strip == 0 ? Rect(0, 0, 0, kTitleStripTwips / kTwipsPerPixel) : PanelPitch(strip - 1);
    return {rows.x, rows.y, kAcross, rows.height};
}

Drawing::Drawing(const Controls& controls) : controls_(controls) {
    looks_.resize(controls_.BackToFront().size());
    for (std::size_t i = 0; i < looks_.size(); ++i) {
        const Control& control = controls_.BackToFront()[i];
        Look& look = looks_[i];
        switch (control.type) {
            case ControlType::kPicture: {
                const auto same =
                    std::find(pictureNames_.begin(), pictureNames_.end(), control.name);
                look.picture = static_cast<int>(same - pictureNames_.begin());
                if (same == pictureNames_.end()) {
                    pictureNames_.emplace_back(control.name);
                }
                break;
            }
            case ControlType::kDriveLetter:
                look.font = FontRole::kDriveLetter;
                break;
            case ControlType::kArrow:
                look.font = FontRole::kArrow;
                break;
            default:
                break;
        }
        for (int strip = 0; strip < kStrips; ++strip) {
            if (control.pixels.Intersects(StripRows(strip))) {
                strips_[static_cast<std::size_t>(strip)].push_back(static_cast<ControlId>(i));
            }
        }
    }
}

std::size_t Drawing::FirstShown(int strip, const Rect& area, bool& ground) const {
    const std::vector<ControlId>& ids = strips_[static_cast<std::size_t>(strip)];
    std::size_t first = ids.size();
    while (first > 0) {
        const Control& control = controls_[ids[first - 1]];
        if (control.visible && control.type != ControlType::kOutline &&
            control.pixels.Contains(area)) {
            break;
        }
        --first;
    }
    first = first > 0 ? first - 1 : 0;
    ground = first == 0;
    return first;
}

void Drawing::Describe(const Rect& area, TextMeasure& measure, DrawSteps& steps) const {
    for (int strip = 0; strip < kStrips; ++strip) {
        const Rect part = area.Intersected(StripRows(strip));
        if (part.IsEmpty()) {
            continue;
        }
        bool ground = false;
        const std::vector<ControlId>& ids = strips_[static_cast<std::size_t>(strip)];
        const std::size_t first = FirstShown(strip, part, ground);
        if (ground) {
            steps.push_back({DrawStep::Kind::kGround, part, part, {}, -1, {}, {}});
        }
        for (std::size_t i = first; i < ids.size(); ++i) {
            const Control& control = controls_[ids[i]];
            if (control.visible && control.pixels.Intersects(part)) {
                Step(ids[i], part, measure, steps);
            }
        }
    }
}

TextPlacement Drawing::TextOf(ControlId id, TextMeasure& measure) const {
    return PlaceText(looks_[id].font, controls_.Text(id), controls_[id].pixels.width, measure);
}

// Each control as its own widget would paint itself: within its rectangle, from its corner.
void Drawing::Step(ControlId id, const Rect& area, TextMeasure& measure, DrawSteps& steps) const {
    const Control& control = controls_[id];
    const Rect& r = control.pixels;
    switch (control.type) {
        case ControlType::kPicture:
            steps.push_back({DrawStep::Kind::kPicture, r, area, {}, looks_[id].picture, {}, {}});
            break;
        case ControlType::kSegment:
            // A filled rectangle with a one-pixel black border.
            steps.push_back({DrawStep::Kind::kFill, r, area, {0, 0, 0}, -1, {}, {}});
            steps.push_back(
                {DrawStep::Kind::kFill, r.Adjusted(1, 1, -1, -1), area, control.fill, -1, {}, {}});
            break;
        case ControlType::kOutline:
            if (FrameShows(control, area)) {
                steps.push_back({DrawStep::Kind::kFrame, r, area, {}, -1, {}, {}});
            }
            break;
        case ControlType::kNumber:
        case ControlType::kDriveLetter:
        case ControlType::kArrow:
            steps.push_back(
                {DrawStep::Kind::kText, r, area, {}, -1, TextOf(id, measure), controls_.Text(id)});
            break;
    }
}

}  // namespace kelvane
