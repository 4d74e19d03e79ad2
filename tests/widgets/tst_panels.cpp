// Panel layout at start, the title-click cycle, drive readings and colour schemes.

#include <QtTest>

#include "fakes/gauge_probe.h"

using namespace kelvane;

class TestPanels : public QObject {
    Q_OBJECT
  private slots:
    void layoutForKind_data();
    void layoutForKind();
    void clickCycle_data();
    void clickCycle();
    void walkIsSharedAcrossPanels_data();
    void walkIsSharedAcrossPanels();
    void onlyTheTitleTakesThePress_data();
    void onlyTheTitleTakesThePress();
    void clickChangesLookNotReading();
    void failedQueryKeepsLastValue();
    void drivesFoundStopAtFirstFailure_data();
    void drivesFoundStopAtFirstFailure();
    void schemeChangeKeepsLitCount();
    void driveTooltipNamesMountPoint();
};

void TestPanels::layoutForKind_data() {
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("drive");
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("scheme");
    QTest::newRow("0 used percent keeps design colours") << 0 << "imgURP"
                                                         << "hidden"
                                                         << "93/35"
                                                         << "G2R";
    QTest::newRow("3 free percent") << 3 << "imgFRP"
                                    << "hidden"
                                    << "93/35"
                                    << "R2G";
    QTest::newRow("4 free KB") << 4 << "imgFRK"
                               << "hidden"
                               << "77/55"
                               << "R2G";
    QTest::newRow("6 total") << 6 << "imgTRK"
                             << "hidden"
                             << "75/60"
                             << "R2G";
    QTest::newRow("7 drive C:") << 7 << "imgUD"
                                << "C:@58"
                                << "71/60"
                                << "G2R";
    QTest::newRow("30 drive Z:") << 30 << "imgUD"
                                 << "Z:@58"
                                 << "71/60"
                                 << "G2R";
    QTest::newRow("31 leaves the design layout")
        << 31 << "imgURP+imgURK+imgURM+imgFRP+imgFRK+imgFRM+imgTRK+imgUD"
        << "hidden"
        << "96/39"
        << "G2R";
}

void TestPanels::layoutForKind() {
    QFETCH(int, code);
    QFETCH(QString, title);
    QFETCH(QString, drive);
    QFETCH(QString, number);
    QFETCH(QString, scheme);
    FakeGauge g;
    // Panel 5's drive label has its own design place (870); panel 3's (825) shows the move.
    g.settings.values[{"Forms", "Section_4"}] = QString::number(code);
    g.Start();
    QCOMPARE(VisibleTitle(g.window, 3), title);
    QCOMPARE(DriveLabel(g.window, 3), drive);
    QCOMPARE(NumberPlace(g.window, 3), number);
    QCOMPARE(Scheme(g.window, 3), scheme);
}

void TestPanels::clickCycle_data() {
    QTest::addColumn<int>("driveCount");
    QTest::addColumn<QList<int>>("sections");
    const QList<int> memory = {1, 2, 3, 4, 5, 6, 7};
    QTest::newRow("no drive found: total, C:, back") << 1 << memory + QList<int>{0};
    QTest::newRow("only C: found") << 2 << memory + QList<int>{0};
    QTest::newRow("C: and D: found: nine clicks") << 3 << memory + QList<int>{8, 0};
    QList<int> all = memory;
    for (int code = 8; code <= 30; ++code) {
        all << code;
    }
    QTest::newRow("every letter found: C: to Z:") << 25 << all + QList<int>{0};
}

void TestPanels::clickCycle() {
    QFETCH(int, driveCount);
    QFETCH(QList<int>, sections);
    FakeGauge g;
    g.volumes.PassFirst(driveCount - 1);
    g.settings.values[{"Forms", "Section_1"}] = "0";
    g.Start();
    QCOMPARE(g.window.DriveCount, driveCount);
    for (int expected : sections) {
        PressAt(g.window, TitleCaption(0));
        QCOMPARE(g.window.Section[0], expected);
    }
    // Back at the start: used percent, at the wrap's own place, in the drives' colours.
    QCOMPARE(VisibleTitle(g.window, 0), QStringLiteral("imgURP"));
    QCOMPARE(NumberPlace(g.window, 0), QStringLiteral("97/33"));
    QCOMPARE(DriveLabel(g.window, 0), QStringLiteral("hidden"));
    QCOMPARE(Scheme(g.window, 0), QStringLiteral("G2R"));
    QCOMPARE(g.window.DriveStep, 0);
}

void TestPanels::walkIsSharedAcrossPanels_data() {
    QTest::addColumn<int>("drivesFound");
    QTest::addColumn<int>("panel1After");
    QTest::newRow("C: to E: found: panel 1 wraps at once") << 3 << 0;
    QTest::newRow("C: to F: found: panel 1 moves to F:") << 4 << 10;
}

void TestPanels::walkIsSharedAcrossPanels() {
    QFETCH(int, drivesFound);
    QFETCH(int, panel1After);
    FakeGauge g;
    g.volumes.PassFirst(drivesFound);
    g.settings.values[{"Forms", "Section_1"}] = "7";
    g.settings.values[{"Forms", "Section_2"}] = "6";
    g.Start();
    PressAt(g.window, TitleCaption(0));
    PressAt(g.window, TitleCaption(0));
    QCOMPARE(g.window.Section[0], 9);  // E:
    QCOMPARE(g.window.DriveStep, 2);
    PressAt(g.window, TitleCaption(1));  // total -> C:, the walk stays at E:
    QCOMPARE(g.window.Section[1], 7);
    QCOMPARE(g.window.DriveStep, 2);
    PressAt(g.window, TitleCaption(1));
    QCOMPARE(g.window.Section[1], panel1After);
}

void TestPanels::onlyTheTitleTakesThePress_data() {
    QTest::addColumn<QPoint>("point");
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<int>("section");
    QTest::newRow("caption with the left button") << TitleCaption(2) << Qt::LeftButton << 1;
    QTest::newRow("caption with the right button") << TitleCaption(2) << Qt::RightButton << 1;
    QTest::newRow("caption with the middle button") << TitleCaption(2) << Qt::MiddleButton << 1;
    QTest::newRow("lit LED row") << QPoint(3, 18 + 58 + 5) << Qt::LeftButton << 0;
    QTest::newRow("unlit LED row") << QPoint(130, 18 + 58 + 5) << Qt::LeftButton << 0;
    QTest::newRow("number label") << QPoint(100, 18 + 58 + 15) << Qt::LeftButton << 0;
}

void TestPanels::onlyTheTitleTakesThePress() {
    QFETCH(QPoint, point);
    QFETCH(Qt::MouseButton, button);
    QFETCH(int, section);
    FakeGauge g;
    g.settings.values[{"Forms", "Section_3"}] = "0";
    g.Start();
    g.window.Timer1_Timer();
    PressAt(g.window, point, button);
    QCOMPARE(g.window.Section[2], section);
}

void TestPanels::clickChangesLookNotReading() {
    FakeGauge g;
    g.settings.values[{"Forms", "Section_1"}] = "2";
    g.Start();
    g.window.Timer1_Timer();
    QCOMPARE(g.window.lblInfo[0]->text(), QStringLiteral("88 MB"));
    PressAt(g.window, TitleCaption(0));
    // Title, place and colours change at once; the number waits for the next tick.
    QCOMPARE(VisibleTitle(g.window, 0), QStringLiteral("imgFRP"));
    QCOMPARE(Scheme(g.window, 0), QStringLiteral("R2G"));
    QCOMPARE(NumberPlace(g.window, 0), QStringLiteral("93/35"));
    QCOMPARE(g.window.lblInfo[0]->text(), QStringLiteral("88 MB"));
    QCOMPARE(LitSegments(g.window, 0), 19);
    g.window.Timer1_Timer();
    QCOMPARE(g.window.lblInfo[0]->text(), QStringLiteral("30%"));
    QCOMPARE(LitSegments(g.window, 0), 8);
    PressAt(g.window, TitleCaption(0));  // free percent -> free KB keeps the colours
    QCOMPARE(Scheme(g.window, 0), QStringLiteral("R2G"));
}

void TestPanels::failedQueryKeepsLastValue() {
    FakeGauge g;
    g.volumes.PassFirst(2);
    g.volumes.answering[1] = false;
    g.volumes.space[0] = {25, 100};
    g.settings.values[{"Forms", "Section_1"}] = "8";  // D:, never answering
    g.Start();
    g.window.Timer1_Timer();
    QCOMPARE(g.window.lblInfo[0]->text(), QStringLiteral("0%"));
    QCOMPARE(g.window.lblInfo[7]->text(), QStringLiteral("75%"));
    g.volumes.answering[0] = false;  // C: unplugged
    g.window.Timer1_Timer();
    QCOMPARE(g.window.lblInfo[7]->text(), QStringLiteral("75%"));
    QCOMPARE(g.window.lblInfo[0]->text(), QStringLiteral("0%"));
    QCOMPARE(g.volumes.queries[0], 2);
    QCOMPARE(g.volumes.queries[2], 0);  // a drive no panel shows is never queried
}

void TestPanels::drivesFoundStopAtFirstFailure_data() {
    QTest::addColumn<QList<int>>("passing");  // letters from C: that pass
    QTest::addColumn<int>("driveCount");
    QTest::newRow("C: and D:, then a gap before F:") << QList<int>{0, 1, 3} << 3;
    QTest::newRow("only C:") << QList<int>{0} << 2;
    QTest::newRow("C: fails: nothing after it counts") << QList<int>{1, 2} << 1;
    QList<int> all;
    for (int i = 0; i < kDriveLetters; ++i) {
        all << i;
    }
    QTest::newRow("all 24 letters") << all << 25;
}

void TestPanels::drivesFoundStopAtFirstFailure() {
    QFETCH(QList<int>, passing);
    QFETCH(int, driveCount);
    FakeGauge g;
    for (int letter : passing) {
        g.volumes.passing[static_cast<std::size_t>(letter)] = true;
    }
    g.window.FindHowManyDrives();
    QCOMPARE(g.window.DriveCount, driveCount);
}

void TestPanels::schemeChangeKeepsLitCount() {
    FakeGauge g;
    g.Start();
    g.window.SetLights(4, 20);
    g.window.ChangeColor(4, true);
    QCOMPARE(LitSegments(g.window, 4), 5);
    QCOMPARE(Scheme(g.window, 4), QStringLiteral("R2G"));
    QCOMPARE(g.window.imgRamUse[13][4]->Fill(), (Rgb{255, 255, 0}));
    g.window.ChangeColor(4, false);
    g.window.ChangeColor(4, false);
    QCOMPARE(Scheme(g.window, 4), QStringLiteral("G2R"));
    QCOMPARE(g.window.imgRamUse[12][4]->Fill(), (Rgb{240, 255, 0}));
    QCOMPARE(g.window.imgRamUse[14][4]->Fill(), (Rgb{255, 240, 0}));
    QCOMPARE(LitSegments(g.window, 4), 5);
    QCOMPARE(Scheme(g.window, 3), QStringLiteral("G2R"));  // the neighbours are untouched
    QCOMPARE(Scheme(g.window, 5), QStringLiteral("G2R"));
}

void TestPanels::driveTooltipNamesMountPoint() {
    FakeGauge g;
    g.volumes.PassFirst(2);
    g.volumes.mountPoints[0] = QStringLiteral("/");
    g.volumes.mountPoints[1] = QStringLiteral("/home");
    g.settings.values[{"Forms", "Section_1"}] = "6";
    g.Start();
    QCOMPARE(g.window.PanelToolTip(7), QStringLiteral("C: /"));
    PressAt(g.window, TitleCaption(0));
    PressAt(g.window, TitleCaption(0));
    QCOMPARE(g.window.PanelToolTip(0), QStringLiteral("D: /home"));
    QVERIFY(g.window.PanelToolTip(3).contains(QStringLiteral("total")));
}

QTEST_MAIN(TestPanels)
#include "tst_panels.moc"
