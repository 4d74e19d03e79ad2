#pragma once

namespace kelvane {

constexpr int kWindowWidth = 136;  // pixels

// Panels shown for a size code: codes 1 to 4 stand for 1, 3, 5 and 8 panels, codes 5 to 8
// for 2, 7, 4 and 6. 0 for any other code.
constexpr int PanelsShown(int panelsMode) {
    constexpr int kPanelsOf[9] = {0, 1, 3, 5, 8, 2, 7, 4, 6};
    return panelsMode >= 1 && panelsMode <= 8 ? kPanelsOf[panelsMode] : 0;
}

// Window height in pixels for n panels: the title strip, then 29 pixels a panel.
constexpr int WindowHeight(int panels) {
    return 16 + 29 * panels;
}

}  // namespace kelvane
