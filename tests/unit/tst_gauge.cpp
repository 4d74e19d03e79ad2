// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

// The gauge with no display, over a fake platform: what a user does and what follows that no
// picture of the window shows (where the window goes, what is saved and when, which reading
// each panel moves on to). What the window looks like is checked against reference pictures
// (tests/view/reference).

#include <malloc.h>

#include <QtTest>
#include <cmath>

#include "fakes/fake_platform.h"
#include "rules/window_layout.h"

using namespace kelvane;

namespace {

// The gauge as a user meets it: settings as "Key=value ...", then started; controls by name.
struct Gauge : FakeGauge {
    explicit Gauge(const QString& stored = {}, int drives = 1, QSize screenSize = {1024, 768}) {
        volumes.PassFirst(drives);
        screen.size = screenSize;
        for (const QString& pair : stored.split(' ', Qt::SkipEmptyParts)) {
            const QString key = pair.section('=', 0, 0);
            const bool startUp = key == "Left" || key == "Top";
            settings.values[{startUp ? "StartUp" : "Forms", key}] = pair.section('=', 1);
        }
        Start();
    }
    const Controls& c() const { return window.controls(); }
    const Control& Of(const QString& name, int index = -1) const {
        return c()[c().Find(name.toStdString(), index)];
    }
    // A panel's title, left of its number; its LED row; its number.
    static QPoint Title(int panel) { return PanelTitlePoint(panel); }
    static QPoint Leds(int panel) { return PanelStrip(panel).topLeft() + QPoint(3, 5); }
    QPoint Number(int panel) const { return Of("lblInfo", panel).pixels.center(); }
    void Click(QPoint at, bool twice = false) {
        lastClick = host.geometry.topLeft() + at;
        window.MouseDown(at, twice);
        window.MouseUp(at, Qt::NoButton);
    }
    QPoint lastClick;  // on the screen
    void Drag(QPoint by, Qt::MouseButtons buttons = Qt::LeftButton) {
        const QPoint logo = Of("Image1").pixels.center();
        window.MouseDown(logo, false);
        window.MouseMove(host.geometry.topLeft() + logo + by, buttons);
        window.MouseUp(logo + by, Qt::NoButton);
    }
    // One user action: a control's name, "<", ">", "^", "dbl" (on the logo), "F<n>",
    // "drag:dx,dy[,right|both]", "screen:WxH" (the screen changes), "again" (a second start),
    // "repeat" (a click where the last one was on the screen, wherever the window is now),
    // "assisted:size" (a screen reader's press of Size), "wait:ms".
    void Do(const QString& action) {
        const QStringList f = action.section(':', 1).split(QRegularExpression("[,x]"));
        const QMap<QString, QString> arrows = {{"<", "Label1"}, {">", "Label2"}, {"^", "Label3"}};
        if (action.startsWith('F')) {
            window.Form_KeyDown(FKey(action.mid(1).toInt()));
        } else if (action == "dbl") {
            Click(Of("Image1").pixels.center());
            Click(Of("Image1").pixels.center(), true);
        } else if (action.startsWith("drag:")) {
            Drag({f[0].toInt(), f[1].toInt()}, f.value(2) == "right" ? Qt::RightButton
                                               : f.value(2) == "both"
                                                   ? Qt::LeftButton | Qt::RightButton
                                                   : Qt::LeftButton);
        } else if (action.startsWith("screen:")) {
            screen.size = {f[0].toInt(), f[1].toInt()};
            window.ScreensChanged();
        } else if (action == "repeat") {
            Click(lastClick - host.geometry.topLeft());
        } else if (action.startsWith("wait:")) {
            Wait(f[0].toInt());
        } else if (action == "assisted:size") {  // a screen reader's press of Size
            if (window.TakeAssistedPress()) {
                window.StepSize();
            }
        } else if (action == "again") {
            host.topmost = false;
            window.ComeBack();
        } else {
            Click(Of(arrows.value(action, action)).pixels.center());
        }
    }
    void Wait(int ms) {
        clock.now += std::chrono::milliseconds(ms);
        window.Timer1_Timer();
    }
    // What the settings hold: "Left Top Section_1 ... Section_8 Panels".
    QString Saved() const {
        QStringList all = {settings.Value("StartUp", "Left"), settings.Value("StartUp", "Top")};
        for (int p = 1; p <= kPanels; ++p) {
            all << settings.Value("Forms", QStringLiteral("Section_%1").arg(p));
        }
        return (all << settings.Value("Forms", "Panels")).join(' ');
    }
    QString Caption(int panel) const {
        return FakeSettings::Q(c().Text(c().Find("lblInfo", panel)));
    }
};

}  // namespace

class TestGauge : public QObject {
    Q_OBJECT
  private slots:
    void startUp_data();
    void startUp();
    void readingsChosen_data();
    void readingsChosen();
    void windowControls_data();
    void windowControls();
    void buttonsActOnRelease();
    void savedWhenChangedAndAtTheEnd();
    void readingsOnATick();
    void toolTips();
    void soak();
};

void TestGauge::startUp_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QSize>("screen");
    QTest::addColumn<QRect>("window");
    QTest::addColumn<QString>("saved");  // at once, on unload
    const QSize xga(1024, 768);
    QTest::newRow("first run: all eight panels, centred")
        << "" << xga << QRect(444, 260, 136, 248) << "6660 3900 3 4 5 0 1 2 6 7 4";
    QTest::newRow("the size code sets the height")
        << "Panels=5 Left=1500 Top=757" << xga << QRect(100, 50, 136, 74)
        << "1500 750 3 4 5 0 1 2 6 7 5";
    QTest::newRow("code 8 is six panels")
        << "Panels=8" << xga << QRect(444, 260, 136, 190) << "6660 3900 3 4 5 0 1 2 6 7 8";
    QTest::newRow("a size code out of the table: all panels at the stored place")
        << "Panels=9 Left=1500 Top=750" << xga << QRect(100, 50, 136, 248)
        << "1500 750 3 4 5 0 1 2 6 7 4";
    QTest::newRow("a place off every screen: onto the nearest edge")
        << "Left=-300000 Top=9000000" << xga << QRect(0, 520, 136, 248)
        << "0 7800 3 4 5 0 1 2 6 7 4";
    QTest::newRow("a place saved on a larger screen, on a smaller one")
        << "Left=27000 Top=15000" << QSize(800, 600) << QRect(664, 352, 136, 248)
        << "9960 5280 3 4 5 0 1 2 6 7 4";
    QTest::newRow("a place touching the screen's edges stays")
        << "Left=13320 Top=7800" << xga << QRect(888, 520, 136, 248)
        << "13320 7800 3 4 5 0 1 2 6 7 4";
    QTest::newRow("no number counts as 0, fractions round, a place beyond 16 bits loads")
        << "Left=40000 Top=abc Section_3=abc Section_4=300 Section_5=4.5 Section_6=2.51"
        << QSize(4000, 768) << QRect(2667, 0, 136, 248) << "40005 0 3 4 0 0 4 3 6 7 4";
    QTest::newRow("a code above 30 names no reading: used RAM percent")
        << "Section_1=31 Section_5=255 Section_8=30" << xga << QRect(444, 260, 136, 248)
        << "6660 3900 0 4 5 0 0 2 6 30 4";
}

void TestGauge::startUp() {
    QFETCH(QString, stored);
    QFETCH(QSize, screen);
    QFETCH(QRect, window);
    QFETCH(QString, saved);
    Gauge g(stored, 1, screen);
    QCOMPARE(g.host.geometry, window);
    QVERIFY(g.host.topmost);
    g.window.Form_Unload();
    QCOMPARE(g.Saved(), saved);
    QCOMPARE(g.settings.commits, 1);
}

void TestGauge::readingsChosen_data() {
    QTest::addColumn<int>("drives");
    QTest::addColumn<QString>("stored");
    // Clicks on titles by panel, "leds2", "number2", "dbl0" (a double-click on a title), keys
    // "F12"; then the readings of the eight panels.
    QTest::addColumn<QString>("actions");
    QTest::addColumn<QString>("readings");
    const auto row = [](const char* name, int drives, const char* stored, const char* actions,
                        const char* readings) {
        QTest::newRow(name) << drives << QString(stored) << QString(actions) << QString(readings);
    };
    row("no drive found: total RAM moves on to C:", 0, "Section_1=6", "0", "7 4 5 0 1 2 6 7");
    row("no drive found: C: moves back to used RAM percent", 0, "Section_1=7", "0",
        "0 4 5 0 1 2 6 7");
    row("the walk is shared: C: to E: found, the next drive click wraps", 3,
        "Section_1=7 Section_2=6", "0 0 1 1", "9 0 5 0 1 2 6 7");
    row("the walk is shared: C: to F: found, it goes on to F:", 4, "Section_1=7 Section_2=6",
        "0 0 1 1", "9 10 5 0 1 2 6 7");
    row("only a title takes the press: not the LEDs nor the number", 1, "Section_3=0",
        "leds2 number2 2", "3 4 1 0 1 2 6 7");
    row("a double-click on a title is two clicks", 1, "Section_1=0", "dbl0", "2 4 5 0 1 2 6 7");
    row("F2 twice: used RAM percent alone, the other panels keep theirs", 1, "Section_8=9", "F2 F2",
        "0 4 5 0 1 2 6 9");
    row("F11 puts C: on panel 7, found or not, and the walk goes on from there", 2, "", "F11 7",
        "0 1 2 3 4 5 6 0");
    row("F12 with no drive found changes nothing", 0, "", "F12 0", "4 4 5 0 1 2 6 7");
    row("F12 with three drives: C: to E:, the walk on from E:", 3, "", "F12 0", "0 8 9 0 1 2 6 7");
    row("F12 with twelve drives: eight panels, the walk on from J:", 12, "", "F12 0",
        "15 8 9 10 11 12 13 14");
}

void TestGauge::readingsChosen() {
    QFETCH(int, drives);
    QFETCH(QString, stored);
    QFETCH(QString, actions);
    QFETCH(QString, readings);
    Gauge g(stored, drives);
    for (const QString& action : actions.split(' ')) {
        const int p = action.right(1).toInt();
        if (action.startsWith('F')) {
            g.Do(action);
        } else if (action.startsWith("dbl")) {
            g.Click(Gauge::Title(p));
            g.Click(Gauge::Title(p), true);
        } else {
            g.Click(action.startsWith("leds")     ? Gauge::Leds(p)
                    : action.startsWith("number") ? g.Number(p)
                                                  : Gauge::Title(p));
        }
    }
    g.window.Form_Unload();
    QCOMPARE(g.Saved().section(' ', 2, 9), readings);
}

void TestGauge::windowControls_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("actions");
    QTest::addColumn<QRect>("window");
    const auto row = [](const char* name, const char* stored, const char* actions, QRect window) {
        QTest::newRow(name) << QString(stored) << QString(actions) << window;
    };
    row("the size button steps from where the window was", "Panels=1 Left=1500 Top=750",
        "imgMin1 imgMin1", {100, 50, 136, 190});
    row("the size button does nothing after F4", "", "F4 imgMin1", {444, 260, 136, 74});
    row("a double-click on the logo steps from any code", "", "F4 dbl", {444, 260, 136, 103});
    row("a double-click reaching below the screen rests the window on its bottom",
        "Panels=1 Top=10500", "dbl", {444, 665, 136, 103});
    row("the size button never lifts the window", "Panels=1 Top=10500", "imgMin1",
        {444, 700, 136, 103});
    row("< pins to the left edge", "", "<", {0, 260, 136, 248});
    row("> pins to the right edge", "", ">", {888, 260, 136, 248});
    row("^ pins to the top edge", "", "^", {444, 0, 136, 248});
    row("a pin, then the size cycle, from where the pin put it", "", "> imgMin1",
        {888, 260, 136, 45});
    // The pin's old place lands on the close button once the window has moved right by 121.
    row("a click again where a pin was, after it moved the window, is not taken", "Left=11505",
        "> repeat", {888, 260, 136, 248});
    row("a click again where the size button is, is taken", "Panels=1", "imgMin1 repeat",
        {444, 260, 136, 190});
    row("a click landing just after a screen reader pressed Size is the same press", "Panels=1",
        "assisted:size imgMin1", {444, 260, 136, 103});
    row("a screen reader pressing Size just after a click is the same press", "Panels=1",
        "imgMin1 assisted:size", {444, 260, 136, 103});
    row("a click a while after a screen reader's press is one of its own", "Panels=1",
        "assisted:size wait:2000 imgMin1", {444, 260, 136, 190});
    row("only the left button alone drags by the logo", "",
        "drag:20,30,right drag:20,30,both drag:20,30", {464, 290, 136, 248});
    row("a preset keeps the window's place, even below the screen", "", "drag:0,300 F8",
        {444, 560, 136, 161});
    row("a screen that shrinks brings the window back onto it", "Left=13320 Top=7800",
        "screen:800x600", {664, 352, 136, 248});
    row("a later start brings a window dragged off the screen back", "", "drag:2000,0 again",
        {888, 260, 136, 248});
}

void TestGauge::windowControls() {
    QFETCH(QString, stored);
    QFETCH(QString, actions);
    QFETCH(QRect, window);
    Gauge g(stored);
    for (const QString& action : actions.split(' ')) {
        g.Do(action);
    }
    QCOMPARE(g.host.geometry, window);
    QVERIFY(g.host.topmost);
    QCOMPARE(g.host.unloads, 0);
}

// Buttons show their pressed face while held, and a pin acts only when released on its arrow.
void TestGauge::buttonsActOnRelease() {
    Gauge g;
    for (const auto& [button, face] :
         {std::pair{"imgMin1", "imgMin2"}, {"imgClose2", "imgClose3"}, {"imgHelp1", "imgHelp2"}}) {
        const QPoint at = g.Of(button).pixels.center();
        g.window.MouseDown(at, false);
        QVERIFY(g.Of(face).visible);
        g.window.MouseUp(at, Qt::NoButton);
        QCOMPARE(g.Of(face).visible, QString(button) == "imgClose2");
    }
    g.Do("F1");
    QCOMPARE(g.host.helpShown, 2);
    QCOMPARE(g.host.unloads, 1);
    g.window.MouseDown(g.Of("Label1").pixels.center(), false);
    g.window.MouseUp(g.Of("Image1").pixels.center(), Qt::NoButton);
    QCOMPARE(g.host.geometry.topLeft(), QPoint(444, 260));
}

// A second after the last change, never while nothing changed; once at the end, from where
// the window really is.
void TestGauge::savedWhenChangedAndAtTheEnd() {
    Gauge g;
    g.Click(Gauge::Leds(0));
    g.Do("Image1");
    g.Do("drag:20,30");
    g.Do("drag:-20,-30");
    g.Wait(5000);
    QCOMPARE(g.settings.commits, 0);
    g.Click(Gauge::Title(0));
    g.Wait(999);
    QCOMPARE(g.settings.commits, 0);
    g.Wait(1);
    QCOMPARE(g.settings.commits, 1);
    QCOMPARE(g.Saved(), "6660 3900 4 4 5 0 1 2 6 7 4");
    g.Click(Gauge::Title(0));
    g.Wait(600);
    g.Do(">");
    g.Wait(600);
    QCOMPARE(g.settings.commits, 1);  // put off by the second change
    g.Wait(400);
    QCOMPARE(g.Saved(), "13320 3900 5 4 5 0 1 2 6 7 4");
    g.window.Form_Unload();
    g.window.Form_Unload();
    QCOMPARE(g.settings.commits, 3);

    Gauge refused;  // as on sway and weston
    refused.host.refuseMoves = true;
    refused.Do(">");
    refused.window.Form_Unload();
    QCOMPARE(refused.Saved().section(' ', 0, 1), "6660 3900");

    Gauge unknown("Left=1515 Top=1530");  // a Wayland client is not told where it is
    unknown.host.positionKnown = false;
    unknown.Do("drag:20,30");
    unknown.window.Form_Unload();
    QCOMPARE(unknown.Saved().section(' ', 0, 1), "1515 1530");
}

void TestGauge::readingsOnATick() {
    Gauge g("Section_1=7 Section_2=8 Section_3=20", 2);
    QList<QRect> repainted;
    g.window.OnRepaint([&](const QRect& r) { repainted << r; });
    g.memory.readable = false;
    g.volumes.space[0] = {25, 100};
    g.volumes.answering[1] = g.volumes.answeredYet[1] = false;
    g.window.Timer1_Timer();
    // Memory never read, a drive that has not answered yet: no figure made up.
    QCOMPARE(g.Caption(3), QStringLiteral("\u2013"));
    QCOMPARE(g.Caption(0), "75%");
    QCOMPARE(g.Caption(1), QStringLiteral("\u2013"));
    // A failed query keeps the drive's last figure, a failed read the last memory figures.
    g.memory.readable = true;
    g.volumes.answering = {false, true};
    g.volumes.space[1] = {40, 100};
    g.window.Timer1_Timer();
    QCOMPARE(g.Caption(3), "70%");
    QCOMPARE(g.Caption(0), "75%");
    QCOMPARE(g.Caption(1), "60%");
    g.memory.readable = false;
    g.window.Timer1_Timer();
    QCOMPARE(g.Caption(3), "70%");
    // An unchanged tick repaints nothing; new figures repaint only their numbers.
    repainted.clear();
    g.memory.readable = true;
    g.window.Timer1_Timer();
    QCOMPARE(repainted.size(), 0);
    g.memory.status.availPhys += 1024;
    g.window.Timer1_Timer();
    QCOMPARE(repainted, QList<QRect>{g.Of("lblInfo", 4).pixels});
}

void TestGauge::toolTips() {
    Gauge g("Section_1=7 Section_2=20 Section_3=3", 2);
    g.window.Timer1_Timer();
    QCOMPARE(g.window.PanelToolTip(0), "C: /");
    QCOMPARE(g.window.PanelToolTip(1), "P: no drive has this letter");
    QVERIFY(g.window.PanelToolTip(2).startsWith("Free RAM"));
    QCOMPARE(FrmMain::PanelAt(Gauge::Title(5)), 5);
    QCOMPARE(FrmMain::PanelAt({5, 2}), -1);
}

// Days of ticks over figures that change on every tick and a platform that fails now and
// then: the heap never grows (the tick allocates nothing) and what shows never drifts from the
// last figures read. KELVANE_SOAK_TICKS sets the length (20 000; tools/soak.sh runs a
// million). Run with glibc's per-thread cache off (GLIBC_TUNABLES=glibc.malloc.tcache_count=0),
// whose parked blocks would look like a leak.
void TestGauge::soak() {
    const long long ticks = std::max(20000, qEnvironmentVariableIntValue("KELVANE_SOAK_TICKS"));
    Gauge g("Section_1=4 Section_2=7");
    std::int64_t availKb = 0, driveFree = 0;
    std::size_t heap = 0;
    for (long long t = 1; t <= ticks; ++t) {
        // Faults on their own rhythms, so that every kind meets every other now and then.
        g.memory.readable = t % 7 != 3;
        g.memory.status = {1LL << 30, (t * 7919) % (1 << 20) * 1024};
        g.volumes.answering[0] = t % 11 != 4;
        g.volumes.space[0] = {(t * 31) % 101, 100};
        g.window.Timer1_Timer();
        availKb = g.memory.readable ? (t * 7919) % (1 << 20) : availKb;
        driveFree = g.volumes.answering[0] ? (t * 31) % 101 : driveFree;
        heap = t == 1000 ? mallinfo2().uordblks : heap;
        if (t <= 1001 || t % 1000 == 0) {
            QCOMPARE(g.Caption(0), QStringLiteral("%1 KB").arg(availKb));
            QCOMPARE(g.Caption(1), QStringLiteral("%1%").arg(100 - driveFree));
            QVERIFY2(heap == 0 || mallinfo2().uordblks <= heap + 1024, "the heap grows");
        }
    }
}

QTEST_GUILESS_MAIN(TestGauge)
#include "tst_gauge.moc"
