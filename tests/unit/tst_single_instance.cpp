// Where the single-instance lock goes when the session has no runtime directory, and that the
// lock still works there.

#include <sys/stat.h>
#include <unistd.h>

#include <QtTest>

#include "platform/platform.h"
#include "platform/single_instance.h"

using namespace kelvane;

namespace {

struct stat Lstat(const QString& path) {
    struct stat st {};
    ::lstat(QFile::encodeName(path).constData(), &st);
    return st;
}

}  // namespace

class TestSingleInstance : public QObject {
    Q_OBJECT
  private slots:
    void lockDirectory_data();
    void lockDirectory();
    void noPlaceForALockStillStarts();
};

void TestSingleInstance::lockDirectory_data() {
    QTest::addColumn<QString>("runtime");  // XDG_RUNTIME_DIR: unset, missing, own, open
    QTest::addColumn<QString>("planted");  // found at the temporary name beforehand
    QTest::addColumn<QString>("expected");
    QTest::newRow("no runtime directory: a private one in the temporary folder") << "unset"
                                                                                 << "nothing"
                                                                                 << "temporary";
    QTest::newRow("runtime directory gone") << "missing"
                                            << "nothing"
                                            << "temporary";
    QTest::newRow("the session's runtime directory") << "own"
                                                     << "nothing"
                                                     << "runtime";
    QTest::newRow("a runtime directory others can reach is passed over") << "open"
                                                                         << "nothing"
                                                                         << "temporary";
    QTest::newRow("an open directory of our own is closed to others") << "unset"
                                                                      << "open directory"
                                                                      << "temporary";
    QTest::newRow("a planted link is not followed") << "unset"
                                                    << "link"
                                                    << "cache";
    QTest::newRow("a planted file is left alone") << "unset"
                                                  << "file"
                                                  << "cache";
    QTest::newRow("another user's directory is refused") << "unset"
                                                         << "other user's directory"
                                                         << "cache";
}

void TestSingleInstance::lockDirectory() {
    QFETCH(QString, runtime);
    QFETCH(QString, planted);
    QFETCH(QString, expected);
    if (planted == QLatin1String("other user's directory") && ::getuid() != 0) {
        QSKIP("only root can make a directory for another user");
    }
    QTemporaryDir root;
    QVERIFY(root.isValid());
    const QString tmp = root.filePath(QStringLiteral("tmp"));
    const QString cache = root.filePath(QStringLiteral("cache"));
    const QString session = root.filePath(QStringLiteral("session"));
    QVERIFY(QDir().mkpath(tmp));
    qputenv("TMPDIR", QFile::encodeName(tmp));
    qputenv("XDG_CACHE_HOME", QFile::encodeName(cache));
    qunsetenv("XDG_RUNTIME_DIR");
    if (runtime != QLatin1String("unset")) {
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(session));
    }
    if (runtime == QLatin1String("own") || runtime == QLatin1String("open")) {
        QVERIFY(QDir().mkpath(session));
        ::chmod(QFile::encodeName(session).constData(), runtime == "own" ? 0700 : 0755);
    }

    const QString name = tmp + QStringLiteral("/kelvane-%1").arg(::getuid());
    const QString elsewhere = root.filePath(QStringLiteral("elsewhere"));
    QVERIFY(QDir().mkpath(elsewhere));
    ::chmod(QFile::encodeName(elsewhere).constData(), 0777);
    if (planted == QLatin1String("open directory")) {
        QVERIFY(QDir().mkpath(name));
        ::chmod(QFile::encodeName(name).constData(), 0777);
    } else if (planted == QLatin1String("link")) {
        QVERIFY(QFile::link(elsewhere, name));
    } else if (planted == QLatin1String("file")) {
        QFile file(name);
        QVERIFY(file.open(QIODevice::WriteOnly));
    } else if (planted == QLatin1String("other user's directory")) {
        QVERIFY(QDir().mkpath(name));
        QCOMPARE(::chown(QFile::encodeName(name).constData(), 65534, 65534), 0);
    }

    QTest::failOnWarning(QRegularExpression(QStringLiteral(".")));
    const QString directory = RuntimeDirectory();
    const QString wanted = expected == QLatin1String("runtime")     ? session
                           : expected == QLatin1String("temporary") ? name
                                                                    : cache + "/kelvane";
    QCOMPARE(directory, wanted);
    const struct stat st = Lstat(directory);
    QVERIFY(S_ISDIR(st.st_mode));
    QCOMPARE(st.st_uid, ::getuid());
    QCOMPARE(st.st_mode & 0077, 0u);
    QCOMPARE(Lstat(elsewhere).st_mode & 0777, 0777u);  // what a link points to stays as it was

    SingleInstance first(directory);
    SingleInstance second(directory);
    QVERIFY(first.TryAcquire());
    QVERIFY(!second.TryAcquire());
}

void TestSingleInstance::noPlaceForALockStillStarts() {
    QTemporaryDir root;
    QFile file(root.filePath(QStringLiteral("not-a-directory")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    SingleInstance instance(file.fileName());
    QVERIFY(instance.TryAcquire());
}

QTEST_APPLESS_MAIN(TestSingleInstance)
#include "tst_single_instance.moc"
