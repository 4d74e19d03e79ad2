// The rules behind what a panel shows: LED lit counts, free percentage, captions, drive use.

#include <QtTest>

#include "core/reading_rules.h"
#include "display/led_rules.h"

using namespace kelvane;

namespace {

constexpr qint64 kGiB = 1024LL * 1024 * 1024;

}  // namespace

class TestReadingRules : public QObject {
    Q_OBJECT
  private slots:
    void litCount_data();
    void litCount();
    void freePercent_data();
    void freePercent();
    void caption_data();
    void caption();
    void inputsCoverTheReading_data();
    void inputsCoverTheReading();
    void usedPercent_data();
    void usedPercent();
    void segmentColour_data();
    void segmentColour();
};

void TestReadingRules::litCount_data() {
    QTest::addColumn<int>("level");
    QTest::addColumn<int>("lit");
    QTest::newRow("zero lights nothing") << 0 << 0;
    QTest::newRow("one lights the first") << 1 << 1;
    QTest::newRow("four still one") << 4 << 1;
    QTest::newRow("five lights two") << 5 << 2;
    QTest::newRow("44 lights eleven") << 44 << 11;
    QTest::newRow("45 jumps to thirteen") << 45 << 13;
    QTest::newRow("48 stays thirteen") << 48 << 13;
    QTest::newRow("49 lights fourteen") << 49 << 14;
    QTest::newRow("50 ends on the yellow middle") << 50 << 14;
    QTest::newRow("96 lights 25") << 96 << 25;
    QTest::newRow("97 fills the bar") << 97 << 27;
    QTest::newRow("100 fills the bar") << 100 << 27;
    QTest::newRow("101 leaves the bar alone") << 101 << -1;
    QTest::newRow("-1 leaves the bar alone") << -1 << -1;
    QTest::newRow("32767 leaves the bar alone") << 32767 << -1;
}

void TestReadingRules::litCount() {
    QFETCH(int, level);
    QFETCH(int, lit);
    QCOMPARE(LitCount(level), lit);
}

void TestReadingRules::freePercent_data() {
    QTest::addColumn<qint64>("total");
    QTest::addColumn<qint64>("avail");
    QTest::addColumn<int>("percent");
    QTest::addColumn<bool>("usable");
    QTest::newRow("30.64 truncates to 30") << 133'693'440LL << 40'960'000LL << 30 << true;
    QTest::newRow("64 GiB machine, a quarter free") << 64 * kGiB << 16 * kGiB << 25 << true;
    QTest::newRow("beyond 4 GiB no longer divides by zero") << 4 * kGiB << 2 * kGiB << 50 << true;
    QTest::newRow("all free") << 8 * kGiB << 8 * kGiB << 100 << true;
    QTest::newRow("nothing free") << 8 * kGiB << 0LL << 0 << true;
    QTest::newRow("no total is unusable") << 0LL << 0LL << 0 << false;
    QTest::newRow("under a kilobyte is unusable") << 1023LL << 0LL << 0 << false;
    QTest::newRow("more free than total is unusable") << kGiB << 2 * kGiB << 0 << false;
}

void TestReadingRules::freePercent() {
    QFETCH(qint64, total);
    QFETCH(qint64, avail);
    QFETCH(int, percent);
    QFETCH(bool, usable);
    const MemoryStatus mem{total, avail};
    QCOMPARE(IsUsableSnapshot(mem), usable);
    if (usable) {
        QCOMPARE(FreePercentOf(mem), percent);
    }
}

void TestReadingRules::caption_data() {
    QTest::addColumn<int>("code");
    QTest::addColumn<qint64>("total");
    QTest::addColumn<qint64>("avail");
    QTest::addColumn<QString>("decimalPoint");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("action");
    QTest::addColumn<int>("level");

    const qint64 t = 133'693'440;
    const qint64 a = 40'960'000;
    const QString dot = QStringLiteral(".");
    QTest::newRow("used percent is the complement of truncated free")
        << 0 << t << a << dot << "70%" << 1 << 70;
    QTest::newRow("used KB whole") << 1 << t << a << dot << "90560 KB" << 1 << 70;
    QTest::newRow("used MB rounds 88.4375") << 2 << t << a << dot << "88 MB" << 1 << 70;
    QTest::newRow("free percent") << 3 << t << a << dot << "30%" << 1 << 30;
    QTest::newRow("free KB whole") << 4 << t << a << dot << "40000 KB" << 1 << 30;
    QTest::newRow("free MB rounds 39.0625") << 5 << t << a << dot << "39 MB" << 1 << 30;
    QTest::newRow("total MB 127.5 goes to even 128") << 6 << t << a << dot << "128 MB" << 2 << 0;
    QTest::newRow("free MB 46.5 goes to even 46")
        << 5 << t << 48'758'784LL << dot << "46 MB" << 1 << 36;
    QTest::newRow("free KB keeps its fraction")
        << 4 << t << 50'000'000LL << dot << "48828.125 KB" << 1 << 37;
    QTest::newRow("fraction takes the locale separator")
        << 4 << t << 50'000'000LL << QStringLiteral(",") << "48828,125 KB" << 1 << 37;
    QTest::newRow("free MB of 50,000,000 bytes")
        << 5 << t << 50'000'000LL << dot << "48 MB" << 1 << 37;
    QTest::newRow("64 GiB total in KB readable in full")
        << 1 << 64 * kGiB << 0LL << dot << "67108864 KB" << 1 << 100;
    QTest::newRow("64 GiB total in MB") << 6 << 64 * kGiB << 0LL << dot << "65536 MB" << 2 << 0;
    QTest::newRow("64 GiB used MB") << 2 << 64 * kGiB << 16 * kGiB << dot << "49152 MB" << 1 << 75;
    QTest::newRow("64 GiB free percent") << 3 << 64 * kGiB << 16 * kGiB << dot << "25%" << 1 << 25;
}

void TestReadingRules::caption() {
    QFETCH(int, code);
    QFETCH(qint64, total);
    QFETCH(qint64, avail);
    QFETCH(QString, decimalPoint);
    QFETCH(QString, caption);
    QFETCH(int, action);
    QFETCH(int, level);

    const std::int16_t drives[kDriveLetters] = {};
    const QByteArray point = decimalPoint.toUtf8();
    TickReadings in;
    in.mem = {total, avail};
    in.freePercent = FreePercentOf(in.mem);
    in.driveUsedPercent = drives;
    in.decimalPoint = std::string_view(point.constData(), static_cast<std::size_t>(point.size()));
    CaptionText text;
    LedCommand led;
    QVERIFY(PanelReading(code, in, text, led));
    QCOMPARE(QString::fromUtf8(text.View().data(), static_cast<qsizetype>(text.View().size())),
             caption);
    QCOMPARE(static_cast<int>(led.action), action);
    if (led.action == LedCommand::kLevel) {
        QCOMPARE(led.level, level);
    }
}

void TestReadingRules::inputsCoverTheReading_data() {
    QTest::addColumn<int>("code");
    QTest::newRow("used percent") << 0;
    QTest::newRow("used KB") << 1;
    QTest::newRow("used MB") << 2;
    QTest::newRow("free percent") << 3;
    QTest::newRow("free KB") << 4;
    QTest::newRow("free MB") << 5;
    QTest::newRow("total MB") << 6;
    QTest::newRow("drive C:") << 7;
    QTest::newRow("drive Z:") << 30;
}

// A panel whose inputs have not changed is skipped on the tick, so any change that would
// show on the panel must change its inputs too.
void TestReadingRules::inputsCoverTheReading() {
    QFETCH(int, code);
    std::int16_t drives[kDriveLetters] = {};
    TickReadings before;
    before.mem = {8 * kGiB, 3 * kGiB};
    before.freePercent = FreePercentOf(before.mem);
    before.driveUsedPercent = drives;
    CaptionText beforeText;
    LedCommand beforeLed;
    QVERIFY(PanelReading(code, before, beforeText, beforeLed));
    const PanelInputs beforeInputs = PanelInputsOf(code, before);

    int shownChanges = 0;
    for (int change = 0; change < 4 + kDriveLetters; ++change) {
        std::int16_t changedDrives[kDriveLetters] = {};
        TickReadings after = before;
        after.driveUsedPercent = changedDrives;
        // Each field on its own, so that none can hide behind another.
        if (change == 0) {
            after.mem.availPhys += 1024;
        } else if (change == 1) {
            after.mem.availPhys += kGiB;
        } else if (change == 2) {
            after.mem.totalPhys += kGiB;
        } else if (change == 3) {
            after.freePercent = static_cast<std::int16_t>(after.freePercent + 1);
        } else {
            changedDrives[change - 4] = 1;
        }
        CaptionText text;
        LedCommand led;
        QVERIFY(PanelReading(code, after, text, led));
        const bool shown = text.View() != beforeText.View() || led.action != beforeLed.action ||
                           led.level != beforeLed.level;
        if (shown) {
            ++shownChanges;
            QVERIFY2(
                PanelInputsOf(code, after) != beforeInputs,
                qPrintable(QStringLiteral("change %1 shows but leaves the inputs").arg(change)));
        }
    }
    QVERIFY(shownChanges > 0);
}

void TestReadingRules::usedPercent_data() {
    QTest::addColumn<qint64>("freeBytes");
    QTest::addColumn<qint64>("totalBytes");
    QTest::addColumn<int>("used");
    QTest::newRow("75.3086 rounds to 75") << 505'679'872LL << 2'048'000'000LL << 75;
    QTest::newRow("87.5 goes to even 88") << 50'000LL * 4096 << 400'000LL * 4096 << 88;
    QTest::newRow("62.5 goes to even 62") << 150'000LL * 4096 << 400'000LL * 4096 << 62;
    QTest::newRow("4 TB volume, a quarter free")
        << 1'000'000'000'000LL << 4'000'000'000'000LL << 75;
    QTest::newRow("16 TiB volume, nearly full") << 1LL << 16 * 1024 * kGiB << 100;
    QTest::newRow("empty volume") << 2'000'000'000LL << 2'000'000'000LL << 0;
    QTest::newRow("a volume of no size has no figure") << 0LL << 0LL << -1;
    QTest::newRow("more free than total has no figure") << 5LL << 4LL << -1;
}

void TestReadingRules::usedPercent() {
    QFETCH(qint64, freeBytes);
    QFETCH(qint64, totalBytes);
    QFETCH(int, used);
    const auto result = UsedPercentOf({freeBytes, totalBytes});
    QCOMPARE(result ? *result : -1, used);
}

void TestReadingRules::segmentColour_data() {
    QTest::addColumn<bool>("redToGreen");
    QTest::addColumn<int>("segment");
    QTest::addColumn<int>("red");
    QTest::addColumn<int>("green");
    QTest::newRow("green-to-red starts pure green") << false << 1 << 0 << 255;
    QTest::newRow("green-to-red 13 is red 240") << false << 13 << 240 << 255;
    QTest::newRow("green-to-red middle is yellow") << false << 14 << 255 << 255;
    QTest::newRow("green-to-red 15 is green 240") << false << 15 << 255 << 240;
    QTest::newRow("green-to-red 26") << false << 26 << 255 << 20;
    QTest::newRow("green-to-red ends pure red") << false << 27 << 255 << 0;
    QTest::newRow("red-to-green starts pure red") << true << 1 << 255 << 0;
    QTest::newRow("red-to-green 2") << true << 2 << 255 << 20;
    QTest::newRow("red-to-green middle is yellow") << true << 14 << 255 << 255;
    QTest::newRow("red-to-green ends pure green") << true << 27 << 0 << 255;
}

void TestReadingRules::segmentColour() {
    QFETCH(bool, redToGreen);
    QFETCH(int, segment);
    QFETCH(int, red);
    QFETCH(int, green);
    const Rgb colour =
        SegmentColour(redToGreen ? ColourScheme::RedToGreen : ColourScheme::GreenToRed, segment);
    QCOMPARE(colour, (Rgb{red, green, 0}));
    QCOMPARE(ColourValue(colour), red + 256 * green);
}

QTEST_APPLESS_MAIN(TestReadingRules)
#include "tst_reading_rules.moc"
