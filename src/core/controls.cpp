// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#include "core/controls.h"

#include "rules/window_layout.h"

namespace kelvane {
namespace {

Rect ToPixels(const Rect& twips) {
    return {TwipsToPixels(twips.x), TwipsToPixels(twips.y), TwipsToPixels(twips.width),
            TwipsToPixels(twips.height)};
}

}  // namespace

ControlId Controls::Add(Control control) {
    control.pixels = ToPixels(control.twips);
    if (control.IsLabel()) {
        control.label = static_cast<int>(texts_.size());
        texts_.emplace_back();
    }
    all_.push_back(control);
    return static_cast<ControlId>(all_.size() - 1);
}

// Only what shows is repainted: a hidden control changes nothing on screen.
void Controls::Repaint(const Control& control) const {
    if (control.visible && repaint_) {
        repaint_(control.pixels);
    }
}

void Controls::SetVisible(ControlId id, bool visible) {
    Control& control = all_[id];
    if (control.visible != visible) {
        control.visible = true;
        Repaint(control);
        control.visible = visible;
    }
}

void Controls::Place(ControlId id, Rect twips) {
    Control& control = all_[id];
    const Rect pixels = ToPixels(twips);
    control.twips = twips;
    if (pixels != control.pixels) {
        Repaint(control);
        control.pixels = pixels;
        Repaint(control);
    }
}

void Controls::SetLeft(ControlId id, int twips) {
    Place(id, all_[id].twips.MovedTo({twips, all_[id].twips.y}));
}

void Controls::SetWidth(ControlId id, int twips) {
    Rect rect = all_[id].twips;
    rect.width = twips;
    Place(id, rect);
}

void Controls::SetFill(ControlId id, Rgb fill) {
    Control& control = all_[id];
    if (!(control.fill == fill)) {
        control.fill = fill;
        Repaint(control);
    }
}

void Controls::SetText(ControlId id, std::string_view utf8) {
    Control& control = all_[id];
    CaptionText& text = texts_[static_cast<std::size_t>(control.label)];
    if (text.View() != utf8) {
        text.Clear();
        text.Append(utf8);
        Repaint(control);
    }
}

ControlId Controls::Find(std::string_view name, int index) const {
    for (std::size_t i = 0; i < all_.size(); ++i) {
        if (all_[i].name == name && all_[i].index == index) {
            return static_cast<ControlId>(i);
        }
    }
    return kNoControl;
}

ControlId Controls::HitTest(Point point) const {
    for (std::size_t i = all_.size(); i-- > 0;) {
        const Control& control = all_[i];
        if (control.visible && control.TakesPresses() && control.pixels.Contains(point)) {
            return static_cast<ControlId>(i);
        }
    }
    return kNoControl;
}

}  // namespace kelvane
