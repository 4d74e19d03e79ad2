// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

// The main window on screen (the offscreen platform, at the device pixel ratio CTest sets):
// what it draws, the input it hands on, and the help window.

#include <QAccessible>
#include <QGroupBox>
#include <QPainter>
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
    void toolTipWithoutFocus();
    void helpWindow();
    void nothingForScreenReadersUntilOneListens();
    void panelsSayWhatTheyCannotShow();
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
    QTest::newRow("percent") << "70%";
    QTest::newRow("a fraction") << "48828.125 KB";
    QTest::newRow("the used KB of 4 TiB") << "4294967296 KB";
    QTest::newRow("a separator beyond ASCII") << QStringLiteral("48828\u066b125 KB");
    QTest::newRow("a wide one too") << QStringLiteral("67108864\u066b5 KB");
    QTest::newRow("empty") << "";
}

// Numbers are drawn glyph by glyph from a cache; they must look as the text drawn whole.
void TestView::numbersLookAsTextDrawnWithTheirFont() {
    QFETCH(QString, caption);
    Shown s;
    const ControlId label = s.g.window.lblInfo[2];
    s.g.window.controls.SetText(label, caption.toStdString());
    const QRect rect = s.Rect(label);
    const qreal ratio = s.view.devicePixelRatioF();
    QImage expected(rect.size() * ratio, QImage::Format_RGB32);
    expected.setDevicePixelRatio(ratio);
    expected.fill(Qt::white);
    QPainter painter(&expected);
    // A number too wide for its label is written in the narrow font, which holds any KB figure
    // up to 4 TiB whole.
    const bool wide = QFontMetrics(NumberFont()).horizontalAdvance(caption) > rect.width();
    QVERIFY(!wide || QFontMetrics(NarrowNumberFont()).horizontalAdvance(caption) <= rect.width());
    painter.setFont(wide ? NarrowNumberFont() : NumberFont());
    painter.drawText(QRect(QPoint(), rect.size()), Qt::AlignLeft | Qt::AlignTop, caption);
    painter.end();
    expected.setDevicePixelRatio(1);
    QCOMPARE(s.Shot(rect), expected);
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

void TestView::toolTipWithoutFocus() {
    Shown s;
    QWidget other;
    other.show();
    QApplication::setActiveWindow(&other);
    QVERIFY(!s.view.isActiveWindow());
    QTest::mouseMove(s.view.windowHandle(), {20, 18 + 29 * 7 + 20});
    QTest::mouseMove(s.view.windowHandle(), {21, 18 + 29 * 7 + 20});
    QTRY_COMPARE(QToolTip::text(), s.g.window.PanelToolTip(7));
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
    QVERIFY((help->geometry().center() - QPoint(512, 384)).manhattanLength() <= 2);  // centred
    QVERIFY(help->windowFlags().testFlag(Qt::WindowStaysOnTopHint) && !help->isModal());
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

// Over AT-SPI nothing shows while no assistive technology listens, so only here: until one
// does, nothing runs for it, and the refresh tick costs what it did.
void TestView::nothingForScreenReadersUntilOneListens() {
    Shown s;
    auto* announcements = s.view.property("accessibility")
                              .value<QObject*>()
                              ->findChild<QTimer*>(QStringLiteral("announcements"));
    QVERIFY(announcements != nullptr && !announcements->isActive());
    QAccessible::setActive(true);  // what Qt tells its observers when a screen reader arrives
    QVERIFY(announcements->isActive());
    // This platform has no bridge to assistive technologies, so none really listens: the first
    // round finds that out and stops.
    QTRY_VERIFY_WITH_TIMEOUT(!announcements->isActive(), 3000);
}

// In words: a dash or an empty caption would be read as punctuation or silence. (No figure is
// ever unknown for long on a real machine, and its drive letters are its own.)
void TestView::panelsSayWhatTheyCannotShow() {
    FakeGauge g;
    g.volumes.PassFirst(1);
    g.memory.readable = false;
    g.settings.values[{"Forms", "Section_8"}] = "8";  // D:, which names no volume here
    MainView view(g.window);
    g.Start();
    g.window.Timer1_Timer();
    QAccessibleInterface* window = QAccessible::queryAccessibleInterface(&view);
    const int firstPanel = window->childCount() - kPanels;  // after the buttons and the logo
    QAccessibleInterface* total = window->child(firstPanel + 6);
    QCOMPARE(total->text(QAccessible::Name), "Total RAM MB");
    QCOMPARE(total->text(QAccessible::Value), "unknown");
    QAccessibleInterface* drive = window->child(firstPanel + 7);
    QCOMPARE(drive->text(QAccessible::Name), "Used drive D: (absent)");
    QCOMPARE(drive->text(QAccessible::Value), "absent");
    QVERIFY(!drive->valueInterface()->currentValue().isValid());
}

QTEST_MAIN(TestView)
#include "tst_view.moc"
