// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#include "window/main_view.h"

#include <QCloseEvent>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QPaintEngine>
#include <QPainter>
#include <QTimer>
#include <QToolTip>

#include "platform/platform.h"
#include "rules/window_layout.h"
#include "window/accessible_gauge.h"
#include "window/artwork.h"
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
    QRect rows =
        strip == 0 ? QRect(0, 0, 0, kTitleStripTwips / kTwipsPerPixel) : PanelPitch(strip - 1);
    rows.setWidth(1 << 16);  // every control that reaches across, however wide
    return rows;
}

// A number too wide for its label even in the narrow font (the used KB of a machine with ten
// terabytes and more) is drawn in it at its own width and squeezed across into the label:
// every digit and the unit show, and smoothing keeps the squeezed strokes readable.
void DrawSqueezed(QPainter& painter, const QRect& label, const QFont& font, const QString& text,
                  int width) {
    const qreal ratio = painter.paintEngine()->paintDevice()->devicePixelRatioF();
    QImage line((QSizeF(width, label.height()) * ratio).toSize(), QImage::Format_RGB32);
    line.setDevicePixelRatio(ratio);
    line.fill(Qt::white);
    QPainter linePainter(&line);
    linePainter.setFont(font);
    linePainter.drawText(QRect(0, 0, width, label.height()), Qt::AlignLeft | Qt::AlignTop, text);
    linePainter.end();
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRectF(label), line);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
}

}  // namespace

MainView::MainView(FrmMain& gauge)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint),
      gauge_(gauge),
      adapter_(gauge),
      driveLetterFont_(DriveLetterFont()),
      arrowFont_(ArrowFont()),
      numbers_(NumberFont()),
      narrowNumbers_(NarrowNumberFont()) {
    MakeAccessible(*this, gauge_);
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
    setGeometry(0, 0, TwipsToPixels(kDesignWidthTwips), TwipsToPixels(kDesignHeightTwips));
    setFixedSize(size());

    const Controls& controls = gauge_.controls();
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
                    {name, QPixmap(QStringLiteral(":/pictures/%1.png").arg(name)), {}, {}});
            }
        } else if (control.type == ControlType::kNumber) {
            look.glyphs = &numbers_;
            look.font = &numbers_.Font();
        } else if (control.type == ControlType::kDriveLetter) {
            look.font = &driveLetterFont_;
        } else if (control.type == ControlType::kArrow) {
            look.font = &arrowFont_;
        }
        for (int strip = 0; strip <= kPanels; ++strip) {
            if (control.pixels.intersects(StripRect(strip))) {
                strips_[static_cast<std::size_t>(strip)].push_back(static_cast<ControlId>(i));
            }
        }
    }
    gauge_.OnRepaint([this](const QRect& rect) { update(rect); });
    gauge_.AttachHost(*this);
}

MainView::~MainView() {
    gauge_.OnRepaint(nullptr);
    delete help_.data();
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
        watched_ = true;
        placeFromWindowSystem_ = WatchWindow(
            windowHandle(), [this] { close(); }, [this] { ReportPlace(); });
    }
    show();
}

void MainView::Move(QPoint topLeft) {
    move(topLeft);
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
    gauge_.WindowMoved({placed.value_or(pos()), size()});
}

void MainView::ShowHelp() {
    if (!help_) {
        help_ = new FrmHelp(gauge_.ScreenOf(geometry()));
    }
    // Shown again, a minimised help window comes back as it was.
    help_->setWindowState(help_->windowState() & ~Qt::WindowMinimized);
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
            const Control& control = gauge_.controls()[controls[first - 1]];
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
            const Control& control = gauge_.controls()[controls[i]];
            if (control.visible && Meet(control.pixels, area)) {
                Paint(painter, controls[i], area);
            }
        }
    }
    // A dotted line just inside the part the keyboard is on, drawn only once Tab is used.
    if (focusShown_ && hasFocus() && KeyFocus() >= 0) {
        const QRect part = FocusRect(KeyFocus());
        painter.setClipRegion(event->region());
        painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
        painter.drawRect(part.adjusted(0, 0, -1, -1));
    }
}

// The artwork as drawn at `ratio`, loaded or made when first drawn so.
const QPixmap& MainView::Artwork(Picture& picture, qreal ratio) {
    if (ratio == 1.0) {
        return picture.normal;
    }
    if (picture.dense.isNull()) {
        picture.dense.load(QStringLiteral(":/pictures/%1@2x.png").arg(picture.name));
        picture.dense.setDevicePixelRatio(2.0);
    }
    if (ratio != 2.0 && (picture.scaled.isNull() || picture.scaled.devicePixelRatio() != ratio)) {
        picture.scaled = ArtworkAt(picture.normal, picture.dense, ratio);
    }
    return ratio == 2.0 ? picture.dense : picture.scaled;
}

// Each control draws as its own widget would: within its rectangle, from its corner.
void MainView::Paint(QPainter& painter, ControlId id, const QRect& area) {
    const Control& control = gauge_.controls()[id];
    const QRect& r = control.pixels;
    Look& look = looks_[id];
    switch (control.type) {
        case ControlType::kPicture: {
            const QPixmap& art = Artwork(pictures_[static_cast<std::size_t>(look.picture)],
                                         painter.paintEngine()->paintDevice()->devicePixelRatioF());
            const qreal ratio = art.devicePixelRatio();
            const QRect part = r & area;
            if (ratio == 1.0 || ratio == 2.0) {
                // Only the part in the area: a whole picture would be clipped pixel by pixel.
                painter.drawPixmap(part, art,
                                   QRectF(QPointF(part.topLeft() - r.topLeft()) * ratio,
                                          QSizeF(part.size()) * ratio));
            } else {
                // Drawn whole, so that a part lands on the same device pixels as the whole.
                painter.setClipRect(part);
                painter.drawPixmap(r.topLeft(), art);
                painter.setClipping(false);
            }
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
        case ControlType::kNumber:
        case ControlType::kDriveLetter:
        case ControlType::kArrow: {
            // Text is drawn glyph by glyph, each clipped: one rectangle is the cheapest clip.
            painter.setClipRect(r & area);
            painter.fillRect(r, Qt::white);
            const std::string_view text = gauge_.controls().Text(id);
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
            // Text beyond the glyph cache, or too wide even for the narrow font.
            const QString whole =
                QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
            const QFont* font = look.font;
            if (look.glyphs != nullptr &&
                QFontMetrics(*font).horizontalAdvance(whole) > r.width()) {
                font = &narrowNumbers_.Font();
            }
            const int wide =
                look.glyphs != nullptr ? QFontMetrics(*font).horizontalAdvance(whole) : 0;
            if (wide > r.width()) {
                DrawSqueezed(painter, r, *font, whole, wide);
            } else {
                painter.setFont(*font);
                painter.drawText(r, Qt::AlignLeft | Qt::AlignTop, whole);
            }
            painter.setClipping(false);
            break;
        }
    }
}

void MainView::mousePressEvent(QMouseEvent* event) {
    ShowFocus(false);
    gauge_.MouseDown(event->position(), false);
}

void MainView::mouseDoubleClickEvent(QMouseEvent* event) {
    gauge_.MouseDown(event->position(), true);
}

void MainView::mouseMoveEvent(QMouseEvent* event) {
    gauge_.MouseMove(event->globalPosition(), event->buttons());
}

void MainView::mouseReleaseEvent(QMouseEvent* event) {
    gauge_.MouseUp(event->position(), event->buttons());
    emit acted();
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
        PressFocused();
        return;
    }
    QWidget::keyPressEvent(event);
}

// A panel that Size hid passes the keyboard on to the last one still shown.
int MainView::KeyFocus() const {
    return std::min(keyFocus_, kGaugeButtons + gauge_.PanelsShown() - 1);
}

// The window has no child widgets: Tab walks the parts it draws, round and round.
bool MainView::focusNextPrevChild(bool next) {
    const int stops = kGaugeButtons + gauge_.PanelsShown();
    const int from = KeyFocus();
    update(FocusRect(from));
    keyFocus_ = from < 0 ? (next ? 0 : stops - 1) : (from + (next ? 1 : stops - 1)) % stops;
    focusShown_ = true;
    update(FocusRect(keyFocus_));
    emit keyFocusMoved();
    return true;
}

QRect MainView::FocusRect(int focus) const {
    if (focus < 0) {
        return {};
    }
    return focus < kGaugeButtons ? adapter_.ButtonRect(static_cast<GaugeButton>(focus))
                                 : adapter_.Panel(focus - kGaugeButtons).rect;
}

// As a click on it does; a panel steps to its next reading.
void MainView::PressFocused() {
    const int focus = KeyFocus();
    if (focus < kGaugeButtons) {
        adapter_.Press(static_cast<GaugeButton>(focus));
    } else {
        adapter_.NextReading(focus - kGaugeButtons);
    }
    emit acted();
}

void MainView::ShowFocus(bool shown) {
    if (focusShown_ != shown) {
        focusShown_ = shown;
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
        // A tooltip that looks like markup is shown as rich text, and a mount point is a
        // folder's name: escaped, and kept on its lines as plain text would be.
        QToolTip::showText(
            help->globalPos(),
            QStringLiteral("<p style='white-space:pre'>%1</p>").arg(text.toHtmlEscaped()), this,
            PanelStrip(panel));
    }
    return true;
}

}  // namespace kelvane
