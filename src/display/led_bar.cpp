// Lighting a panel's 27 LED segments.

#include "display/led_rules.h"
#include "window/frm_main.h"

namespace kelvane {
namespace {

// Only segments whose state changes are written: the visible result is the same as
// writing all 27, without the repaints.
void ShowSegments(const std::array<std::array<LedSegment*, kPanels>, kSegments>& segments,
                  int panel, int lit) {
    for (int n = 0; n < kSegments; ++n) {
        LedSegment* segment =
            segments[static_cast<std::size_t>(n)][static_cast<std::size_t>(panel)];
        const bool on = n < lit;
        if (segment->isHidden() == on) {
            segment->setVisible(on);
        }
    }
}

}  // namespace

void FrmMain::SetLights(int i, int intPercent) {
    const int lit = LitCount(intPercent);
    if (lit < 0) {
        return;  // outside 0..100: the bar keeps what it showed
    }
    ShowSegments(imgRamUse, i, lit);
}

void FrmMain::TurnOffLights(int i) {
    ShowSegments(imgRamUse, i, 0);
}

void FrmMain::TurnOnLights(int i) {
    ShowSegments(imgRamUse, i, kSegments);
}

}  // namespace kelvane
