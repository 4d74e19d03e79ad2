// What the command line makes the gauge print before it starts.

#include <QtTest>

#include "core/command_line.h"

using namespace kelvane;

class TestCommandLine : public QObject {
    Q_OBJECT
  private slots:
    void reply_data();
    void reply();
};

void TestCommandLine::reply_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("reply");  // "help", "version" or "" for none
    QTest::newRow("no arguments start the gauge") << QStringList{} << "";
    QTest::newRow("unknown options are ignored") << QStringList{"--bogus", "-x", "file"} << "";
    QTest::newRow("Qt's own options are ignored") << QStringList{"-platform", "nowhere"} << "";
    QTest::newRow("look-alikes are no options")
        << QStringList{"-h", "--HELP", "--help=1", "-version", "--versions"} << "";
    QTest::newRow("--help prints the usage") << QStringList{"--help"} << "help";
    QTest::newRow("--version prints the version") << QStringList{"--version"} << "version";
    QTest::newRow("an option after ignored words still counts")
        << QStringList{"stray", "--version"} << "version";
    QTest::newRow("the first of the two wins") << QStringList{"--help", "--version"} << "help";
}

void TestCommandLine::reply() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, reply);
    std::vector<QByteArray> storage = {"kelvane"};
    for (const QString& argument : arguments) {
        storage.push_back(argument.toUtf8());
    }
    std::vector<const char*> argv;
    for (const QByteArray& argument : storage) {
        argv.push_back(argument.constData());
    }
    const auto printed = CommandLineReply(static_cast<int>(argv.size()), argv.data());

    if (reply.isEmpty()) {
        QVERIFY(!printed);
    } else if (reply == "version") {
        QVERIFY(printed);
        QCOMPARE(QString::fromStdString(*printed), QStringLiteral("kelvane " KELVANE_VERSION "\n"));
    } else {
        QVERIFY(printed);
        const QString usage = QString::fromStdString(*printed);
        QVERIFY(usage.startsWith(QStringLiteral("Usage: kelvane")));
        for (int key = 1; key <= 12; ++key) {
            QVERIFY2(usage.contains(QStringLiteral("\n  F%1 ").arg(key)), qPrintable(usage));
        }
        QVERIFY(usage.contains(QStringLiteral("Kelvane/Kelvane.conf")));
    }
}

QTEST_APPLESS_MAIN(TestCommandLine)
#include "tst_command_line.moc"
