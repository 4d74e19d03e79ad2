// A panel's LED colour scheme: segment fills and the colour-direction picture behind them.

#include "display/led_rules.h"
#include "window/frm_main.h"

namespace kelvane {

void FrmMain::ChangeColor(int Index2, bool Right) {
    const auto p = static_cast<std::size_t>(Index2);
    if (Right) {
        imgR2G[p]->show();
        imgG2R[p]->hide();
    } else {
        imgR2G[p]->hide();
        imgG2R[p]->show();
    }
    const ColourScheme scheme = Right ? ColourScheme::RedToGreen : ColourScheme::GreenToRed;
    for (int n = 1; n <= kSegments; ++n) {
        imgRamUse[static_cast<std::size_t>(n - 1)][p]->SetFill(SegmentColour(scheme, n));
    }
}

}  // namespace kelvane
