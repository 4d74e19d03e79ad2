// Lighting a panel's 27 LED segments.

#include "display/led_rules.h"
#include "window/frm_main.h"

namespace kelvane {

// Only segments whose state changes are written: the visible result is the same as
// writing all 27, without the repaints. With the count the bar already shows, not even the
// 27 segments are looked at, which on most ticks is all there is to do.
void FrmMain::ShowSegments(int panel, int lit) {
    auto& shown = shownLit_[static_cast<std::size_t>(panel)];
    if (shown == lit) {
        return;
    }
    for (int n = 0; n < kSegments; ++n) {
        LedSegment* segment =
            imgRamUse[static_cast<std::size_t>(n)][static_cast<std::size_t>(panel)];
        const bool on = n < lit;
        if (segment->isHidden() == on) {
            segment->setVisible(on);
        }
    }
    shown = lit;
}

void FrmMain::SetLights(int i, int intPercent) {
    const int lit = LitCount(intPercent);
    if (lit < 0) {
        return;  // outside 0..100: the bar keeps what it showed
    }
    ShowSegments(i, lit);
}

void FrmMain::TurnOffLights(int i) {
    ShowSegments(i, 0);
}

void FrmMain::TurnOnLights(int i) {
    ShowSegments(i, kSegments);
}

}  // namespace kelvane
