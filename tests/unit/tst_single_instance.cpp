// Where the single-instance lock goes, and that only a running gauge's lock keeps a start out,
// whatever else is found in its place.

#include <sys/stat.h>
#include <unistd.h>

#include <QtTest>

#include "platform/platform.h"
#include "platform/single_instance.h"

using namespace kelvane;

namespace {

mode_t Mode(const QString& path) {
    struct stat st {};
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_mode : 0;
}

// Puts `what` at `path`: "file", "garbage", "fifo", a link to `elsewhere`, a directory with the
// given octal mode, or another user's directory.
void Plant(const QString& what, const QString& path, const QString& elsewhere) {
    const QByteArray native = QFile::encodeName(path);
    if (what == "file" || what == "garbage") {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(what == "garbage" ? "\xff\xfe 12345\n[[" : "");
    } else if (what == "fifo") {
        QCOMPARE(::mkfifo(native.constData(), 0600), 0);
    } else if (what == "link") {
        QVERIFY(QFile::link(elsewhere, path));
    } else if (what.startsWith('0')) {
        QVERIFY(QDir().mkpath(path));
        QCOMPARE(::chmod(native.constData(), what.toUInt(nullptr, 8)), 0);
    } else if (what == "other user's") {
        QVERIFY(QDir().mkpath(path));
        QCOMPARE(::chown(native.constData(), 65534, 65534), 0);
    }
}

// One gauge at a time takes the directory's lock, and the lock goes with its holder.
void CheckOneGaugeAtATime(const QString& directory) {
    {
        SingleInstance first(directory);
        SingleInstance second(directory);
        QVERIFY(first.TryAcquire());
        QVERIFY(!second.TryAcquire());
    }
    SingleInstance after(directory);
    QVERIFY(after.TryAcquire());
}

}  // namespace

class TestSingleInstance : public QObject {
    Q_OBJECT
  private slots:
    void lockDirectory_data();
    void lockDirectory();
    void anythingButAHeldLockIsStale_data();
    void anythingButAHeldLockIsStale();
    void noPlaceForALockStillStarts();

  private:
    QTemporaryDir root_;
};

void TestSingleInstance::lockDirectory_data() {
    QTest::addColumn<QString>("runtime");  // what XDG_RUNTIME_DIR names, or "unset"
    QTest::addColumn<QString>("planted");  // found at the temporary folder's name beforehand
    QTest::addColumn<QString>("expected");
    QTest::newRow("no runtime directory: a private one in the temporary folder") << "unset"
                                                                                 << "none"
                                                                                 << "temporary";
    QTest::newRow("runtime directory gone") << "none"
                                            << "none"
                                            << "temporary";
    QTest::newRow("the session's runtime directory") << "0700"
                                                     << "none"
                                                     << "runtime";
    QTest::newRow("a runtime directory others can reach is passed over") << "0755"
                                                                         << "none"
                                                                         << "temporary";
    QTest::newRow("a runtime directory we cannot write is passed over") << "0500"
                                                                        << "none"
                                                                        << "temporary";
    QTest::newRow("a runtime path that is no folder is passed over") << "file"
                                                                     << "none"
                                                                     << "temporary";
    QTest::newRow("an open directory of our own is closed to others") << "unset"
                                                                      << "0777"
                                                                      << "temporary";
    QTest::newRow("a read-only directory of our own is opened to us") << "unset"
                                                                      << "0500"
                                                                      << "temporary";
    QTest::newRow("a planted link is not followed") << "unset"
                                                    << "link"
                                                    << "cache";
    QTest::newRow("a planted file is left alone") << "unset"
                                                  << "file"
                                                  << "cache";
    QTest::newRow("another user's directory is refused") << "unset"
                                                         << "other user's"
                                                         << "cache";
}

void TestSingleInstance::lockDirectory() {
    QFETCH(QString, runtime);
    QFETCH(QString, planted);
    QFETCH(QString, expected);
    if (planted == "other user's" && ::getuid() != 0) {
        QSKIP("only root can make a directory for another user");
    }
    const QString base = root_.filePath(QTest::currentDataTag());
    const QString tmp = base + "/tmp";
    const QString session = base + "/session";
    const QString elsewhere = base + "/elsewhere";
    const QString name = tmp + QStringLiteral("/kelvane-%1").arg(::getuid());
    QVERIFY(QDir().mkpath(tmp));
    Plant("0777", elsewhere, {});
    qputenv("TMPDIR", QFile::encodeName(tmp));
    qputenv("XDG_CACHE_HOME", QFile::encodeName(base + "/cache"));
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(session));
    if (runtime == "unset") {
        qunsetenv("XDG_RUNTIME_DIR");
    }
    Plant(runtime, session, {});
    Plant(planted, name, elsewhere);

    QTest::failOnWarning(QRegularExpression(QStringLiteral(".")));
    const QString directory = RuntimeDirectory();
    QCOMPARE(directory, expected == "runtime"     ? session
                        : expected == "temporary" ? name
                                                  : base + "/cache/kelvane");
    QCOMPARE(Mode(directory), S_IFDIR | 0700);
    QCOMPARE(Mode(elsewhere), S_IFDIR | 0777);  // what a link points to stays as it was
    CheckOneGaugeAtATime(directory);
}

void TestSingleInstance::anythingButAHeldLockIsStale_data() {
    QTest::addColumn<QString>("planted");  // in the lock's place
    QTest::newRow("an empty file") << "file";
    QTest::newRow("garbage") << "garbage";
    QTest::newRow("a directory") << "0700";
    QTest::newRow("a FIFO") << "fifo";
    QTest::newRow("a link, which is not followed") << "link";
}

void TestSingleInstance::anythingButAHeldLockIsStale() {
    QFETCH(QString, planted);
    const QString directory = root_.filePath(QTest::currentDataTag());
    const QString elsewhere = directory + "/elsewhere";
    QVERIFY(QDir().mkpath(directory));
    Plant("file", elsewhere, {});
    Plant(planted, directory + "/kelvane.lock", elsewhere);
    CheckOneGaugeAtATime(directory);
    QCOMPARE(Mode(directory + "/kelvane.lock") & S_IFMT, S_IFREG);
    QCOMPARE(Mode(elsewhere) & S_IFMT, S_IFREG);
}

void TestSingleInstance::noPlaceForALockStillStarts() {
    QFile file(root_.filePath(QStringLiteral("not-a-directory")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    SingleInstance instance(file.fileName());
    QVERIFY(instance.TryAcquire());
}

QTEST_APPLESS_MAIN(TestSingleInstance)
#include "tst_single_instance.moc"
