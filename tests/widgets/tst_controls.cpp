// The keyboard presets, the help window and the window's own controls.

#include <QGroupBox>
#include <QtTest>

#include "fakes/gauge_probe.h"
#include "window/frm_help.h"
#include "window/help_text.h"

using namespace kelvane;

namespace {

// One preset panel as the tests read it back: "title section number-place scheme drive".
QString PanelState(const FrmMain& w, int p) {
    return QStringLiteral("%1 %2 %3 %4 %5")
        .arg(VisibleTitle(w, p))
        .arg(w.Section[p])
        .arg(NumberPlace(w, p), Scheme(w, p), DriveLabel(w, p));
}

void Press(Picture* button) {
    QTest::mousePress(button->window()->windowHandle(), Qt::LeftButton, {},
                      button->geometry().center());
}

void Release(Picture* button) {
    QTest::mouseRelease(button->window()->windowHandle(), Qt::LeftButton, {},
                        button->geometry().center());
}

}  // namespace

class TestControls : public QObject {
    Q_OBJECT
  private slots:
    void preset_data();
    void preset();
    void presetKeepsPlaceAndOtherPanels();
    void driveKey_data();
    void driveKey();
    void modifiersAndOtherKeys_data();
    void modifiersAndOtherKeys();
    void sizeCycle_data();
    void sizeCycle();
    void doubleClickRestsOnScreenBottom();
    void pins_data();
    void pins();
    void dragByLogo_data();
    void dragByLogo();
    void pressedFacesOnlyWhileHeld();
    void helpIsOneWindow();
    void helpText();
    void escapeClosesHelpFromAnyControl();
    void closeWithHelpOpenSavesOnce();
};

void TestControls::preset_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("panelsMode");
    QTest::addColumn<int>("height");
    QTest::addColumn<QStringList>("panels");
    QTest::addColumn<int>("driveStep");
    const QString urp = QStringLiteral("imgURP 0 97/33 G2R hidden");
    const QString urk = QStringLiteral("imgURK 1 79/55 G2R hidden");
    const QString urm = QStringLiteral("imgURM 2 79/55 G2R hidden");
    const QString frp = QStringLiteral("imgFRP 3 93/35 R2G hidden");
    const QString frk = QStringLiteral("imgFRK 4 75/60 R2G hidden");
    const QString frm = QStringLiteral("imgFRM 5 75/60 R2G hidden");
    const QString trk = QStringLiteral("imgTRK 6 75/60 R2G hidden");
    const QStringList f10 = {urp, urk, urm, frp, frk, frm, trk};
    QTest::newRow("F2") << 113 << 1 << 45 << QStringList{urp} << 0;
    QTest::newRow("F3") << 114 << 1 << 45 << QStringList{"imgFRP 3 97/33 R2G hidden"} << 0;
    QTest::newRow("F4") << 115 << 5 << 74 << QStringList{urp, "imgFRP 3 97/35 R2G hidden"} << 0;
    QTest::newRow("F5") << 116 << 2 << 103 << QStringList{urp, "imgFRP 3 97/35 R2G hidden", trk}
                        << 0;
    QTest::newRow("F6") << 117 << 2 << 103
                        << QStringList{"imgURK 1 77/55 G2R hidden", "imgFRK 4 72/60 R2G hidden",
                                       trk}
                        << 0;
    QTest::newRow("F7") << 118 << 2 << 103 << QStringList{urm, "imgFRM 5 74/55 R2G hidden", trk}
                        << 0;
    QTest::newRow("F8") << 119 << 3 << 161
                        << QStringList{urp, "imgURK 1 77/55 G2R hidden", frp,
                                       "imgFRK 4 72/60 R2G hidden", trk}
                        << 0;
    QTest::newRow("F9") << 120 << 3 << 161
                        << QStringList{urp, urm, frp, "imgFRM 5 74/60 R2G hidden", trk} << 0;
    QTest::newRow("F10") << 121 << 6 << 219 << f10 << 0;
    QTest::newRow("F11") << 122 << 4 << 248 << f10 + QStringList{"imgUD 7 71/60 G2R C:@58"} << 7;
}

void TestControls::preset() {
    QFETCH(int, key);
    QFETCH(int, panelsMode);
    QFETCH(int, height);
    QFETCH(QStringList, panels);
    QFETCH(int, driveStep);
    FakeGauge g;
    g.settings.values[{"Forms", "Section_8"}] = "9";  // E:, whatever the probe finds
    g.Start();
    for (int twice = 0; twice < 2; ++twice) {  // pressed twice: the same state as once
        g.window.Form_KeyDown(key);
        QCOMPARE(g.window.PanelsMode, panelsMode);
        QCOMPARE(g.window.height(), height);
        for (int p = 0; p < panels.size(); ++p) {
            QCOMPARE(PanelState(g.window, p), panels[p]);
        }
        QCOMPARE(g.window.DriveStep, driveStep);
    }
}

void TestControls::presetKeepsPlaceAndOtherPanels() {
    FakeGauge g;
    g.settings.values[{"StartUp", "Top"}] = "10500";  // reaches below the screen
    g.Start();
    const QRect before = g.window.geometry();
    const QString panel5 = PanelState(g.window, 5);
    g.window.Form_KeyDown(113);
    QCOMPARE(g.window.geometry(), QRect(before.topLeft(), QSize(136, 45)));
    QCOMPARE(PanelState(g.window, 5), panel5);
    QCOMPARE(g.window.Section[5], 2);
    QVERIFY(g.window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
}

void TestControls::driveKey_data() {
    QTest::addColumn<int>("drivesFound");
    QTest::addColumn<int>("panelsMode");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("driveStep");
    QTest::newRow("no drive changes nothing") << 0 << 4 << 248 << 0;
    QTest::newRow("three drives") << 3 << 2 << 103 << 2;
    QTest::newRow("twelve drives fill eight panels") << 12 << 4 << 248 << 7;
    QTest::newRow("one drive") << 1 << 1 << 45 << 0;
}

void TestControls::driveKey() {
    QFETCH(int, drivesFound);
    QFETCH(int, panelsMode);
    QFETCH(int, height);
    QFETCH(int, driveStep);
    FakeGauge g;
    g.volumes.PassFirst(drivesFound);
    g.Start();
    g.window.Form_KeyDown(123);
    QCOMPARE(g.window.PanelsMode, panelsMode);
    QCOMPARE(g.window.height(), height);
    QCOMPARE(g.window.DriveStep, driveStep);
    const int shown = std::min(drivesFound, kPanels);
    for (int k = 0; k < shown; ++k) {
        const QString letter =
            QStringLiteral("%1:@58").arg(QLatin1Char(static_cast<char>('C' + k)));
        QCOMPARE(PanelState(g.window, k),
                 QStringLiteral("imgUD %1 71/60 G2R %2").arg(7 + k).arg(letter));
    }
    if (drivesFound == 0) {
        QCOMPARE(g.window.Section[0], 3);  // the stored arrangement is untouched
    }
}

void TestControls::modifiersAndOtherKeys_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("height");
    QTest::newRow("F2") << int(Qt::Key_F2) << int(Qt::NoModifier) << 45;
    QTest::newRow("Shift+F2") << int(Qt::Key_F2) << int(Qt::ShiftModifier) << 45;
    QTest::newRow("Ctrl+F2") << int(Qt::Key_F2) << int(Qt::ControlModifier) << 45;
    QTest::newRow("Alt+F2") << int(Qt::Key_F2) << int(Qt::AltModifier) << 45;
    QTest::newRow("F5") << int(Qt::Key_F5) << int(Qt::NoModifier) << 103;
    QTest::newRow("F13 does nothing") << int(Qt::Key_F13) << int(Qt::NoModifier) << 248;
    QTest::newRow("A does nothing") << int(Qt::Key_A) << int(Qt::NoModifier) << 248;
    QTest::newRow("Escape does nothing") << int(Qt::Key_Escape) << int(Qt::NoModifier) << 248;
}

void TestControls::modifiersAndOtherKeys() {
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(int, height);
    FakeGauge g;
    g.Start();
    QTest::keyClick(&g.window, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(g.window.height(), height);
    QCOMPARE(g.window.Section[0], height == 248 ? 3 : 0);
}

void TestControls::sizeCycle_data() {
    QTest::addColumn<bool>("button");  // size button, or logo double-click
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<int>("height");
    const int steps[][5] = {
        // from, button to, button height, logo to, logo height
        {1, 2, 103, 2, 103}, {2, 3, 190, 3, 190}, {3, 4, 248, 4, 248}, {4, 1, 45, 1, 45},
        {5, 5, 74, 2, 103},  {6, 6, 219, 4, 248}, {7, 7, 132, 3, 190}, {8, 8, 190, 4, 248},
        {0, 0, 324, 0, 324}, {9, 9, 324, 9, 324},
    };
    for (const auto& s : steps) {
        QTest::addRow("button from %d", s[0]) << true << s[0] << s[1] << s[2];
        QTest::addRow("logo from %d", s[0]) << false << s[0] << s[3] << s[4];
    }
}

void TestControls::sizeCycle() {
    QFETCH(bool, button);
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(int, height);
    FakeGauge g;
    g.settings.values[{"Forms", "Panels"}] = QString::number(from);
    g.settings.values[{"StartUp", "Left"}] = "1500";
    g.settings.values[{"StartUp", "Top"}] = "750";
    g.Start();
    g.window.show();
    if (button) {
        Press(g.window.imgMin1);
        Release(g.window.imgMin1);
    } else {
        QTest::mouseDClick(g.window.windowHandle(), Qt::LeftButton, {},
                           g.window.Image1->geometry().center());
    }
    QCOMPARE(g.window.PanelsMode, to);
    QCOMPARE(g.window.height(), height);
    if (to != from) {
        QCOMPARE(g.window.geometry(), QRect(100, 50, 136, height));
    }
}

void TestControls::doubleClickRestsOnScreenBottom() {
    FakeGauge g;
    g.settings.values[{"Forms", "Panels"}] = "1";
    g.settings.values[{"StartUp", "Top"}] = "10500";  // 700 px: 45 high fits, 103 does not
    g.Start();
    g.window.Image1_Click();
    g.window.Image1_DblClick();
    QCOMPARE(g.window.geometry(), QRect(444, 768 - 103, 136, 103));
    // The size button never corrects.
    g.window.move(444, 700);
    g.window.imgMin1_MouseDown();
    g.window.imgMin1_MouseUp();
    QCOMPARE(g.window.geometry(), QRect(444, 700, 136, 190));
}

void TestControls::pins_data() {
    QTest::addColumn<int>("label");
    QTest::addColumn<QPoint>("position");
    QTest::newRow("< pins to the left edge") << 1 << QPoint(0, 260);
    QTest::newRow("> pins to the right edge: 13320 twips") << 2 << QPoint(888, 260);
    QTest::newRow("^ pins to the top edge") << 3 << QPoint(444, 0);
}

void TestControls::pins() {
    QFETCH(int, label);
    QFETCH(QPoint, position);
    FakeGauge g;
    g.Start();
    ClickLabel* arrows[] = {g.window.Label1, g.window.Label2, g.window.Label3};
    QTest::mouseClick(g.window.windowHandle(), Qt::LeftButton, {},
                      arrows[label - 1]->geometry().center());
    QCOMPARE(g.window.pos(), position);
    QCOMPARE(QPoint(g.window.lngLeft, g.window.lngTop), position);
}

void TestControls::dragByLogo_data() {
    QTest::addColumn<Qt::MouseButtons>("buttons");
    QTest::addColumn<QPoint>("moved");
    QTest::newRow("left button drags") << Qt::MouseButtons(Qt::LeftButton) << QPoint(464, 290);
    QTest::newRow("right button does not") << Qt::MouseButtons(Qt::RightButton) << QPoint(444, 260);
    QTest::newRow("both buttons do not")
        << Qt::MouseButtons(Qt::LeftButton | Qt::RightButton) << QPoint(444, 260);
}

void TestControls::dragByLogo() {
    QFETCH(Qt::MouseButtons, buttons);
    QFETCH(QPoint, moved);
    FakeGauge g;
    g.Start();
    g.window.Image1_MouseDown(QPointF(150, 90));
    g.window.Image1_MouseMove(buttons, QPointF(150 + 300, 90 + 450));
    QCOMPARE(g.window.pos(), moved);
}

void TestControls::pressedFacesOnlyWhileHeld() {
    FakeGauge g;
    g.Start();
    for (auto [button, face] : {std::pair{g.window.imgMin1, g.window.imgMin2},
                                std::pair{g.window.imgHelp1, g.window.imgHelp2}}) {
        QVERIFY(face->isHidden());
        Press(button);
        QVERIFY(!face->isHidden());
        Release(button);
        QVERIFY(face->isHidden());
    }
    Press(g.window.imgClose2);
    QVERIFY(!g.window.imgClose3->isHidden());
    QCOMPARE(g.settings.commits, 0);
    Release(g.window.imgClose2);
    QCOMPARE(g.settings.commits, 1);
}

void TestControls::helpIsOneWindow() {
    FakeGauge g;
    g.Start();
    for (int i = 0; i < 3; ++i) {
        QTest::keyClick(&g.window, Qt::Key_F1);
    }
    QPointer<FrmHelp> help = g.window.HelpWindow();
    QVERIFY(help);
    const QWidgetList windows = QApplication::topLevelWidgets();
    QCOMPARE(std::count_if(windows.begin(), windows.end(),
                           [](QWidget* w) { return w->objectName() == QStringLiteral("frmHelp"); }),
             1);
    QCOMPARE(help->size(), QSize(346, 252));
    QCOMPARE(help->geometry().center(), QPoint(512, 384));
    QVERIFY(help->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(!help->isModal());
    help->move(5, 5);
    help->cmdClose->click();
    QTRY_VERIFY(!help);
    g.window.imgHelp1_MouseUp();
    QVERIFY(g.window.HelpWindow());
    QCOMPARE(g.window.HelpWindow()->geometry().center(), QPoint(512, 384));  // afresh, centred
    delete g.window.HelpWindow();
}

void TestControls::helpText() {
    const QStringList lines = HelpText().split(QStringLiteral("\r\n"));
    QCOMPARE(lines.first(), QStringLiteral("\nWhat is Kelvane?"));
    QCOMPARE(lines[1], QStringLiteral(" "));
    QCOMPARE(lines[2],
             QStringLiteral("  Kelvane is handy software to show you the amount of RAM "));
    QVERIFY(lines.contains(QString(81, QLatin1Char('-'))));
    QCOMPARE(lines.last().trimmed(), QStringLiteral("F12        All Your Partitions (8 Panels)"));
    QCOMPARE(std::count_if(lines.begin(), lines.end(),
                           [](const QString& l) { return l.contains(QStringLiteral("Drive C:")); }),
             1);
}

void TestControls::escapeClosesHelpFromAnyControl() {
    FakeGauge g;
    g.Start();
    g.window.ShowHelp();
    QPointer<FrmHelp> help = g.window.HelpWindow();
    QTest::keyClick(help->Text1, Qt::Key_A);
    QTest::keyClick(help->cmdClose, Qt::Key_Space, Qt::NoModifier);
    QTRY_VERIFY(!help);  // the space bar pressed its Close button
    g.window.ShowHelp();
    help = g.window.HelpWindow();
    QTest::keyClick(help->Text1, Qt::Key_X);
    QVERIFY(help && help->isVisible());
    QCOMPARE(help->Frame1->title(), QStringLiteral("           Kelvane Quick Help"));
    QTest::keyClick(help->Text1, Qt::Key_Escape);
    QTRY_VERIFY(!help);
}

void TestControls::closeWithHelpOpenSavesOnce() {
    FakeGauge g;
    g.Start();
    g.window.ShowHelp();
    QPointer<FrmHelp> help = g.window.HelpWindow();
    Press(g.window.imgClose2);
    Release(g.window.imgClose2);
    QTRY_VERIFY(!help);
    QVERIFY(!g.window.isVisible());
    QCOMPARE(g.settings.commits, 1);
}

QTEST_MAIN(TestControls)
#include "tst_controls.moc"
