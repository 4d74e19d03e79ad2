// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#include "window/main_view.h"

#include <QCloseEvent>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QToolTip>
#include <cstring>

#include "platform/platform.h"
#include "window/fonts.h"
#include "window/frm_help.h"

// The pictures live in a static library that nothing else refers to; registering them here
// keeps the linker from dropping them.
static void RegisterPictures() {
    Q_INIT_RESOURCE(pictures);
}

namespace kelvane {
namespace {

// The title strip, then one strip per panel with the gap below it.
// QRect's own tests are calls into the library; these run many times a repaint.
bool Covers(const QRect& outer, const QRect& inner) {
    return outer.left() <= inner.left() && inner.right() <= outer.right() &&
           outer.top() <= inner.top() && inner.bottom() <= outer.bottom();
}
bool Meet(const QRect& a, const QRect& b) {
    return a.left() <= b.right() && b.left() <= a.right() && a.top() <= b.bottom() &&
           b.top() <= a.bottom();
}

QRect StripRect(int strip) {
    return strip == 0 ? QRect(0, 0, 1 << 16, 18) : QRect(0, 18 + 29 * (strip - 1), 1 << 16, 29);
}

}  // namespace

MainView::MainView(FrmMain& gauge)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint),
      gauge_(gauge),
      driveLetterFont_(DriveLetterFont()),
      arrowFont_(ArrowFont()),
      numbers_(NumberFont()),
      narrowNumbers_(NarrowNumberFont()) {
    RegisterPictures();
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Dorvane"));
    setWindowIcon(QIcon(QStringLiteral(":/pictures/icon.png")));
    setAttribute(Qt::WA_ShowWithoutActivating);
    // Tooltips show on hover though the window is never activated.
    setAttribute(Qt::WA_AlwaysShowToolTips);
    setFocusPolicy(Qt::ClickFocus);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    white.setColor(QPalette::WindowText, Qt::black);
    setPalette(white);
    setAttribute(Qt::WA_OpaquePaintEvent);  // the paint fills the white ground itself
    setGeometry(0, 0, TwipsToPixels(4485), TwipsToPixels(4860));
    setFixedSize(size());

    const Controls& controls = gauge_.controls;
    looks_.resize(controls.BackToFront().size());
    for (std::size_t i = 0; i < looks_.size(); ++i) {
        const Control& control = controls.BackToFront()[i];
        Look& look = looks_[i];
        if (control.type == ControlType::kPicture) {
            const QString name = QLatin1String(control.name);
            const auto same = std::find_if(pictures_.begin(), pictures_.end(),
                                           [&](const Picture& p) { return p.name == name; });
            look.picture = static_cast<int>(same - pictures_.begin());
            if (same == pictures_.end()) {
                pictures_.push_back(
                    {name, QPixmap(QStringLiteral(":/pictures/%1.png").arg(name)), {}});
            }
        } else if (control.type == ControlType::kLabel) {
            if (std::strcmp(control.name, "lblInfo") == 0) {
                look.glyphs = &numbers_;
                look.font = &numbers_.Font();
            } else {
                look.font =
                    std::strcmp(control.name, "lblDrv") == 0 ? &driveLetterFont_ : &arrowFont_;
            }
        }
        for (int strip = 0; strip <= kPanels; ++strip) {
            if (control.pixels.intersects(StripRect(strip))) {
                strips_[static_cast<std::size_t>(strip)].push_back(static_cast<ControlId>(i));
            }
        }
    }
    gauge_.controls.OnRepaint([this](const QRect& rect) { update(rect); });
    gauge_.AttachHost(*this);
}

MainView::~MainView() {
    gauge_.controls.OnRepaint(nullptr);
    delete help_.data();
}

// Where the window system has the window: Qt keeps the place it last asked for, which a window
// manager may have refused.
QRect MainView::Geometry() const {
    if (stepFrom_) {
        return {*stepFrom_, size()};
    }
    const std::optional<QPoint> placed =
        windowHandle() != nullptr ? PlacedAt(windowHandle()) : std::nullopt;
    return {placed.value_or(pos()), size()};
}

// A Wayland client is never told where its windows are.
bool MainView::PositionKnown() const {
    return !QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

// A fixed size (the same minimum and maximum in the size hints) is what tiling window managers
// and compositors read as a window to float at its size rather than tile.
void MainView::SetWindowPos(const QRect& rect) {
    if (!windowFlags().testFlag(Qt::WindowStaysOnTopHint)) {
        setWindowFlag(Qt::WindowStaysOnTopHint, true);
    }
    setFixedSize(rect.size());
    setGeometry(rect);
    if (!watched_) {
        winId();
        WatchWindow(windowHandle(), [this] { close(); });
        watched_ = true;
    }
    show();
}

void MainView::Move(QPoint topLeft) {
    stepFrom_.reset();
    move(topLeft);
}

void MainView::ShowHelp() {
    if (!help_) {
        help_ = new FrmHelp(gauge_.ScreenOf(geometry()));
    }
    help_->show();
    help_->raise();
    help_->activateWindow();
}

FrmHelp* MainView::HelpWindow() const {
    return help_;
}

void MainView::UnloadAll() {
    close();
}

void MainView::closeEvent(QCloseEvent* event) {
    gauge_.Form_Unload();
    if (help_) {
        help_->close();
    }
    event->accept();
    emit unloaded();
}

void MainView::moveEvent(QMoveEvent*) {
    gauge_.SettingsMayHaveChanged();
}

// Strip by strip, every control that reaches into the strip's part of the dirty region, from
// the back to the front. The painter stays clipped to the dirty region, and no control but the
// frame reaches out of its strip, so a control is drawn whole and only the dirty pixels change.
void MainView::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.setPen(Qt::black);
    std::array<QRect, kPanels + 1> areas;
    for (const QRect& dirty : event->region()) {
        for (int strip = 0; strip <= kPanels; ++strip) {
            areas[static_cast<std::size_t>(strip)] |= dirty & StripRect(strip);
        }
    }
    for (int strip = 0; strip <= kPanels; ++strip) {
        const QRect& area = areas[static_cast<std::size_t>(strip)];
        if (area.isEmpty()) {
            continue;
        }
        // What lies behind the frontmost control that covers the whole area does not show.
        const std::vector<ControlId>& controls = strips_[static_cast<std::size_t>(strip)];
        std::size_t first = controls.size();
        while (first > 0) {
            const Control& control = gauge_.controls[controls[first - 1]];
            if (control.visible && control.type != ControlType::kOutline &&
                Covers(control.pixels, area)) {
                break;
            }
            --first;
        }
        first = first > 0 ? first - 1 : 0;
        if (first == 0) {
            painter.fillRect(area, Qt::white);  // the window's own ground
        }
        for (std::size_t i = first; i < controls.size(); ++i) {
            const Control& control = gauge_.controls[controls[i]];
            if (control.visible && Meet(control.pixels, area)) {
                Paint(painter, controls[i], area);
            }
        }
    }
}

// Each control draws as its own widget would: within its rectangle, from its corner.
void MainView::Paint(QPainter& painter, ControlId id, const QRect& area) {
    const Control& control = gauge_.controls[id];
    const QRect& r = control.pixels;
    Look& look = looks_[id];
    switch (control.type) {
        case ControlType::kPicture: {
            // Only the part in the area: a whole picture would be clipped pixel by pixel.
            Picture& picture = pictures_[static_cast<std::size_t>(look.picture)];
            const bool dense = devicePixelRatioF() > 1.0;
            if (dense && picture.dense.isNull()) {
                picture.dense.load(QStringLiteral(":/pictures/%1@2x.png").arg(picture.name));
                picture.dense.setDevicePixelRatio(2.0);
            }
            const qreal ratio = dense ? 2.0 : 1.0;
            const QRect part = r & area;
            painter.drawPixmap(
                part, dense ? picture.dense : picture.normal,
                QRectF(QPointF(part.topLeft() - r.topLeft()) * ratio, QSizeF(part.size()) * ratio));
            break;
        }
        case ControlType::kSegment:
            painter.fillRect(r, Qt::black);
            painter.fillRect(r.adjusted(1, 1, -1, -1),
                             QColor(control.fill.red, control.fill.green, control.fill.blue));
            break;
        case ControlType::kOutline:
            // Only its edges show, and it reaches through every strip: drawn within this one.
            if (!r.adjusted(2, 2, -2, -2).contains(area)) {
                painter.setClipRect(area);
                painter.drawRect(r.adjusted(0, 0, -1, -1));
                painter.setClipping(false);
            }
            break;
        case ControlType::kLabel: {
            // Text is drawn glyph by glyph, each clipped: one rectangle is the cheapest clip.
            painter.setClipRect(r & area);
            painter.fillRect(r, Qt::white);
            const std::string_view text = gauge_.controls.Text(id);
            GlyphCache* glyphs = look.glyphs;
            // A number wider than its label is written smaller rather than cut.
            qreal width = glyphs != nullptr ? glyphs->Width(text) : 0;
            if (width > r.width()) {
                glyphs = &narrowNumbers_;
                width = glyphs->Width(text);
            }
            if (glyphs != nullptr && width > 0 && width <= r.width() &&
                glyphs->Paint(painter, r.topLeft(), text)) {
                painter.setClipping(false);
                break;
            }
            // Text beyond the glyph cache, or too wide even so, is cut at the label's edge.
            const QString whole =
                QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
            const bool narrow = glyphs != nullptr &&
                                QFontMetrics(glyphs->Font()).horizontalAdvance(whole) > r.width();
            painter.setFont(narrow ? narrowNumbers_.Font() : *look.font);
            painter.drawText(r, Qt::AlignLeft | Qt::AlignTop, whole);
            painter.setClipping(false);
            break;
        }
    }
}

void MainView::mousePressEvent(QMouseEvent* event) {
    gauge_.MouseDown(event->position(), false);
}

void MainView::mouseDoubleClickEvent(QMouseEvent* event) {
    gauge_.MouseDown(event->position(), true);
}

// The pointer against where the window is now, read once: the gauge's own question in this step
// gets the same answer. The event's position is against where the window was when the pointer
// moved, and in a drag the window manager may since have carried out the previous step (even
// between two questions): the window would overshoot by that step.
void MainView::mouseMoveEvent(QMouseEvent* event) {
    stepFrom_ = Geometry().topLeft();
    gauge_.MouseMove(event->globalPosition() - *stepFrom_, event->buttons());
    stepFrom_.reset();
}

void MainView::mouseReleaseEvent(QMouseEvent* event) {
    gauge_.MouseUp(event->position(), event->buttons());
}

void MainView::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if (key >= Qt::Key_F1 && key <= Qt::Key_F12) {
        gauge_.Form_KeyDown(112 + (key - Qt::Key_F1));
        return;
    }
    QWidget::keyPressEvent(event);
}

// Computed when asked, so it always names the panel's current reading.
bool MainView::event(QEvent* event) {
    if (event->type() != QEvent::ToolTip) {
        return QWidget::event(event);
    }
    const auto* help = static_cast<QHelpEvent*>(event);
    const int panel = gauge_.PanelAt(help->pos());
    const QString text = panel >= 0 ? gauge_.PanelToolTip(panel) : QString();
    if (text.isEmpty()) {
        QToolTip::hideText();
        event->ignore();
    } else {
        QToolTip::showText(help->globalPos(), text, this, gauge_.PanelStrip(panel));
    }
    return true;
}

}  // namespace kelvane
