// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#include "hosts/x11/x11_image_painting.h"

#include "drawing/x11/x11_connection.h"

#include <xcb/xcb.h>

#include <QApplication>
#include <QPaintEvent>
#include <QWidget>
#include <QWindow>
#include <utility>

namespace kelvane {

namespace {

QtMessageHandler qtHandler = nullptr;

// Qt warns of every widget of a window painted so, as of a call it is not to make; the call is
// not made, the warning is not passed on.
void QuietOnScreenPainting(QtMsgType type, const QMessageLogContext& context,
                           const QString& message) {
    if (type != QtWarningMsg ||
        message != QLatin1String("QWidget::paintEngine: Should no longer be called")) {
        qtHandler(type, context, message);
    }
}

}  // namespace

X11ImagePainting::X11ImagePainting(xcb_connection_t* connection) : connection_(connection) {
    qtHandler = qInstallMessageHandler(QuietOnScreenPainting);
}

bool X11ImagePainting::Take(QWidget& window) {
    xcb_connection_t* connection = X11Connection();
    X11Pixels visual;
    if (connection == nullptr) {
        return true;
    }
    if (!visual.Prepare(connection, static_cast<std::uint32_t>(window.winId()))) {
        return false;
    }
    if (visual.Deep()) {
        return true;
    }
    static X11ImagePainting* painting = nullptr;
    if (painting == nullptr) {
        // Qt scrolls and moves a widget's pixels within its backing store, which is not what
        // the screen shows here: they are painted anew instead.
        qputenv("QT_NO_FAST_SCROLL", "1");
        qputenv("QT_NO_FAST_MOVE", "1");
        painting = new X11ImagePainting(connection);
        qApp->installEventFilter(painting);
    }
    window.setAttribute(Qt::WA_PaintOnScreen);
    return true;
}

// A window shown from now on is painted here too. Its paint events, and those of every widget
// in it, become one paint of the window into its image, in which Qt's own paint events reach
// the widgets.
bool X11ImagePainting::eventFilter(QObject* watched, QEvent* event) {
    if (painting_) {
        return false;
    }
    // Shown, or made anew (Qt makes a window's X window anew at times, the tooltip's among
    // them, and paints the new one only when asked): painted whole.
    if (event->type() == QEvent::Expose && watched->isWindowType()) {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (window->windowHandle() == watched && window->testAttribute(Qt::WA_PaintOnScreen)) {
                Due(*window, window->rect());
            }
        }
        return false;
    }
    if (!watched->isWidgetType()) {
        return false;
    }
    auto* widget = static_cast<QWidget*>(watched);
    switch (event->type()) {
        case QEvent::Show:
            if (widget->isWindow()) {
                widget->setAttribute(Qt::WA_PaintOnScreen);
            }
            return false;
        case QEvent::Hide:
            if (widget->isWindow()) {
                Forget(widget);
            }
            return false;
        case QEvent::UpdateRequest:
            // A widget within a window asks to be painted; Qt paints on the screen only the
            // windows themselves, and drops the request.
            if (!widget->isWindow() && widget->window()->testAttribute(Qt::WA_PaintOnScreen)) {
                Due(*widget->window(),
                    QRegion(QRect(widget->mapTo(widget->window(), QPoint(0, 0)), widget->size())));
            }
            return false;
        case QEvent::Paint: {
            QWidget* window = widget->window();
            if (!window->testAttribute(Qt::WA_PaintOnScreen)) {
                return false;
            }
            Due(*window, static_cast<QPaintEvent*>(event)->region().translated(
                             widget->mapTo(window, QPoint(0, 0))));
            return true;
        }
        default:
            return false;
    }
}

// A window of widgets (the help window) is painted whole, which costs little as seldom as it
// changes: Qt leaves out of the window's paints what its opaque widgets cover, and a widget's
// own request to be painted says nothing of where. The gauge's window, one widget that changes
// up to a hundred times a second, is painted only where it changed.
void X11ImagePainting::Due(QWidget& window, const QRegion& region) {
    Target& target = targets_[&window];
    target.window = &window;
    const bool alone = window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly).isEmpty();
    target.due += alone ? region : QRegion(window.rect());
    if (!std::exchange(scheduled_, true)) {
        QMetaObject::invokeMethod(this, &X11ImagePainting::PaintDue, Qt::QueuedConnection);
    }
}

void X11ImagePainting::PaintDue() {
    scheduled_ = false;
    for (auto& [window, target] : targets_) {
        if (target.window && !target.due.isEmpty()) {
            Paint(*target.window, target, std::exchange(target.due, {}));
        }
    }
}

// Qt may make a window's X window anew (the tooltip's, when it shows again): what is known of
// it goes with the X window.
void X11ImagePainting::Paint(QWidget& window, Target& target, const QRegion& region) {
    // Asked of the window, not of the widget, which may still name the X window it had first.
    const QWindow* handle = window.windowHandle();
    const auto id = handle != nullptr ? static_cast<std::uint32_t>(handle->winId()) : 0;
    if (id == 0) {
        return;
    }
    if (target.id != id) {
        Release(target);
        target.id = id;
        if (!target.pixels.Prepare(connection_, id)) {
            return;
        }
        const std::uint32_t noExposures[] = {0};
        target.gc = xcb_generate_id(connection_);
        xcb_create_gc(connection_, target.gc, id, XCB_GC_GRAPHICS_EXPOSURES, noExposures);
    }
    if (!target.pixels.Usable()) {
        return;
    }
    const qreal ratio = window.devicePixelRatioF();
    const QSize device = (QSizeF(window.size()) * ratio).toSize();
    if (target.canvas.size() != device || target.canvas.devicePixelRatio() != ratio) {
        target.canvas = QImage(device, QImage::Format_RGB32);
        target.canvas.setDevicePixelRatio(ratio);
        target.canvas.fill(Qt::white);
    }
    // Painted as into Qt's own backing store: a widget that paints on the screen has its
    // background filled first, which would hide what a translucent child leaves showing.
    painting_ = true;
    window.setAttribute(Qt::WA_PaintOnScreen, false);
    window.render(&target.canvas, region.boundingRect().topLeft(), region,
                  QWidget::DrawWindowBackground | QWidget::DrawChildren);
    window.setAttribute(Qt::WA_PaintOnScreen, true);
    painting_ = false;
    // Only what was painted: the gauge may have drawn the rest on the server's side since.
    for (const QRect& rect : region) {
        const QRect part =
            QRectF(QPointF(rect.topLeft()) * ratio, QSizeF(rect.size()) * ratio).toAlignedRect() &
            target.canvas.rect();
        if (!part.isEmpty()) {
            target.pixels.Put(id, target.gc, target.canvas, part, part.topLeft());
        }
    }
    xcb_flush(connection_);
}

void X11ImagePainting::Forget(QWidget* window) {
    const auto at = targets_.find(window);
    if (at != targets_.end()) {
        Release(at->second);
        targets_.erase(at);
    }
}

void X11ImagePainting::Release(Target& target) {
    if (target.gc != 0) {
        xcb_free_gc(connection_, target.gc);
        target.gc = 0;
    }
}

}  // namespace kelvane
