#pragma once

// Reading the main window's state back in tests.

#include <QtTest>

#include "fakes/fake_platform.h"

namespace kelvane {

inline int LitSegments(const FrmMain& w, int panel) {
    int lit = 0;
    for (int n = 0; n < kSegments; ++n) {
        if (!w.imgRamUse[static_cast<std::size_t>(n)][static_cast<std::size_t>(panel)]
                 ->isHidden()) {
            if (lit != n) {
                return -1;  // lit segments must be the leftmost ones
            }
            ++lit;
        }
    }
    return lit;
}

// The name of the one visible title picture of a panel, or a list when not exactly one is.
inline QString VisibleTitle(const FrmMain& w, int panel) {
    QStringList shown;
    const auto p = static_cast<std::size_t>(panel);
    for (const auto* titles :
         {&w.imgURP, &w.imgURK, &w.imgURM, &w.imgFRP, &w.imgFRK, &w.imgFRM, &w.imgTRK, &w.imgUD}) {
        if (!(*titles)[p]->isHidden()) {
            shown << (*titles)[p]->PictureName();
        }
    }
    return shown.join(QLatin1Char('+'));
}

// "G2R" or "R2G" when the segment colours and the direction picture that shows agree
// (imgG2R lies in front of imgR2G).
inline QString Scheme(const FrmMain& w, int panel) {
    const auto p = static_cast<std::size_t>(panel);
    const bool g2r = !w.imgG2R[p]->isHidden();
    const bool r2g = !w.imgR2G[p]->isHidden();
    const Rgb first = w.imgRamUse[0][p]->Fill();
    const Rgb last = w.imgRamUse[kSegments - 1][p]->Fill();
    if (g2r && first == Rgb{0, 255, 0} && last == Rgb{255, 0, 0}) {
        return QStringLiteral("G2R");
    }
    if (r2g && !g2r && first == Rgb{255, 0, 0} && last == Rgb{0, 255, 0}) {
        return QStringLiteral("R2G");
    }
    return QStringLiteral("mixed");
}

// The number label's place in pixels as "left/width".
inline QString NumberPlace(const FrmMain& w, int panel) {
    const QLabel* label = w.lblInfo[static_cast<std::size_t>(panel)];
    return QStringLiteral("%1/%2").arg(label->x()).arg(label->width());
}

// The drive label as "C:@58", or "hidden".
inline QString DriveLabel(const FrmMain& w, int panel) {
    const QLabel* label = w.lblDrv[static_cast<std::size_t>(panel)];
    return label->isHidden() ? QStringLiteral("hidden")
                             : QStringLiteral("%1@%2").arg(label->text()).arg(label->x());
}

// A press of a mouse button at a point of the window, found by hit-testing as a user's
// press would be.
inline void PressAt(FrmMain& w, QPoint point, Qt::MouseButton button = Qt::LeftButton) {
    QTest::mousePress(w.windowHandle(), button, {}, point);
    QTest::mouseRelease(w.windowHandle(), button, {}, point);
}

// A point on the caption of panel p's title that no other control covers.
inline QPoint TitleCaption(int panel) {
    return {6, 18 + 29 * panel + 20};
}

}  // namespace kelvane
