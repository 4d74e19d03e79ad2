#pragma once

#include <cstdint>
#include <span>

namespace kelvane {

// One panel of a function-key arrangement: its title code ("URP" ... "UD"), reading, number
// place in twips and colour direction (true: red to green).
struct PresetPanel {
    const char* title;
    std::uint8_t section;
    int numberLeft;
    int numberWidth;
    bool redToGreen;
};

struct Preset {
    std::uint8_t panelsMode;
    int height;  // pixels
    std::span<const PresetPanel> panels;
};

// The arrangement of F2 to F11 (virtual-key codes 113 to 122); nullptr for other keys.
const Preset* PresetForKey(int key);

// F12's size code for n drive panels (1..8).
std::uint8_t PanelsModeForPanels(int panels);

}  // namespace kelvane
