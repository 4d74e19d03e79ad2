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
    explicit Shown(MemoryStatus memory = {133'693'440, 40'960'000}) {
        g.memory.status = memory;
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
    const Control& Of(const char* name, int index = -1) const {
        return g.window.controls()[g.window.controls().Find(name, index)];
    }
};

}  // namespace

class TestView : public QObject {
    Q_OBJECT
  private slots:
    void numbersLookAsTextDrawnWithTheirFont_data();
    void numbersLookAsTextDrawnWithTheirFont();
    void inputReachesTheGauge();
    void toolTipWithoutFocusAsWritten();
    void helpWindow();
};

void TestView::numbersLookAsTextDrawnWithTheirFont_data() {
    constexpr qint64 kGiB = 1024LL * 1024 * 1024;
    QTest::addColumn<QString>("locale");
    QTest::addColumn<qint64>("total");
    QTest::addColumn<qint64>("avail");
    QTest::newRow("percent, KB and MB") << "C" << 133'693'440LL << 40'960'000LL;
    QTest::newRow("a fraction") << "C" << 133'693'440LL << 50'000'000LL;
    QTest::newRow("the used KB of 4 TiB") << "C" << 4096 * kGiB << 0LL;
    QTest::newRow("a separator beyond ASCII") << "ar" << 133'693'440LL << 50'000'000LL;
    QTest::newRow("a wide one too") << "ar" << 64 * kGiB << 512LL;
}

// Numbers are drawn glyph by glyph from a cache; they must look as the text drawn whole. (One
// too wide even for the narrow font is squeezed into its label: the reference pictures show it.)
void TestView::numbersLookAsTextDrawnWithTheirFont() {
    QFETCH(QString, locale);
    QFETCH(qint64, total);
    QFETCH(qint64, avail);
    QLocale::setDefault(QLocale(locale));
    Shown s({total, avail});
    QLocale::setDefault(QLocale::c());
    for (int p = 0; p < kPanels; ++p) {
        const Control& label = s.Of("lblInfo", p);
        const std::string_view text =
            s.g.window.controls().Text(s.g.window.controls().Find("lblInfo", p));
        const QString caption = QString::fromUtf8(text.data(), qsizetype(text.size()));
        const QRect rect = label.pixels;
        const qreal ratio = s.view.devicePixelRatioF();
        QImage expected(rect.size() * ratio, QImage::Format_RGB32);
        expected.setDevicePixelRatio(ratio);
        expected.fill(Qt::white);
        QPainter painter(&expected);
        // A number too wide for its label is written in the narrow font, which holds any KB
        // figure up to 4 TiB whole.
        const bool wide = QFontMetrics(NumberFont()).horizontalAdvance(caption) > rect.width();
        QVERIFY(!wide ||
                QFontMetrics(NarrowNumberFont()).horizontalAdvance(caption) <= rect.width());
        painter.setFont(wide ? NarrowNumberFont() : NumberFont());
        painter.drawText(QRect(QPoint(), rect.size()), Qt::AlignLeft | Qt::AlignTop, caption);
        painter.end();
        expected.setDevicePixelRatio(1);
        QVERIFY2(s.Shot(rect) == expected, qPrintable(caption));
    }
}

// Presses land by the stacking order; keys reach the presets whatever the modifiers.
void TestView::inputReachesTheGauge() {
    Shown s;
    QWindow* window = s.view.windowHandle();
    QTest::mouseClick(window, Qt::MiddleButton, {}, {6, 18 + 20});
    QCOMPARE(s.g.window.Section(0), 4);
    QTest::keyClick(&s.view, Qt::Key_F2, Qt::ShiftModifier | Qt::ControlModifier);
    QCOMPARE(s.g.window.Section(0), 0);
    QCOMPARE(s.view.geometry(), QRect(444, 260, 136, 45));
    const QPoint logo = s.Of("Image1").pixels.center();
    QTest::mouseClick(window, Qt::LeftButton, {}, logo);
    QTest::mouseDClick(window, Qt::LeftButton, {}, logo);
    QCOMPARE(s.view.geometry(), QRect(444, 260, 136, 103));
    QTest::keyClick(&s.view, Qt::Key_A);
    QCOMPARE(s.view.geometry(), QRect(444, 260, 136, 103));
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
    FrmMain window{System{g.memory, volumes, g.screen, g.settings, g.clock}};
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
