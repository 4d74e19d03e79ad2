#include "window/main_view.h"

#include <QCloseEvent>
#include <QFontMetrics>
#include <QHash>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QToolTip>
#include <cstring>

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
    setAutoFillBackground(true);
    setGeometry(0, 0, TwipsToPixels(4485), TwipsToPixels(4860));

    const Controls& controls = gauge_.controls;
    looks_.resize(controls.BackToFront().size());
    QHash<QString, Look> pictures;  // the controls of an array share their pictures
    for (std::size_t i = 0; i < looks_.size(); ++i) {
        const Control& control = controls.BackToFront()[i];
        Look& look = looks_[i];
        if (control.type == ControlType::kPicture) {
            const QString name = QLatin1String(control.name);
            if (!pictures.contains(name)) {
                Look& picture = pictures[name];
                picture.normal.load(QStringLiteral(":/pictures/%1.png").arg(name));
                picture.dense.load(QStringLiteral(":/pictures/%1@2x.png").arg(name));
                picture.dense.setDevicePixelRatio(2.0);
            }
            look = pictures[name];
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

QRect MainView::Geometry() const {
    return geometry();
}

bool MainView::PositionKnown() const {
    return true;
}

void MainView::SetWindowPos(const QRect& rect) {
    if (!windowFlags().testFlag(Qt::WindowStaysOnTopHint)) {
        setWindowFlag(Qt::WindowStaysOnTopHint, true);
    }
    setGeometry(rect);
    show();
}

void MainView::Move(QPoint topLeft) {
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

void MainView::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    for (const QRect& dirty : event->region()) {
        for (int strip = 0; strip <= kPanels; ++strip) {
            const QRect area = dirty & StripRect(strip);
            if (area.isEmpty()) {
                continue;
            }
            painter.setClipRect(area);
            for (const ControlId id : strips_[static_cast<std::size_t>(strip)]) {
                const Control& control = gauge_.controls[id];
                if (control.visible && control.pixels.intersects(area)) {
                    Paint(painter, id, area);
                }
            }
        }
    }
}

// Each control draws as its own widget would: within its rectangle, from its corner. The
// painter is clipped to the area being repainted.
void MainView::Paint(QPainter& painter, ControlId id, const QRect& area) {
    const Control& control = gauge_.controls[id];
    const QRect& r = control.pixels;
    Look& look = looks_[id];
    switch (control.type) {
        case ControlType::kPicture:
            painter.drawPixmap(r.topLeft(), !look.dense.isNull() && devicePixelRatioF() > 1.0
                                                ? look.dense
                                                : look.normal);
            break;
        case ControlType::kSegment:
            painter.fillRect(r, Qt::black);
            painter.fillRect(r.adjusted(1, 1, -1, -1),
                             QColor(control.fill.red, control.fill.green, control.fill.blue));
            break;
        case ControlType::kOutline:
            painter.setPen(Qt::black);
            painter.drawRect(r.adjusted(0, 0, -1, -1));
            break;
        case ControlType::kLabel: {
            painter.setClipRect(area & r);  // text wider than its label is cut at its edge
            painter.fillRect(r, Qt::white);
            painter.setPen(Qt::black);
            const std::string_view text = gauge_.controls.Text(id);
            GlyphCache* glyphs = look.glyphs;
            // A number wider than its label is written smaller rather than cut.
            if (glyphs != nullptr && glyphs->Width(text) > r.width()) {
                glyphs = &narrowNumbers_;
            }
            if (glyphs == nullptr || !glyphs->Paint(painter, r.topLeft(), text)) {
                const QString whole =
                    QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
                const bool narrow =
                    glyphs != nullptr &&
                    QFontMetrics(glyphs->Font()).horizontalAdvance(whole) > r.width();
                painter.setFont(narrow ? narrowNumbers_.Font() : *look.font);
                painter.drawText(r, Qt::AlignLeft | Qt::AlignTop, whole);
            }
            painter.setClipRect(area);
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

void MainView::mouseMoveEvent(QMouseEvent* event) {
    gauge_.MouseMove(event->position(), event->buttons());
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
        const QRect strip(0, TwipsToPixels(270 + 435 * panel), width(), TwipsToPixels(405));
        QToolTip::showText(help->globalPos(), text, this, strip);
    }
    return true;
}

}  // namespace kelvane
