// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

// The pure rules: what a panel shows for its readings, a volume's use, where a window goes on
// the screens, and the reading of /proc/meminfo. (The settings number is checked against another
// reading by its fuzz target, whose seeds run as a test; the LEDs lit at each level show in the
// reference pictures.)

#include <xkbcommon/xkbcommon-keysyms.h>

#include <QtTest>

#include "parsers/meminfo.h"
#include "rules/layer_placement.h"
#include "rules/placement.h"
#include "rules/reading_rules.h"

using namespace kelvane;

namespace {

constexpr qint64 kGiB = 1024LL * 1024 * 1024;

std::string_view View(const QByteArray& bytes) {
    return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}

}  // namespace

class TestRules : public QObject {
    Q_OBJECT
  private slots:
    void inputsCoverTheReading();
    void usedPercent();
    void meminfo_data();
    void meminfo();
    void fitOnScreens_data();
    void fitOnScreens();
    void layerPlacement_data();
    void layerPlacement();
    void functionKeys_data();
    void functionKeys();
};

// A panel whose inputs have not changed is skipped on the tick, so any change that would show
// on the panel must change its inputs too: each input changed on its own, for every kind.
void TestRules::inputsCoverTheReading() {
    for (int code = 0; code <= kLastDrive; ++code) {
        std::array<std::int16_t, kDriveLetters> drives{};
        TickReadings before;
        before.mem = {8 * kGiB, 3 * kGiB};
        before.freePercent = FreePercentOf(before.mem);
        before.driveUsedPercent = drives.data();
        PanelResult shown;
        PanelReading(code, before, shown);
        QVERIFY(shown.state == PanelResult::State::kFigure);
        for (int change = 0; change < 4 + kDriveLetters; ++change) {
            std::array<std::int16_t, kDriveLetters> changed{};
            TickReadings after = before;
            after.driveUsedPercent = changed.data();
            after.mem.availPhys += change == 0 ? 1024 : change == 1 ? kGiB : 0;
            after.mem.totalPhys += change == 2 ? kGiB : 0;
            after.freePercent = static_cast<std::int16_t>(after.freePercent + (change == 3));
            if (change >= 4) {
                changed[static_cast<std::size_t>(change - 4)] = 1;
            }
            PanelResult result;
            PanelReading(code, after, result);
            if (result.caption != shown.caption || result.led.level != shown.led.level ||
                result.figure != shown.figure || result.fullScale != shown.fullScale) {
                QVERIFY2(PanelInputsOf(code, after) != PanelInputsOf(code, before),
                         qPrintable(QStringLiteral("code %1, change %2").arg(code).arg(change)));
            }
        }
    }
}

// The complement of the free share, rounded half to even once; no figure from no size.
void TestRules::usedPercent() {
    const qint64 rows[][3] = {{505'679'872, 2'048'000'000, 75},
                              {50'000LL * 4096, 400'000LL * 4096, 88},
                              {150'000LL * 4096, 400'000LL * 4096, 62},
                              {1, 16 * 1024 * kGiB, 100},
                              {0, 0, -1},
                              {5, 4, -1}};
    for (const auto& [freeBytes, totalBytes, used] : rows) {
        const auto result = UsedPercentOf({freeBytes, totalBytes});
        QCOMPARE(result ? *result : -1, used);
    }
}

void TestRules::meminfo_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<qint64>("totalKb");  // -1: no reading
    QTest::addColumn<qint64>("availKb");
    const auto row = [](const char* name, const char* text, qint64 total, qint64 avail = 0) {
        QTest::newRow(name) << QByteArray(text) << total << avail;
    };
    row("a kernel with MemAvailable",
        "MemTotal:       16318412 kB\nMemFree:         1204480 kB\nMemAvailable:    9876544 kB\n",
        16318412, 9876544);
    row("an older kernel: free, buffers and cached",
        "MemTotal:  1000 kB\nMemFree:  100 kB\nBuffers:  20 kB\nCached:  30 kB\nSwapCached:  99 "
        "kB\n",
        1000, 150);
    row("an older kernel without cached", "MemTotal:  1000 kB\nMemFree:  100 kB\nBuffers:  20 kB\n",
        -1);
    row("too large for bytes", "MemTotal:  99999999999999999999 kB\nMemAvailable:  1 kB\n", -1);
    // Found by fuzzing: a read cut short after the sum gave a figure the whole text did not.
    row("the first complete figures settle it",
        "MemTotal:100 kB\nBuffers:2 kB\nCached:2 kB\nMemFree:8 kB\nMemAvailable:40 kB\n", 100, 12);
}

void TestRules::meminfo() {
    QFETCH(QByteArray, text);
    QFETCH(qint64, totalKb);
    QFETCH(qint64, availKb);
    const auto status = ParseMeminfo(View(text));
    QCOMPARE(status ? status->totalPhys : -1024, totalKb * 1024);
    QCOMPARE(status ? status->availPhys : 0, availKb * 1024);
}

void TestRules::fitOnScreens_data() {
    QTest::addColumn<QRect>("wanted");
    QTest::addColumn<QRect>("placed");
    // Two screens side by side, the right one shorter: a gap below it.
    const auto row = [](const char* name, QRect wanted, QRect placed) {
        QTest::newRow(name) << wanted << placed;
    };
    row("touching both edges: unchanged", {1784, 832, 136, 248}, {1784, 832, 136, 248});
    row("across both screens: unchanged", {1900, 100, 136, 248}, {1900, 100, 136, 248});
    row("partly in the gap: onto the nearer screen", {1900, 900, 136, 248}, {1920, 776, 136, 248});
    row("far off: the nearest corner", {-20000, 10176, 136, 248}, {0, 832, 136, 248});
    row("beyond the right edge", {3190, 10, 136, 248}, {3064, 10, 136, 248});
}

void TestRules::fitOnScreens() {
    QFETCH(QRect, wanted);
    QFETCH(QRect, placed);
    QCOMPARE(FitOnScreens(wanted, {QRect(0, 0, 1920, 1080), QRect(1920, 0, 1280, 1024)}), placed);
}

void TestRules::layerPlacement_data() {
    QTest::addColumn<QRect>("window");
    QTest::addColumn<int>("screen");
    QTest::addColumn<QPoint>("margins");
    // The same two screens: the surface goes on the one that holds its corner.
    const auto row = [](const char* name, QRect window, int screen, QPoint margins) {
        QTest::newRow(name) << window << screen << margins;
    };
    row("on the first screen", {100, 100, 136, 248}, 0, {100, 100});
    row("on the second: margins from its corner", {3000, 700, 136, 248}, 1, {1080, 700});
    row("across both: where its corner is", {1900, 100, 136, 248}, 0, {1900, 100});
    row("corner in the gap below the second: the first", {2000, 1050, 136, 248}, 0, {2000, 1050});
    row("left of every screen: the first", {-50, 10, 136, 248}, 0, {-50, 10});
}

void TestRules::layerPlacement() {
    QFETCH(QRect, window);
    QFETCH(int, screen);
    QFETCH(QPoint, margins);
    const QList<QRect> screens = {QRect(0, 0, 1920, 1080), QRect(1920, 0, 1280, 1024)};
    QCOMPARE(ScreenIndexAt(window.topLeft(), screens), screen);
    QCOMPARE(LayerMargins(window, screens[screen]), margins);
    QCOMPARE(ScreenIndexAt(window.topLeft(), {}), -1);
}

void TestRules::functionKeys_data() {
    QTest::addColumn<quint32>("keysym");
    QTest::addColumn<int>("number");
    QTest::newRow("F1: help") << quint32{XKB_KEY_F1} << 1;
    QTest::newRow("F5") << quint32{XKB_KEY_F5} << 5;
    QTest::newRow("F12: the drives") << quint32{XKB_KEY_F12} << 12;
    QTest::newRow("F13: none of the gauge's") << quint32{XKB_KEY_F13} << 0;
    QTest::newRow("the key below F1: none") << quint32{XKB_KEY_F1 - 1} << 0;
    QTest::newRow("a letter: none") << quint32{XKB_KEY_a} << 0;
    QTest::newRow("Escape: none") << quint32{XKB_KEY_Escape} << 0;
}

void TestRules::functionKeys() {
    QFETCH(quint32, keysym);
    QFETCH(int, number);
    QCOMPARE(FunctionKeyNumber(keysym), number);
}

QTEST_APPLESS_MAIN(TestRules)
#include "tst_rules.moc"
