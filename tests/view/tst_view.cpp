// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

// The main window on screen (the offscreen platform, at the device pixel ratio CTest sets):
// what it draws, the input it hands on, and the help window.

#include <QAbstractTextDocumentLayout>
#include <QGroupBox>
#include <QPainter>
#include <QTextBlock>
#include <QTextLayout>
#include <QToolTip>
#include <QtTest>

#include "fakes/fake_platform.h"
#include "window/fonts.h"
#include "window/frm_help.h"
#include "window/main_view.h"

using namespace kelvane;

namespace {

struct Shown {
    FakeGauge g;
    MainView view{g.window};
    Shown() {
        g.volumes.PassFirst(1);
        g.Start();
        g.window.Timer1_Timer();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
    }
    QImage Shot(const QRect& rect) {
        const qreal ratio = view.devicePixelRatioF();
        QImage shot = view.grab()
                          .toImage()
                          .convertToFormat(QImage::Format_RGB32)
                          .copy(QRect(rect.topLeft() * ratio, rect.size() * ratio));
        shot.setDevicePixelRatio(1);
        return shot;
    }
    QRect Rect(ControlId id) const { return g.window.controls[id].pixels; }
};

}  // namespace

class TestView : public QObject {
    Q_OBJECT
  private slots:
    void picturesShowTheirArtwork();
    void segmentsAreFillAndWholePixelBorder();
    void numbersLookAsTextDrawnWithTheirFont_data();
    void numbersLookAsTextDrawnWithTheirFont();
    void inputReachesTheGauge();
    void toolTipWithoutFocusAsWritten();
    void helpWindow();
};

// Pixel for pixel, 1:1 at the screen's density (the @2x artwork at ratio 2, never a 1x bitmap
// blown up), wherever no control in front covers it.
void TestView::picturesShowTheirArtwork() {
    Shown s;
    const std::vector<Control>& all = s.g.window.controls.BackToFront();
    const qreal ratio = s.view.devicePixelRatioF();
    const QImage shot = s.Shot(s.view.rect());
    QStringList seen;
    for (std::size_t i = 0; i < all.size(); ++i) {
        const QString name = QLatin1String(all[i].name);
        if (all[i].type != ControlType::kPicture || !all[i].visible || seen.contains(name)) {
            continue;
        }
        seen << name;
        const QImage art =
            QImage(QStringLiteral(":/pictures/%1%2.png").arg(name, ratio > 1 ? "@2x" : ""))
                .convertToFormat(QImage::Format_RGB32);
        for (int y = 0; y < art.height(); ++y) {
            for (int x = 0; x < art.width(); ++x) {
                const QPoint at = all[i].pixels.topLeft() + QPoint(int(x / ratio), int(y / ratio));
                const bool covered =
                    !s.view.rect().contains(at) ||
                    std::any_of(all.begin() + static_cast<long>(i) + 1, all.end(),
                                [&](const Control& c) {
                                    return c.visible && c.pixels.contains(at) &&
                                           (c.type != ControlType::kOutline ||
                                            !c.pixels.adjusted(2, 2, -2, -2).contains(at));
                                });
                const QPoint device = all[i].pixels.topLeft() * ratio + QPoint(x, y);
                QVERIFY2(covered || shot.pixel(device) == art.pixel(x, y),
                         qPrintable(QStringLiteral("%1 at %2,%3").arg(name).arg(x).arg(y)));
            }
        }
    }
    QCOMPARE(seen.size(), 14);
}

void TestView::segmentsAreFillAndWholePixelBorder() {
    Shown s;
    s.g.window.TurnOnLights(0);
    const qreal ratio = s.view.devicePixelRatioF();
    for (int n = 0; n < kSegments; n += 13) {
        const ControlId id = s.g.window.imgRamUse[static_cast<std::size_t>(n)][0];
        const Rgb fill = s.g.window.controls[id].fill;
        QImage expected(s.Rect(id).size() * ratio, QImage::Format_RGB32);
        expected.fill(Qt::black);
        QPainter(&expected).fillRect(
            QRect(QPoint(ratio, ratio), expected.size() - QSize(2, 2) * ratio),
            QColor(fill.red, fill.green, fill.blue));
        QCOMPARE(s.Shot(s.Rect(id)), expected);
    }
}

void TestView::numbersLookAsTextDrawnWithTheirFont_data() {
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("squeezed");
    QTest::newRow("percent") << "70%" << false;
    QTest::newRow("a fraction") << "48828.125 KB" << false;
    QTest::newRow("the used KB of 4 TiB") << "4294967296 KB" << false;
    QTest::newRow("a separator beyond ASCII") << QStringLiteral("48828\u066b125 KB") << false;
    QTest::newRow("a wide one too") << QStringLiteral("67108864\u066b5 KB") << false;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("eleven digits") << "12345678901 KB" << true;
    QTest::newRow("the most digits a used KB figure has") << "9007199254740992 KB" << true;
    QTest::newRow("too wide, beyond ASCII") << QStringLiteral("123456789012\u066b5 KB") << true;
}

// Numbers are drawn glyph by glyph from a cache; they must look as the text drawn whole. A
// number too wide for its label is written in the narrow font, which holds any KB figure up to
// 4 TiB; one too wide even for that is squeezed into the label, and still shows whole.
void TestView::numbersLookAsTextDrawnWithTheirFont() {
    QFETCH(QString, caption);
    QFETCH(bool, squeezed);
    Shown s;
    const ControlId label = s.g.window.lblInfo[2];
    const QRect rect = s.Rect(label);
    const auto shown = [&](const QString& text) {
        s.g.window.controls.SetText(label, text.toStdString());
        return s.Shot(rect);
    };
    QCOMPARE(QFontMetrics(NarrowNumberFont()).horizontalAdvance(caption) > rect.width(), squeezed);
    if (squeezed) {
        QVERIFY(shown(caption) != shown(caption + '8'));  // shown to its end: nothing is cut
        return;
    }
    const qreal ratio = s.view.devicePixelRatioF();
    QImage expected(rect.size() * ratio, QImage::Format_RGB32);
    expected.setDevicePixelRatio(ratio);
    expected.fill(Qt::white);
    QPainter painter(&expected);
    const bool wide = QFontMetrics(NumberFont()).horizontalAdvance(caption) > rect.width();
    painter.setFont(wide ? NarrowNumberFont() : NumberFont());
    painter.drawText(QRect(QPoint(), rect.size()), Qt::AlignLeft | Qt::AlignTop, caption);
    painter.end();
    expected.setDevicePixelRatio(1);
    QCOMPARE(shown(caption), expected);
}

// Presses land by the stacking order; keys reach the presets whatever the modifiers.
void TestView::inputReachesTheGauge() {
    Shown s;
    QWindow* window = s.view.windowHandle();
    QTest::mouseClick(window, Qt::MiddleButton, {}, {6, 18 + 20});
    QCOMPARE(s.g.window.Section[0], 4);
    QTest::keyClick(&s.view, Qt::Key_F2, Qt::ShiftModifier | Qt::ControlModifier);
    QCOMPARE(s.g.window.Section[0], 0);
    QCOMPARE(s.view.geometry(), QRect(444, 260, 136, 45));
    QTest::mouseClick(window, Qt::LeftButton, {}, s.Rect(s.g.window.Image1).center());
    QTest::mouseDClick(window, Qt::LeftButton, {}, s.Rect(s.g.window.Image1).center());
    QCOMPARE(s.view.geometry(), QRect(444, 260, 136, 103));
    QTest::keyClick(&s.view, Qt::Key_A);
    QCOMPARE(s.g.window.PanelsMode, 2);
}

// Shown without the focus, and as written: a mount point is a folder's name, even one that
// reads as markup.
void TestView::toolTipWithoutFocusAsWritten() {
    struct : VolumeSource {
        bool Probe(int letter) override { return letter == 0; }
        bool FreeSpace(int, VolumeSpace&) override { return false; }
        QString MountPoint(int) const override { return QStringLiteral("/<h1>BIG</h1>  &amp;"); }
    } volumes;
    FakeGauge g;
    FrmMain window{Platform{g.memory, volumes, g.screen, g.settings}};
    window.Timer1.stop();
    MainView view{window};
    window.GetMySettings();
    window.Form_Load();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    QWidget other;
    other.show();
    QApplication::setActiveWindow(&other);
    QVERIFY(!view.isActiveWindow());
    QTest::mouseMove(view.windowHandle(), {20, 18 + 29 * 7 + 20});
    QTest::mouseMove(view.windowHandle(), {21, 18 + 29 * 7 + 20});
    const auto shown = [] {  // what the tooltip's label makes of its text
        QTextDocument text;
        const QString tip = QToolTip::text();
        Qt::mightBeRichText(tip) ? text.setHtml(tip) : text.setPlainText(tip);
        return text.toPlainText();
    };
    QTRY_COMPARE(shown(), window.PanelToolTip(7));
}

void TestView::helpWindow() {
    Shown s;
    for (int i = 0; i < 3; ++i) {
        QTest::keyClick(&s.view, Qt::Key_F1);
    }
    QPointer<FrmHelp> help = s.view.HelpWindow();
    const QWidgetList windows = QApplication::topLevelWidgets();
    QCOMPARE(std::count_if(windows.begin(), windows.end(),
                           [](QWidget* w) { return w->objectName() == QLatin1String("frmHelp"); }),
             1);
    // Centred with its frame, which is what the window manager places.
    QVERIFY((QRectF(help->frameGeometry()).center() - QPointF(512, 384)).manhattanLength() < 1);
    QVERIFY(help->windowFlags().testFlag(Qt::WindowStaysOnTopHint) && !help->isModal());
    // Under the Action heading, each action starts where the others do, whatever its key.
    QSet<qreal> actionColumn;
    QTextDocument* text = help->Text1->document();
    for (QTextBlock line = text->find(QStringLiteral("Action")).block(); line.isValid();
         line = line.next()) {
        text->documentLayout()->blockBoundingRect(line);  // lays the line out
        const auto action = QRegularExpression(QStringLiteral("^\\S*\\s+(\\S)")).match(line.text());
        if (action.hasMatch()) {
            actionColumn << line.layout()->lineAt(0).cursorToX(action.capturedStart(1));
        }
    }
    QCOMPARE(actionColumn.size(), 1);
    help->showMinimized();
    QTest::keyClick(&s.view, Qt::Key_F1);
    QTRY_VERIFY(!help->isMinimized() && help->isActiveWindow());
    QTest::keyClick(help->Text1, Qt::Key_X);
    QVERIFY(help->isVisible());
    QTest::keyClick(help->Text1, Qt::Key_Escape);
    QTRY_VERIFY(!help);
    s.view.ShowHelp();
    help = s.view.HelpWindow();
    QTest::keyClick(help->cmdClose, Qt::Key_Space);  // the Close button
    QTRY_VERIFY(!help);
    s.view.ShowHelp();
    help = s.view.HelpWindow();
    QSignalSpy ended(&s.view, &MainView::unloaded);
    s.view.close();  // as the close button does, with the help window open
    QTRY_VERIFY(!help);
    QCOMPARE(ended.count(), 1);
    QCOMPARE(s.g.settings.commits, 1);
}

QTEST_MAIN(TestView)
#include "tst_view.moc"
