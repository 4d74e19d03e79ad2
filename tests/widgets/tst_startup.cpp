// Start-up, the refresh tick and the close, on the main window over a fake platform.

#include <QtTest>

#include "fakes/fake_platform.h"

using namespace kelvane;

namespace {

int LitSegments(const FrmMain& w, int panel) {
    int lit = 0;
    for (int n = 0; n < kSegments; ++n) {
        const LedSegment* s =
            w.imgRamUse[static_cast<std::size_t>(n)][static_cast<std::size_t>(panel)];
        if (!s->isHidden()) {
            // The lit segments are always the first ones.
            if (lit != n) {
                return -1;
            }
            ++lit;
        }
    }
    return lit;
}

bool IsTopmost(const QWidget& w) {
    return w.windowFlags().testFlag(Qt::WindowStaysOnTopHint);
}

}  // namespace

class TestStartup : public QObject {
    Q_OBJECT
  private slots:
    void firstRunDefaults();
    void placementBySizeCode_data();
    void placementBySizeCode();
    void storedSettings_data();
    void storedSettings();
    void tickShowsEveryKind_data();
    void tickShowsEveryKind();
    void kindAbove30IsLeftAlone();
    void unreadableMemoryKeepsReadings();
    void unchangedReadingWritesNothing();
    void widestNumberFitsItsLabel();
    void picturesMatchTheirControls();
    void stackingOrderFrontToBack();
    void closeSavesOnce();
    void unwritableStoreStillCloses();
};

void TestStartup::firstRunDefaults() {
    FakeGauge g;
    g.Start();
    QCOMPARE(g.window.StartLeft, 6660);
    QCOMPARE(g.window.StartTop, 3900);
    const std::uint8_t sections[kPanels] = {3, 4, 5, 0, 1, 2, 6, 7};
    for (int p = 0; p < kPanels; ++p) {
        QCOMPARE(g.window.Section[p], sections[p]);
    }
    QCOMPARE(g.window.PanelsMode, 4);
    QCOMPARE(g.window.geometry(), QRect(444, 260, 136, 248));
    QVERIFY(IsTopmost(g.window));
    QVERIFY(g.window.testAttribute(Qt::WA_ShowWithoutActivating));
    QVERIFY(g.window.windowFlags().testFlag(Qt::FramelessWindowHint));
    QCOMPARE(g.window.windowTitle(), QStringLiteral("Dorvane"));
    // Panel 1's bar is switched off at load; the others still show their design state.
    QCOMPARE(LitSegments(g.window, 1), 0);
    QCOMPARE(LitSegments(g.window, 0), kSegments);
}

void TestStartup::placementBySizeCode_data() {
    QTest::addColumn<QString>("panels");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("placed");
    QTest::newRow("1: one panel") << "1" << QSize(136, 45) << true;
    QTest::newRow("5: two panels") << "5" << QSize(136, 74) << true;
    QTest::newRow("2: three panels") << "2" << QSize(136, 103) << true;
    QTest::newRow("7: four panels") << "7" << QSize(136, 132) << true;
    QTest::newRow("3: five panels") << "3" << QSize(136, 161) << true;
    QTest::newRow("8: six panels") << "8" << QSize(136, 190) << true;
    QTest::newRow("6: seven panels") << "6" << QSize(136, 219) << true;
    QTest::newRow("4: eight panels") << "4" << QSize(136, 248) << true;
    QTest::newRow("0 keeps the design geometry") << "0" << QSize(299, 324) << false;
    QTest::newRow("9 keeps the design geometry") << "9" << QSize(299, 324) << false;
}

void TestStartup::placementBySizeCode() {
    QFETCH(QString, panels);
    QFETCH(QSize, size);
    QFETCH(bool, placed);
    FakeGauge g;
    g.settings.values[{"Forms", "Panels"}] = panels;
    g.settings.values[{"StartUp", "Left"}] = "1500";
    g.settings.values[{"StartUp", "Top"}] = "757";
    g.Start();
    QCOMPARE(g.window.size(), size);
    QCOMPARE(IsTopmost(g.window), placed);
    if (placed) {
        // 757 twips / 15 = 50.47 rounds to 50.
        QCOMPARE(g.window.pos(), QPoint(100, 50));
    }
}

void TestStartup::storedSettings_data() {
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("left");
    QTest::addColumn<int>("section2");
    QTest::addColumn<int>("panelsMode");
    QTest::newRow("position beyond 16 bits loads") << "StartUp/Left"
                                                   << "40000" << 40000 << 5 << 4;
    QTest::newRow("position that is no number is 0") << "StartUp/Left"
                                                     << "abc" << 0 << 5 << 4;
    QTest::newRow("section text is used RAM percent") << "Forms/Section_3"
                                                      << "abc" << 6660 << 0 << 4;
    QTest::newRow("section 300 is used RAM percent") << "Forms/Section_3"
                                                     << "300" << 6660 << 0 << 4;
    QTest::newRow("section fraction rounds") << "Forms/Section_3"
                                             << "4.5" << 6660 << 4 << 4;
    QTest::newRow("size code 12 loads unchanged") << "Forms/Panels"
                                                  << "12" << 6660 << 5 << 12;
    QTest::newRow("empty size code is 0") << "Forms/Panels"
                                          << "" << 6660 << 5 << 0;
}

void TestStartup::storedSettings() {
    QFETCH(QString, key);
    QFETCH(QString, text);
    QFETCH(int, left);
    QFETCH(int, section2);
    QFETCH(int, panelsMode);
    FakeGauge g;
    const QStringList parts = key.split('/');
    g.settings.values[{parts[0], parts[1]}] = text;
    g.window.GetMySettings();
    QCOMPARE(g.window.StartLeft, left);
    QCOMPARE(g.window.StartTop, 3900);
    QCOMPARE(g.window.Section[2], section2);
    QCOMPARE(g.window.Section[4], 1);
    QCOMPARE(g.window.PanelsMode, panelsMode);
}

void TestStartup::tickShowsEveryKind_data() {
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("lit");
    QTest::newRow("used percent") << 0 << "70%" << 19;
    QTest::newRow("used KB") << 1 << "90560 KB" << 19;
    QTest::newRow("used MB") << 2 << "88 MB" << 19;
    QTest::newRow("free percent") << 3 << "30%" << 8;
    QTest::newRow("free KB") << 4 << "40000 KB" << 8;
    QTest::newRow("free MB") << 5 << "39 MB" << 8;
    QTest::newRow("total lights the whole bar") << 6 << "128 MB" << 27;
    QTest::newRow("drive C:") << 7 << "57%" << 16;
    QTest::newRow("drive Z: reads the last entry") << 30 << "9%" << 3;
}

void TestStartup::tickShowsEveryKind() {
    QFETCH(int, code);
    QFETCH(QString, caption);
    QFETCH(int, lit);
    FakeGauge g;
    g.volumes.PassFirst(24);
    g.volumes.space[0] = {43, 100};   // C: 57 % used
    g.volumes.space[23] = {91, 100};  // Z: 9 % used
    g.Start();
    // Panel 1 starts dark, so its bar shows exactly what the tick lit.
    g.window.Section[1] = static_cast<std::uint8_t>(code);
    g.window.Timer1_Timer();
    QCOMPARE(g.window.lblInfo[1]->text(), caption);
    QCOMPARE(LitSegments(g.window, 1), lit);
}

void TestStartup::kindAbove30IsLeftAlone() {
    FakeGauge g;
    g.Start();
    g.window.Timer1_Timer();
    const QString before = g.window.lblInfo[3]->text();
    const int litBefore = LitSegments(g.window, 3);
    g.window.Section[3] = 200;
    g.memory.status = {8LL << 30, 1LL << 30};
    g.window.Timer1_Timer();
    QCOMPARE(g.window.lblInfo[3]->text(), before);
    QCOMPARE(LitSegments(g.window, 3), litBefore);
    QVERIFY(g.window.lblInfo[0]->text() != QStringLiteral("30%"));  // the others moved on
}

void TestStartup::unreadableMemoryKeepsReadings() {
    FakeGauge g;
    g.Start();
    g.memory.readable = false;
    g.window.Timer1_Timer();
    QCOMPARE(g.window.lblInfo[0]->text(), QString());  // nothing known yet, nothing made up
    g.memory.readable = true;
    g.window.Timer1_Timer();
    QCOMPARE(g.window.lblInfo[0]->text(), QStringLiteral("30%"));
    g.memory.readable = false;
    g.window.Timer1_Timer();
    QCOMPARE(g.window.lblInfo[0]->text(), QStringLiteral("30%"));
    g.memory.readable = true;
    g.memory.status = {0, 0};  // a snapshot that would divide by zero
    g.window.Timer1_Timer();
    QCOMPARE(g.window.lblInfo[0]->text(), QStringLiteral("30%"));
    QCOMPARE(g.window.FreePercent, 30);
}

void TestStartup::unchangedReadingWritesNothing() {
    FakeGauge g;
    g.Start();
    g.window.Timer1_Timer();
    const QString before = g.window.lblInfo[0]->text();
    g.window.Timer1_Timer();
    // The label still holds the very same string: an unchanged caption is not written again.
    QCOMPARE(g.window.lblInfo[0]->text().constData(), before.constData());
    g.memory.status.availPhys -= 1024;
    g.window.Timer1_Timer();
    QCOMPARE(g.window.lblInfo[4]->text(), QStringLiteral("90561 KB"));
}

void TestStartup::widestNumberFitsItsLabel() {
    FakeGauge g;
    g.memory.status = {64LL << 30, 0};
    g.settings.values[{"Forms", "Section_1"}] = "1";
    g.Start();
    g.window.Timer1_Timer();
    const QLabel* label = g.window.lblInfo[0];
    QCOMPARE(label->text(), QStringLiteral("67108864 KB"));
    QVERIFY(label->fontMetrics().horizontalAdvance(label->text()) <= label->width());
    QVERIFY(label->fontMetrics().height() <= label->height() + 1);
}

void TestStartup::picturesMatchTheirControls() {
    FakeGauge g;
    const auto pictures = g.window.findChildren<Picture*>();
    QCOMPARE(pictures.size(), 8 * 10 + 7);
    for (const Picture* picture : pictures) {
        const QString name = picture->PictureName();
        QCOMPARE(QPixmap(QStringLiteral(":/pictures/%1.png").arg(name)).size(), picture->size());
        QCOMPARE(QPixmap(QStringLiteral(":/pictures/%1@2x.png").arg(name)).size(),
                 picture->size() * 2);
    }
}

void TestStartup::stackingOrderFrontToBack() {
    FakeGauge g;
    const FrmMain& w = g.window;
    const QObjectList order = w.children();  // back to front
    const auto at = [&](const QObject* control) { return order.indexOf(control); };
    QList<QList<const QWidget*>> levels = {
        {w.Label3, w.Label2, w.Label1},
        {w.imgHelp2, w.imgHelp1},
        {},
        {},
        {},
        {w.imgMin2, w.imgMin1, w.imgClose3, w.imgClose2},
        {w.Shape1},
        {w.Image1},
    };
    for (int p = 0; p < kPanels; ++p) {
        const auto i = static_cast<std::size_t>(p);
        for (int n = kSegments - 1; n >= 0; --n) {
            levels[2] << w.imgRamUse[static_cast<std::size_t>(n)][i];
        }
        levels[3] << w.imgG2R[i] << w.imgR2G[i];
        levels[4] << w.lblInfo[i] << w.lblDrv[i];
        levels[6] << w.imgURP[i] << w.imgURK[i] << w.imgURM[i] << w.imgFRP[i] << w.imgFRK[i]
                  << w.imgFRM[i] << w.imgTRK[i] << w.imgUD[i];
        QVERIFY(at(w.imgG2R[i]) > at(w.imgR2G[i]));
        for (int n = 1; n < kSegments; ++n) {
            QVERIFY(at(w.imgRamUse[static_cast<std::size_t>(n)][i]) >
                    at(w.imgRamUse[static_cast<std::size_t>(n - 1)][i]));
        }
    }
    QVERIFY(at(w.Label3) > at(w.Label2) && at(w.Label2) > at(w.Label1));
    QVERIFY(at(w.imgHelp2) > at(w.imgHelp1));
    QVERIFY(at(w.imgMin2) > at(w.imgMin1) && at(w.imgClose3) > at(w.imgClose2));
    for (int level = 0; level + 1 < levels.size(); ++level) {
        int frontmostBehind = -1;
        for (const QWidget* control : levels[level + 1]) {
            frontmostBehind = std::max(frontmostBehind, int(at(control)));
        }
        for (const QWidget* control : levels[level]) {
            QVERIFY2(at(control) > frontmostBehind, qPrintable(control->objectName()));
        }
    }
}

void TestStartup::closeSavesOnce() {
    FakeGauge g;
    g.Start();
    g.window.Section[4] = 12;
    g.window.move(100, 50);
    QSignalSpy ended(&g.window, &FrmMain::unloaded);
    g.window.close();
    g.window.close();
    QCOMPARE(g.settings.commits, 1);
    QVERIFY(ended.count() >= 1);
    QCOMPARE(g.settings.Value("StartUp", "Left"), QStringLiteral("1500"));
    QCOMPARE(g.settings.Value("StartUp", "Top"), QStringLiteral("750"));
    QCOMPARE(g.settings.Value("Forms", "Section_5"), QStringLiteral("12"));
    QCOMPARE(g.settings.Value("Forms", "Section_1"), QStringLiteral("3"));
    QCOMPARE(g.settings.Value("Forms", "Panels"), QStringLiteral("4"));
}

void TestStartup::unwritableStoreStillCloses() {
    FakeGauge g;
    g.settings.writable = false;
    g.Start();
    QSignalSpy ended(&g.window, &FrmMain::unloaded);
    g.window.close();
    QCOMPARE(ended.count(), 1);
    QVERIFY(!g.window.isVisible());
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
