// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#pragma once

#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

#include "rules/geometry.h"
#include "rules/led_rules.h"
#include "rules/number_text.h"

namespace kelvane {

// What a control is, which is how it is drawn and whether it takes presses.
enum class ControlType : std::uint8_t {
    kPicture,      // a picture from the program's resources, named as the control
    kSegment,      // an LED segment: a filled rectangle with a one-pixel black border
    kOutline,      // a rectangle outline in the window-text colour
    kNumber,       // a panel's figure: black text on an opaque white ground
    kDriveLetter,  // a drive panel's letter, likewise
    kArrow,        // a pin's arrow, likewise
};

// One lightweight control of the main window. Controls are data: the view draws them and
// finds which one a press lands on; the gauge's procedures only change their state.
struct Control {
    const char* name = "";  // the control (array)'s name, "imgURP"; a picture's resource too
    int index = -1;         // the element of a control array, -1 for a single control
    ControlType type = ControlType::kPicture;
    bool visible = true;
    Rect twips;   // left, top, width, height in twips
    Rect pixels;  // the same, rounded to pixels as the window shows it
    Rgb fill{0, 0, 0};
    int label = -1;  // a label's slot of text

    bool IsLabel() const { return type >= ControlType::kNumber; }
    // Pictures and labels take mouse presses; segments and outlines let them through.
    bool TakesPresses() const { return type == ControlType::kPicture || IsLabel(); }
};

using ControlId = std::uint16_t;
inline constexpr ControlId kNoControl = 0xffff;

// The controls of the main window in stacking order, from the back to the front. Every
// change that shows on screen reports the pixels it touched to the repaint callback.
class Controls {
  public:
    // Adds a control in front of all added before it.
    ControlId Add(Control control);

    const Control& operator[](ControlId id) const { return all_[id]; }
    const std::vector<Control>& BackToFront() const { return all_; }
    std::string_view Text(ControlId id) const {
        return texts_[static_cast<std::size_t>(all_[id].label)].View();
    }
    // The control of that name and index, or kNoControl.
    ControlId Find(std::string_view name, int index = -1) const;

    void SetVisible(ControlId id, bool visible);
    void SetLeft(ControlId id, int twips);
    void SetWidth(ControlId id, int twips);
    void SetFill(ControlId id, Rgb fill);
    void SetText(ControlId id, std::string_view utf8);

    // The frontmost visible control under `point` (pixels) that takes presses.
    ControlId HitTest(Point point) const;

    void OnRepaint(std::function<void(const Rect&)> repaint) { repaint_ = std::move(repaint); }

  private:
    void Place(ControlId id, Rect twips);
    void Repaint(const Control& control) const;

    std::vector<Control> all_;
    std::vector<CaptionText> texts_;
    std::function<void(const Rect&)> repaint_;
};

}  // namespace kelvane
