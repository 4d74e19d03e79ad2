// Reading outside text: stored settings and /proc/meminfo.

#include <QtTest>

#include "platform/meminfo_parser.h"
#include "settings/setting_number.h"

using namespace kelvane;

class TestParsers : public QObject {
    Q_OBJECT
  private slots:
    void settingNumber_data();
    void settingNumber();
    void meminfo_data();
    void meminfo();
};

void TestParsers::settingNumber_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("width");
    QTest::addColumn<QString>("localePoint");
    QTest::addColumn<qint64>("expected");  // -99999 for "cannot be read"
    const qint64 fails = -99999;
    const QString dot = QStringLiteral(".");
    QTest::newRow("plain byte") << "7"
                                << "byte" << dot << 7LL;
    QTest::newRow("fraction rounds half to even down") << "2.5"
                                                       << "byte" << dot << 2LL;
    QTest::newRow("fraction rounds half to even up") << "3.5"
                                                     << "byte" << dot << 4LL;
    QTest::newRow("fraction above a half rounds up") << "2.51"
                                                     << "byte" << dot << 3LL;
    QTest::newRow("long fraction just above a half") << "2.50000000000000000001"
                                                     << "byte" << dot << 3LL;
    QTest::newRow("locale comma fraction") << "9217,5"
                                           << "int32" << QStringLiteral(",") << 9218LL;
    QTest::newRow("text is no number") << "abc"
                                       << "byte" << dot << fails;
    QTest::newRow("300 is beyond a byte") << "300"
                                          << "byte" << dot << fails;
    QTest::newRow("-1 is below a byte") << "-1"
                                        << "byte" << dot << fails;
    QTest::newRow("empty text") << ""
                                << "byte" << dot << fails;
    QTest::newRow("only a sign") << "-"
                                 << "int16" << dot << fails;
    QTest::newRow("40000 is beyond 16 bits") << "40000"
                                             << "int16" << dot << fails;
    QTest::newRow("40000 fits a 32-bit position") << "40000"
                                                  << "int32" << dot << 40000LL;
    QTest::newRow("negative position") << "-1500"
                                       << "int32" << dot << -1500LL;
    QTest::newRow("32-bit limit") << "2147483647"
                                  << "int32" << dot << 2147483647LL;
    QTest::newRow("beyond 32 bits") << "2147483648"
                                    << "int32" << dot << fails;
    QTest::newRow("minus zero is zero") << "-0"
                                        << "byte" << dot << 0LL;
    QTest::newRow("minus a half rounds to zero") << "-0.5"
                                                 << "byte" << dot << 0LL;
    QTest::newRow("surrounding blanks") << " 7 "
                                        << "byte" << dot << 7LL;
    QTest::newRow("hexadecimal is not decimal") << "0x10"
                                                << "byte" << dot << fails;
    QTest::newRow("exponent out of reach") << "1e400"
                                           << "int32" << dot << fails;
    QTest::newRow("non-ASCII digit") << QStringLiteral("\u0663") << "byte" << dot << fails;
    QTest::newRow("thousands separator") << "1,000"
                                         << "int32" << dot << fails;
    QTest::newRow("huge digit string")
        << QString(5000, QLatin1Char('9')) << "int32" << dot << fails;
}

void TestParsers::settingNumber() {
    QFETCH(QString, text);
    QFETCH(QString, width);
    QFETCH(QString, localePoint);
    QFETCH(qint64, expected);
    qint64 min = 0;
    qint64 max = 255;
    if (width == QLatin1String("int16")) {
        min = -32768;
        max = 32767;
    } else if (width == QLatin1String("int32")) {
        min = std::numeric_limits<std::int32_t>::min();
        max = std::numeric_limits<std::int32_t>::max();
    }
    const QByteArray utf8 = text.toUtf8();
    const QByteArray point = localePoint.toUtf8();
    const auto value = ParseSettingNumber(
        std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())), min, max,
        std::string_view(point.constData(), static_cast<std::size_t>(point.size())));
    QCOMPARE(value ? *value : -99999, expected);
}

void TestParsers::meminfo_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<qint64>("total");  // -1 for no reading
    QTest::addColumn<qint64>("avail");
    QTest::newRow("modern kernel")
        << QByteArray(
               "MemTotal:       16318412 kB\nMemFree:         1204480 kB\n"
               "MemAvailable:    9876544 kB\nBuffers:          400000 kB\n"
               "Cached:          6000000 kB\n")
        << 16318412LL * 1024 << 9876544LL * 1024;
    QTest::newRow("old kernel sums free, buffers and cached")
        << QByteArray(
               "MemTotal:  1000 kB\nMemFree:  100 kB\nBuffers:  20 kB\nCached:  30 kB\n"
               "SwapCached:  99 kB\n")
        << 1000LL * 1024 << 150LL * 1024;
    QTest::newRow("old kernel missing cached")
        << QByteArray("MemTotal:  1000 kB\nMemFree:  100 kB\nBuffers:  20 kB\n") << -1LL << 0LL;
    QTest::newRow("truncated inside the available figure")
        << QByteArray("MemTotal:  1000 kB\nMemFree:  100 kB\nMemAvailable:  12") << -1LL << 0LL;
    QTest::newRow("truncated before the unit")
        << QByteArray("MemTotal:  1000 kB\nMemAvailable:  500\n") << -1LL << 0LL;
    QTest::newRow("no total") << QByteArray("MemFree:  100 kB\nMemAvailable:  50 kB\n") << -1LL
                              << 0LL;
    QTest::newRow("empty") << QByteArray() << -1LL << 0LL;
    QTest::newRow("figure too large for bytes")
        << QByteArray("MemTotal:  99999999999999999999 kB\nMemAvailable:  1 kB\n") << -1LL << 0LL;
    // Found by fuzzing: a read cut short after the sum gave a figure the whole text did not.
    QTest::newRow("the first complete figures settle the reading")
        << QByteArray(
               "MemTotal:100 kB\nBuffers:2 kB\nCached:2 kB\nMemFree:8 kB\nMemAvailable:40 kB\n")
        << 100LL * 1024 << 12LL * 1024;
    QTest::newRow("64 GiB machine")
        << QByteArray("MemTotal:       67108864 kB\nMemAvailable:   33554432 kB\n")
        << 64LL * 1024 * 1024 * 1024 << 32LL * 1024 * 1024 * 1024;
}

void TestParsers::meminfo() {
    QFETCH(QByteArray, text);
    QFETCH(qint64, total);
    QFETCH(qint64, avail);
    const auto status =
        ParseMeminfo(std::string_view(text.constData(), static_cast<std::size_t>(text.size())));
    QCOMPARE(status.has_value(), total >= 0);
    if (status) {
        QCOMPARE(status->totalPhys, total);
        QCOMPARE(status->availPhys, avail);
    }
}

QTEST_APPLESS_MAIN(TestParsers)
#include "tst_parsers.moc"
