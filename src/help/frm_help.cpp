// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#include "help/frm_help.h"

#include <QFontMetricsF>
#include <QGroupBox>
#include <QKeyEvent>
#include <QWindow>
#include <algorithm>

#include "gauge/help_text.h"
#include "rules/window_layout.h"

namespace kelvane {
namespace {

// The frame the window manager put round the help window when it last showed it. The frame is
// only known once the window is shown; until then the window is placed as if it had this one,
// so that only the first opening moves once it is framed.
QMargins lastFrame;

void PlaceTwips(QWidget* control, int left, int top, int width, int height) {
    control->setGeometry(TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width),
                         TwipsToPixels(height));
}

// A picture from the program's resources, drawn 1:1 (its @2x artwork on dense screens).
QLabel* MakePicture(const QString& name, QWidget* parent) {
    auto* picture = new QLabel(parent);
    const QIcon icon(QStringLiteral(":/pictures/%1.png").arg(name));
    const QSize size = icon.availableSizes().value(0);
    picture->setPixmap(icon.pixmap(size, parent->devicePixelRatioF()));
    picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return picture;
}

}  // namespace

FrmHelp::FrmHelp(const QRect& screen)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint |
                           Qt::MSWindowsFixedSizeDialogHint),
      screen_(screen) {
    setObjectName(QStringLiteral("frmHelp"));
    setWindowTitle(QStringLiteral("Help"));
    setWindowIcon(QIcon(QStringLiteral(":/pictures/icon.png")));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(TwipsToPixels(5190), TwipsToPixels(3780));
    CentreFrame();

    cmdClose = new QPushButton(QStringLiteral("&Close"), this);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    PlaceTwips(cmdClose, 3795, 3420, 975, 300);
    connect(cmdClose, &QPushButton::clicked, this, &QWidget::close);

    Frame1 = new QGroupBox(QStringLiteral("           Kelvane Quick Help"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    // The spaces make room for the icon; a screen reader needs only the words.
    Frame1->setAccessibleName(QStringLiteral("Kelvane Quick Help"));
    PlaceTwips(Frame1, 0, 30, 5175, 3255);

    Text1 = new QPlainTextEdit(Frame1);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setAccessibleName(QStringLiteral("Quick help text"));
    PlaceTwips(Text1, 90, 360, 4965, 2820);
    const QString text =
        QString::fromStdString(HelpText()).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    Text1->setPlainText(text);
    Text1->setReadOnly(true);
    Text1->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
    // Lines longer than the box wrap at its width, so only a vertical scroll bar is needed.
    Text1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    Text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Text1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QFont small = Text1->font();
    small.setPixelSize(9);
    Text1->setFont(small);
    // The key table's actions start at one tab stop, a gap beyond its widest key in this font.
    const QFontMetricsF metrics(small);
    qreal keys = 0;
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        if (line.contains(QLatin1Char('\t'))) {
            keys = std::max(keys, metrics.horizontalAdvance(line.section(QLatin1Char('\t'), 0, 0)));
        }
    }
    Text1->setTabStopDistance(keys + metrics.horizontalAdvance(QStringLiteral("    ")));
    QPalette green = Text1->palette();
    green.setColor(QPalette::Base, QColor(0, 128, 0));
    green.setColor(QPalette::Text, QColor(0, 255, 0));
    Text1->setPalette(green);

    Image1 = MakePicture(QStringLiteral("helpicon"), Frame1);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setAccessibleName(QStringLiteral("Help icon"));
    PlaceTwips(Image1, 150, 0, 375, 330);
    Image2 = MakePicture(QStringLiteral("icon"), this);
    Image2->setObjectName(QStringLiteral("Image2"));
    Image2->setAccessibleName(QStringLiteral("Kelvane icon"));
    PlaceTwips(Image2, 210, 3300, 480, 480);

    // Escape closes the window whichever control has the focus.
    for (QWidget* control : {static_cast<QWidget*>(this), static_cast<QWidget*>(cmdClose),
                             static_cast<QWidget*>(Text1)}) {
        control->installEventFilter(this);
    }
}

// A top-level widget's move places its frame.
void FrmHelp::CentreFrame() {
    const QSize frame = size().grownBy(lastFrame);
    move(screen_.topLeft() +
         QPoint((screen_.width() - frame.width()) / 2, (screen_.height() - frame.height()) / 2));
}

// The window manager frames the window once it is shown, and then moves it: the first frame
// it reports places the window (a later one, such as a maximised window's, does not).
void FrmHelp::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    const QMargins frame = windowHandle() != nullptr ? windowHandle()->frameMargins() : QMargins();
    if (framed_ || frame.isNull()) {
        return;
    }
    framed_ = true;
    if (frame != lastFrame) {
        lastFrame = frame;
        CentreFrame();
    }
}

bool FrmHelp::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        close();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace kelvane
