// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QImage>
#include <QObject>
#include <QPointer>
#include <QRegion>
#include <cstdint>
#include <unordered_map>

#include "drawing/x11/x11_pixels.h"

class QWidget;
struct xcb_connection_t;

namespace kelvane {

// Qt paints X11 windows faithfully only in true colour of 24 bits and more: at 8 bits (a
// 256-colour display) it cannot paint at all, and at 16 its unsmoothed glyphs come out garbled.
// On such a display every window of the program (the gauge, the help window, the tooltips) is
// painted by Qt into an image of 32-bit colour instead and put on its window at the display's
// depth, as X11Pixels writes it.
class X11ImagePainting final : public QObject {
  public:
    // Looks at the visual of `window` (just shown, not yet painted). Where Qt paints it
    // faithfully nothing changes; where it does not, painting into images begins. False where
    // neither can paint it.
    static bool Take(QWidget& window);

    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    explicit X11ImagePainting(xcb_connection_t* connection);
    struct Target {
        QPointer<QWidget> window;
        QRegion due;
        std::uint32_t id = 0;  // the X window it was prepared for
        X11Pixels pixels;
        std::uint32_t gc = 0;
        QImage canvas;
    };
    // Paints `region` of `window` soon.
    void Due(QWidget& window, const QRegion& region);
    // Paints what is due of each window into its image and puts it on the screen: once Qt's
    // own repaint, which asked for it, has ended, since the window's widgets are painted anew.
    void PaintDue();
    void Paint(QWidget& window, Target& target, const QRegion& region);
    void Forget(QWidget* window);
    void Release(Target& target);

    xcb_connection_t* connection_;
    std::unordered_map<QWidget*, Target> targets_;  // by window
    bool painting_ = false;                         // Qt's own paint events pass through
    bool scheduled_ = false;
};

}  // namespace kelvane
