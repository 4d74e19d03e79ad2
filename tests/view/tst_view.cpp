// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

// The main window on screen (the offscreen platform, at the device pixel ratio CTest sets): the
// input it hands on, its tooltips and the help window's behaviour. What they look like is
// checked against the reference pictures.

#include <QAccessible>
#include <QGroupBox>
#include <QToolTip>
#include <QtTest>

#include "accessibility/accessible_gauge.h"
#include "accessibility/announcer.h"
#include "drawing/qt/artwork.h"
#include "drawing/qt/qt_geometry.h"
#include "fakes/fake_platform.h"
#include "help/frm_help.h"
#include "hosts/qt/main_view.h"
#include "rules/window_layout.h"

using namespace kelvane;

namespace {

// The window shown after one tick, over one drive and what `before` sets up.
struct Shown {
    FakeGauge g;
    MainView view{g.window};
    explicit Shown(const std::function<void(FakeGauge&)>& before = {}) {
        g.volumes.PassFirst(1);
        if (before) {
            before(g);
        }
        g.Start();
        g.window.Timer1_Timer();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
    }
    const Control& Of(const char* name, int index = -1) const {
        return g.window.controls()[g.window.controls().Find(name, index)];
    }
};

}  // namespace

class TestView : public QObject {
    Q_OBJECT
  private slots:
    void inputReachesTheGauge();
    void toolTipWithoutFocusAsWritten_data();
    void toolTipWithoutFocusAsWritten();
    void helpWindow();
    void nothingForScreenReadersUntilOneListens();
    void panelsReadAsShown_data();
    void panelsReadAsShown();
    void keyboardWalksThePartsAndPresses_data();
    void keyboardWalksThePartsAndPresses();
    void keyboardPlaceDrawnOnlyOnceTabIsUsed();
    void figureCharactersWhereDrawn_data();
    void figureCharactersWhereDrawn();
    void picturesAtEveryRatio_data();
    void picturesAtEveryRatio();
};

// Presses land by the stacking order; keys reach the presets whatever the modifiers.
void TestView::inputReachesTheGauge() {
    Shown s;
    QWindow* window = s.view.windowHandle();
    QTest::mouseClick(window, Qt::MiddleButton, {}, ToQt(PanelTitlePoint(0)));
    QCOMPARE(s.g.window.Section(0), 4);
    QTest::keyClick(&s.view, Qt::Key_F2, Qt::ShiftModifier | Qt::ControlModifier);
    QCOMPARE(s.g.window.Section(0), 0);
    QCOMPARE(s.view.geometry(), QRect(444, 260, 136, 45));
    const QPoint logo = ToQt(s.Of("Image1").pixels.Center());
    QTest::mouseClick(window, Qt::LeftButton, {}, logo);
    QTest::mouseDClick(window, Qt::LeftButton, {}, logo);
    QCOMPARE(s.view.geometry(), QRect(444, 260, 136, 103));
    QTest::keyClick(&s.view, Qt::Key_A);
    QCOMPARE(s.view.geometry(), QRect(444, 260, 136, 103));
}

// Shown without the focus, over the first panel as over the last, and as written: a mount
// point is a folder's name, even one that reads as markup.
void TestView::toolTipWithoutFocusAsWritten_data() {
    QTest::addColumn<int>("panel");
    QTest::newRow("the first panel") << 0;
    QTest::newRow("the last panel") << 7;
}

void TestView::toolTipWithoutFocusAsWritten() {
    QFETCH(int, panel);
    Shown s([panel](FakeGauge& g) {
        g.volumes.root = QStringLiteral("/<h1>BIG</h1>  &amp;%1").arg(panel).toStdString();
        g.settings.values[{"Forms", "Section_" + std::to_string(panel + 1)}] = "7";
    });
    MainView& view = s.view;
    QWidget other;
    other.show();
    QApplication::setActiveWindow(&other);
    QVERIFY(!view.isActiveWindow());
    const QPoint over = ToQt(PanelStrip(panel).Center());
    QTest::mouseMove(view.windowHandle(), over);
    QTest::mouseMove(view.windowHandle(), over + QPoint(1, 0));
    const auto shown = [] {  // what the tooltip's label makes of its text
        QTextDocument text;
        const QString tip = QToolTip::text();
        Qt::mightBeRichText(tip) ? text.setHtml(tip) : text.setPlainText(tip);
        return text.toPlainText();
    };
    QTRY_COMPARE(shown(), QStringLiteral("Used space of the volume mounted at ") +
                              QString::fromStdString(s.g.volumes.root));
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
    int ended = 0;
    s.view.OnUnloaded([&ended] { ++ended; });
    s.view.close();  // as the close button does, with the help window open
    QTRY_VERIFY(!help);
    QCOMPARE(ended, 1);
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

// Each panel reads as it shows: its figure as text, and as a value from 0 to where its bar is
// full (100 %, or the total memory in the panel's unit). What it cannot show it says in words:
// a dash or an empty caption would be read as punctuation or silence.
void TestView::panelsReadAsShown_data() {
    QTest::addColumn<bool>("memoryRead");
    QTest::addColumn<QString>("lastPanel");  // its reading code
    QTest::newRow("figures, the drive's among them") << true << "7";
    QTest::newRow("memory not read, a letter that names no volume") << false << "8";
}

void TestView::panelsReadAsShown() {
    QFETCH(bool, memoryRead);
    QFETCH(QString, lastPanel);
    Shown s([&](FakeGauge& g) {
        g.volumes.space[0] = {25, 100};
        g.memory.readable = memoryRead;
        g.settings.values[{"Forms", "Section_8"}] = lastPanel.toStdString();
    });
    FakeGauge& g = s.g;
    MainView& view = s.view;
    QAccessibleInterface* window = QAccessible::queryAccessibleInterface(&view);
    for (int p = 0; p < kPanels; ++p) {
        const QString caption = QString::fromUtf8(g.window.controls().Text(
            g.window.controls().Find("lblInfo", p)));  // "75%", "39 MB", or a dash
        QAccessibleInterface* panel = window->child(window->childCount() - kPanels + p);
        const QVariant value = panel->valueInterface()->currentValue();
        if (!caption.front().isDigit()) {
            const bool absent = p == kPanels - 1 && lastPanel == "8";
            QCOMPARE(panel->text(QAccessible::Value), absent ? "absent" : "unknown");
            QVERIFY(!value.isValid());
            continue;
        }
        QCOMPARE(panel->text(QAccessible::Value), caption);
        QCOMPARE(value.toDouble(), caption.section(' ', 0, 0).remove('%').toDouble());
        const double total = g.memory.status.totalPhys / 1024.0;
        QCOMPARE(panel->valueInterface()->maximumValue().toDouble(), caption.endsWith('%') ? 100
                                                                     : caption.endsWith("KB")
                                                                         ? total
                                                                         : 128);
    }
}

// Tab and Shift+Tab go round the six buttons and the visible panels; Space and Return press the
// part the keyboard is on, as a click does.
void TestView::keyboardWalksThePartsAndPresses_data() {
    QTest::addColumn<QString>("keys");
    QTest::addColumn<int>("focus");
    QTest::addColumn<int>("panels");
    QTest::addColumn<int>("firstReading");
    QTest::addColumn<int>("lastReading");
    QTest::newRow("Tab first reaches the close button") << "tab" << 0 << 8 << 3 << 7;
    QTest::newRow("the second Tab and Space step the size") << "tab tab space" << 1 << 1 << 3 << 7;
    QTest::newRow("Shift+Tab reaches the last panel, Return steps it")
        << "backtab return" << 13 << 8 << 3 << 0;
    QTest::newRow("past the buttons the first panel, Space steps it")
        << "tab tab tab tab tab tab tab space" << 6 << 8 << 4 << 7;
    QTest::newRow("from the last panel Tab comes round to the close button")
        << "backtab tab" << 0 << 8 << 3 << 7;
    QTest::newRow("a panel a preset hid leaves the keyboard on the last one shown")
        << "backtab F4" << 7 << 2 << 0 << 7;
}

void TestView::keyboardWalksThePartsAndPresses() {
    QFETCH(QString, keys);
    QFETCH(int, focus);
    QFETCH(int, panels);
    QFETCH(int, firstReading);
    QFETCH(int, lastReading);
    Shown s;
    const QMap<QString, Qt::Key> named = {{"tab", Qt::Key_Tab},
                                          {"backtab", Qt::Key_Backtab},
                                          {"space", Qt::Key_Space},
                                          {"return", Qt::Key_Return},
                                          {"F4", Qt::Key_F4}};
    for (const QString& key : keys.split(' ')) {
        QTest::keyClick(&s.view, named[key]);
    }
    s.g.window.Timer1_Timer();
    QCOMPARE(s.view.KeyFocus(), focus);
    QCOMPARE(s.g.window.PanelsShown(), panels);
    QCOMPARE(s.g.window.Section(0), firstReading);
    QCOMPARE(s.g.window.Section(7), lastReading);
}

// The window looks as it always did until Tab is used, and again once the mouse is pressed.
void TestView::keyboardPlaceDrawnOnlyOnceTabIsUsed() {
    Shown s;
    QApplication::setActiveWindow(&s.view);
    s.view.setFocus();
    QTRY_VERIFY(s.view.hasFocus());
    const QImage untouched = s.view.grab().toImage();
    QTest::keyClick(&s.view, Qt::Key_Tab);
    QVERIFY(s.view.grab().toImage() != untouched);
    const QPoint leds = ToQt(PanelStrip(0).TopLeft()) + QPoint(3, 5);  // a press does nothing
    QTest::mousePress(s.view.windowHandle(), Qt::LeftButton, {}, leds);
    QTest::mouseRelease(s.view.windowHandle(), Qt::LeftButton, {}, leds);
    QCOMPARE(s.view.grab().toImage(), untouched);
}

// A screen reader finds each character of a figure where it is drawn, in its panel's number
// label, from left to right; a figure in words covers the label. The title names the reading,
// and the panel's label holds its name and figure.
void TestView::figureCharactersWhereDrawn_data() {
    QTest::addColumn<bool>("memoryRead");
    QTest::newRow("figures") << true;
    QTest::newRow("memory not read: in words") << false;
}

void TestView::figureCharactersWhereDrawn() {
    QFETCH(bool, memoryRead);
    Shown s([&](FakeGauge& g) { g.memory.readable = memoryRead; });
    FakeGauge& g = s.g;
    MainView& view = s.view;
    auto* window = dynamic_cast<AccessibleGauge*>(QAccessible::queryAccessibleInterface(&view));
    QVERIFY(window != nullptr);
    const QPoint corner = view.geometry().topLeft();
    for (int p = 0; p < 7; ++p) {  // the memory panels
        QAccessibleInterface* panel = window->Panel(p);
        QAccessibleTextInterface* text = panel->textInterface();
        const QRect label = ToQt(g.window.controls()[g.window.controls().Find("lblInfo", p)].pixels)
                                .translated(corner);
        int left = label.left();
        for (int c = 0; c < text->characterCount(); ++c) {
            const QRect at = text->characterRect(c);
            QVERIFY(label.contains(at) && !at.isEmpty());
            QCOMPARE(at == label, !memoryRead);
            QVERIFY(memoryRead ? at.left() >= left : true);
            left = at.left();
            QCOMPARE(text->offsetAtPoint(at.center()), memoryRead ? c : 0);
        }
        QAccessibleInterface* title = panel->child(0);
        QCOMPARE(title->text(QAccessible::Name), panel->text(QAccessible::Name));
        QVERIFY(panel->rect().contains(title->rect()) && !title->rect().isEmpty());
        // What labels the panel says its name and its figure, for a reader that speaks a bar as
        // a percentage only.
        const auto labels = panel->relations(QAccessible::Label);
        QCOMPARE(labels.size(), 1);
        const QString line = labels[0].first->textInterface()->text(0, -1);
        QVERIFY(line.startsWith(panel->text(QAccessible::Name)) &&
                line.endsWith(panel->text(QAccessible::Value)));
    }
}

QTEST_MAIN(TestView)
#include "tst_view.moc"

// At a ratio between 1 and 2 the pictures keep every stroke of their lettering: each pixel of
// ink in the 2x artwork leaves ink where it lands (lighter where a stroke is now thinner than
// a pixel), which scaling by dropping rows and columns of pixels would not ("Iroo Ram KB").
void TestView::picturesAtEveryRatio_data() {
    QTest::addColumn<double>("ratio");
    QTest::newRow("1.25") << 1.25;
    QTest::newRow("1.5") << 1.5;
    QTest::newRow("1.75") << 1.75;
}

void TestView::picturesAtEveryRatio() {
    QFETCH(double, ratio);
    Shown s;
    for (const char* name : {"imgFRK", "imgURP", "imgTRK", "imgUD", "Image1"}) {
        const QImage dense(QStringLiteral(":/pictures/%1@2x.png").arg(QLatin1String(name)));
        const QImage normal(QStringLiteral(":/pictures/%1.png").arg(QLatin1String(name)));
        const QImage drawn =
            ArtworkAt(QPixmap::fromImage(normal), QPixmap::fromImage(dense), ratio).toImage();
        const auto inkNear = [&](int x, int y) {
            for (const QPoint at :
                 {QPoint(x, y), QPoint(x + 1, y), QPoint(x, y + 1), QPoint(x + 1, y + 1)}) {
                if (drawn.valid(at) && qGray(drawn.pixel(at)) < 224) {
                    return true;
                }
            }
            return false;
        };
        for (int y = 0; y < dense.height(); ++y) {
            for (int x = 0; x < dense.width(); ++x) {
                if (qGray(dense.pixel(x, y)) < 128 &&
                    !inkNear(int(x * ratio / 2), int(y * ratio / 2))) {
                    const QString at = QStringLiteral("%1: ink lost at %2,%3").arg(name);
                    QFAIL(qPrintable(at.arg(x).arg(y)));
                }
            }
        }
    }
}
