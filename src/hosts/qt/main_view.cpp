// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#include "hosts/qt/main_view.h"

#include <QAbstractEventDispatcher>
#include <QAbstractNativeEventFilter>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QTimer>
#include <QToolTip>
#include <cstdio>

#include "accessibility/announcer.h"
#include "drawing/qt/qt_geometry.h"
#include "drawing/qt/qt_platform.h"
#include "drawing/x11/x11_connection.h"
#include "help/frm_help.h"
#include "hosts/qt/screens.h"
#include "hosts/x11/window_watch.h"
#include "hosts/x11/x11_image_painting.h"
#include "rules/window_layout.h"

namespace kelvane {
namespace {

// An expose has Qt copy its backing store to the screen, which does not hold what was drawn on
// the server's side: the whole window is repainted through Qt instead.
class ExposeWatch final : public QAbstractNativeEventFilter {
  public:
    explicit ExposeWatch(QWidget& view) : view_(view) {
        QCoreApplication::instance()->installNativeEventFilter(this);
    }
    ~ExposeWatch() override { QCoreApplication::instance()->removeNativeEventFilter(this); }
    bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override {
        if (type == "xcb_generic_event_t" &&
            X11Presenter::Exposes(message, static_cast<std::uint32_t>(view_.internalWinId()))) {
            view_.update();
        }
        return false;
    }

  private:
    QWidget& view_;
};

}  // namespace

MainView::MainView(FrmMain& gauge)
    : AccessibleView(nullptr, Qt::Window | Qt::FramelessWindowHint),
      GaugeHost(gauge),
      adapter_(gauge),
      keys_(adapter_),
      drawing_(gauge.controls()),
      presenter_(drawing_) {
    MakeAccessible(*this, gauge_);
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(
        QString::fromUtf8(kWindowCaption.data(), static_cast<qsizetype>(kWindowCaption.size())));
    setWindowIcon(QIcon(QStringLiteral(":/pictures/icon.png")));
    setAttribute(Qt::WA_ShowWithoutActivating);
    // Tooltips show on hover though the window is never activated.
    setAttribute(Qt::WA_AlwaysShowToolTips);
    setFocusPolicy(Qt::ClickFocus);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    white.setColor(QPalette::WindowText, Qt::black);
    setPalette(white);
    setAttribute(Qt::WA_OpaquePaintEvent);  // the drawing fills the white ground itself
    setGeometry(0, 0, TwipsToPixels(kDesignWidthTwips), TwipsToPixels(kDesignHeightTwips));
    setFixedSize(size());

    if (presenter_.Available()) {
        exposeWatch_ = std::make_unique<ExposeWatch>(*this);
        connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, this,
                &MainView::PresentChanges);
        gauge_.OnRepaint([this](const Rect& rect) {
            if (changes_ < changed_.size()) {
                changed_[changes_++] = rect;
            } else {
                update(ToQt(rect));
            }
        });
    } else {
        gauge_.OnRepaint([this](const Rect& rect) { update(ToQt(rect)); });
    }
    gauge_.AttachHost(*this);
}

// The dotted line of the keyboard's place is Qt's to draw: a change across it goes through Qt.
void MainView::PresentChanges() {
    if (changes_ == 0) {
        return;
    }
    const auto window = static_cast<std::uint32_t>(internalWinId());
    const qreal ratio = devicePixelRatioF();
    const bool shown = isVisible();
    const bool focusDrawn = keys_.Shown() && hasFocus();
    const Rect focus = focusDrawn ? FromQt(FocusRect(KeyFocus())) : Rect();
    for (std::size_t i = 0; i < changes_; ++i) {
        const Rect& rect = changed_[i];
        const bool acrossFocus =
            focusDrawn && rect.Intersects(focus) && !focus.Adjusted(1, 1, -1, -1).Contains(rect);
        if (!shown || acrossFocus || !presenter_.Draw(window, ratio, rect)) {
            update(ToQt(rect));
        }
    }
    changes_ = 0;
    presenter_.Flush();
}

MainView::~MainView() {
    gauge_.OnRepaint(nullptr);
}

// A Wayland client is never told where its windows are.
bool MainView::PositionKnown() const {
    return QtRunsOn() != QtWindowSystem::kWayland;
}

// A fixed size (the same minimum and maximum in the size hints) is what tiling window managers
// and compositors read as a window to float at its size rather than tile.
void MainView::SetWindowPos(const Rect& rect) {
    if (!windowFlags().testFlag(Qt::WindowStaysOnTopHint)) {
        setWindowFlag(Qt::WindowStaysOnTopHint, true);
    }
    setFixedSize(rect.width, rect.height);
    setGeometry(ToQt(rect));
    if (!watched_) {
        winId();
        watched_ = true;
        placeFromWindowSystem_ = WatchWindow(
            windowHandle(), [this] { close(); }, [this] { ReportPlace(); });
    }
    show();
}

void MainView::Move(Point topLeft) {
    move(ToQt(topLeft));
}

void MainView::BringToFront() {
    setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    ShowAgain(windowHandle());
}

// Qt takes the place it asks for as where the window is, which a window manager may have
// refused (sway, weston): where the window system has it is what the gauge is told.
void MainView::ReportPlace() {
    const std::optional<QPoint> placed =
        windowHandle() != nullptr ? PlacedAt(windowHandle()) : std::nullopt;
    gauge_.WindowMoved(FromQt(QRect(placed.value_or(pos()), size())));
}

void MainView::ShowWindow() {
    if (!isVisible()) {
        show();
    }
}

void MainView::ReleaseWindow() {
    if (!closing_) {
        close();
    }
}

// The window manager, the session or the close button: the gauge is unloaded once.
void MainView::closeEvent(QCloseEvent* event) {
    closing_ = true;
    UnloadAll();
    event->accept();
}

// Without a window system's word, the window is where Qt put it.
void MainView::moveEvent(QMoveEvent*) {
    if (!placeFromWindowSystem_) {
        ReportPlace();
    }
}

void MainView::resizeEvent(QResizeEvent*) {
    if (!placeFromWindowSystem_) {
        ReportPlace();
    }
}

// Where Qt cannot paint the window's visual faithfully (fewer than 24 bits of colour), every
// window is painted into an image and put on the screen at its depth; where that cannot be
// done either, the gauge says so and ends. Known once the window exists, before it is painted.
void MainView::showEvent(QShowEvent*) {
    if (!presenter_.Available() || paintingKnown_) {
        return;
    }
    paintingKnown_ = true;
    if (!X11ImagePainting::Take(*this)) {
        std::fprintf(stderr, "kelvane: cannot draw on this display's %d-bit colour\n", depth());
        QCoreApplication::exit(1);
    }
}

void MainView::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QRegion& region = event->region();
    drawing_.Paint(painter, region);
    // A dotted line just inside the part the keyboard is on, drawn only once Tab is used.
    if (keys_.Shown() && hasFocus()) {
        const QRect part = FocusRect(KeyFocus());
        painter.setClipRegion(region);
        painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
        painter.drawRect(part.adjusted(0, 0, -1, -1));
    }
}

void MainView::mousePressEvent(QMouseEvent* event) {
    ShowFocus(false);
    gauge_.MouseDown(FromQt(event->position()), false);
}

void MainView::mouseDoubleClickEvent(QMouseEvent* event) {
    gauge_.MouseDown(FromQt(event->position()), true);
}

void MainView::mouseMoveEvent(QMouseEvent* event) {
    gauge_.MouseMove(FromQt(event->globalPosition()), FromQt(event->buttons()));
}

// A button or a panel's title that is clicked takes the keyboard, as a toolkit's button does.
void MainView::mouseReleaseEvent(QMouseEvent* event) {
    const int clicked = keys_.PartAt(FromQt(event->position()).Rounded());
    gauge_.MouseUp(FromQt(event->position()), FromQt(event->buttons()));
    if (clicked >= 0) {
        FocusOn(clicked);
    }
    emit acted();
}

void MainView::FocusOn(int focus) {
    if (focus != KeyFocus()) {
        update(FocusRect(KeyFocus()));
        keys_.MoveTo(focus);
        update(FocusRect(focus));
    }
    emit keyFocusMoved();
}

void MainView::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if (key >= Qt::Key_F1 && key <= Qt::Key_F12) {
        gauge_.Form_KeyDown(FKey(1 + key - Qt::Key_F1));
        emit acted();
        return;
    }
    if ((key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter) &&
        KeyFocus() >= 0) {
        keys_.PressCurrent();
        emit acted();
        return;
    }
    QWidget::keyPressEvent(event);
}

int MainView::KeyFocus() const {
    return keys_.Current();
}

// The window has no child widgets: Tab walks the parts it draws, round and round.
bool MainView::focusNextPrevChild(bool next) {
    update(FocusRect(KeyFocus()));
    keys_.Step(next);
    update(FocusRect(KeyFocus()));
    emit keyFocusMoved();
    return true;
}

QRect MainView::FocusRect(int focus) const {
    return ToQt(keys_.Where(focus));
}

void MainView::ShowFocus(bool shown) {
    const bool was = keys_.Shown();
    keys_.Show(shown);
    if (keys_.Shown() != was) {
        update(FocusRect(KeyFocus()));
    }
}

void MainView::focusInEvent(QFocusEvent*) {
    update(FocusRect(KeyFocus()));
    // After Qt has told of the window's own focus, which comes once this returns.
    if (KeyFocus() >= 0) {
        QTimer::singleShot(0, this, &MainView::keyFocusMoved);
    }
}

void MainView::focusOutEvent(QFocusEvent*) {
    update(FocusRect(KeyFocus()));
}

// A screen reader that presses a part may also click it, and its clicks may reach the X server
// late, after the press has moved the window: one that lands on the bare desktop where a pin
// was takes the keyboard from the gauge, and the screen reader, told the window went inactive,
// loses its place in it. The keyboard is given back then, and only then: when nothing else has
// it, a moment after such a press.
void MainView::KeepKeyboardFromStrayClick() {
    if (gauge_.AssistedPressJustNow() && NoWindowActive() && windowHandle() != nullptr) {
        GiveKeyboardTo(windowHandle());
    }
}

// Computed when asked, so it always names the panel's current reading.
bool MainView::event(QEvent* event) {
    if (event->type() == QEvent::WindowDeactivate) {
        KeepKeyboardFromStrayClick();
    }
    if (event->type() != QEvent::ToolTip) {
        return QWidget::event(event);
    }
    const auto* help = static_cast<QHelpEvent*>(event);
    const QString text = ToolTipAt(FromQt(help->pos()));
    if (text.isEmpty()) {
        QToolTip::hideText();
        event->ignore();
    } else {
        QToolTip::showText(help->globalPos(), AsToolTip(text), this,
                           ToQt(PanelStrip(FrmMain::PanelAt(FromQt(help->pos())))));
    }
    return true;
}

}  // namespace kelvane
