// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

// The gauge's own files as they are found on disk: the settings file damaged, linked,
// unwritable or no file at all, which the store must neither wait on nor replace; the
// single-instance lock with anything in its place; and the folder the lock goes in. Each row
// sets its files up with a shell command, as a user or another program would.

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QtTest>
#include <cstdlib>

#include "platform/platform.h"
#include "platform/single_instance.h"

using namespace kelvane;

namespace {

struct stat Lstat(const QString& path) {
    struct stat st {};
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 ? st : decltype(st){};
}

// The names in `dir` marked as `ls -F` does, so that a link, FIFO or directory that was
// replaced, or a temporary file left behind, shows.
QStringList Listing(const QString& dir) {
    QStringList names =
        QDir(dir).entryList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot);
    for (QString& name : names) {
        const QFileInfo info(dir + "/" + name);
        name += info.isSymLink() ? "@" : info.isDir() ? "/" : info.isFile() ? "" : "|";
    }
    return names;
}

QByteArray Content(const QString& path) {
    QFile file(path);
    return QFileInfo(path).isFile() && file.open(QIODevice::ReadOnly) ? file.readAll() : "";
}

// Runs `script` in `dir`, where $c names the settings file and $t the lock's temporary folder.
void Sh(const QString& dir, const QString& script) {
    qputenv("ROWDIR", QFile::encodeName(dir));
    const QString names =
        "cd \"$ROWDIR\" || exit 1; c=Kelvane/Kelvane.conf t=tmp/kelvane-$(id -u); ";
    QCOMPARE(script.isEmpty() ? 0 : std::system(QFile::encodeName(names + script).constData()), 0);
}

// What `body` writes to stderr, by lines.
QStringList StderrOf(const std::function<void()>& body) {
    QTemporaryFile file;
    const int saved = file.open() ? ::dup(2) : -1;
    ::dup2(file.handle(), 2);
    body();
    ::dup2(saved, 2);
    ::close(saved);
    file.seek(0);
    return QString::fromLocal8Bit(file.readAll()).split('\n', Qt::SkipEmptyParts);
}

}  // namespace

class TestPlatformFiles : public QObject {
    Q_OBJECT
  private slots:
    void damagedSettingsGiveWhatCanBeRead_data();
    void damagedSettingsGiveWhatCanBeRead();
    void settingsGoOnlyToARegularFile_data();
    void settingsGoOnlyToARegularFile();
    void failedSavesAreSaidOnce_data();
    void failedSavesAreSaidOnce();
    void settingsPath_data();
    void settingsPath();
    void lockDirectory_data();
    void lockDirectory();

  private:
    QTemporaryDir root_;
};

void TestPlatformFiles::damagedSettingsGiveWhatCanBeRead_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QStringList>("texts");  // of [Forms] A, B, ..., "none" where there is none
    static const char bytes[] = "[Forms]\nA=5\0004\nB=\0\n\xff\xfe\x80 [[garbage\nD=3\n";
    QTest::newRow("garbage and NUL bytes")
        << QByteArray(bytes, sizeof bytes - 1)
        << QStringList{QString::fromUtf8("5\0004", 3), QString(QChar(0)), "none", "3"};
    QTest::newRow("another program's forms give text")
        << QByteArray("\xef\xbb\xbf[Forms]\r\nA=@Invalid()\r\n B = 3 \nC=1,5\nD=\" 6 \"\n")
        << QStringList{"@Invalid()", "3", "1,5", " 6 "};
}

void TestPlatformFiles::damagedSettingsGiveWhatCanBeRead() {
    QFETCH(QByteArray, content);
    QFETCH(QStringList, texts);
    QFile file(root_.filePath(QTest::currentDataTag()));
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
    file.close();
    const auto store = MakeSettingsStore(QFile::encodeName(file.fileName()).toStdString());
    for (int i = 0; i < texts.size(); ++i) {
        const std::string key(1, static_cast<char>('A' + i));
        QCOMPARE(QString::fromStdString(store->Read("Forms", key).value_or("none")), texts[i]);
    }
    store->Write("Forms", "E", "7");  // what can be read is written back
    store->Commit();
    QVERIFY(store->Flush());
    const auto again = MakeSettingsStore(QFile::encodeName(file.fileName()).toStdString());
    for (int i = 0; i <= texts.size(); ++i) {
        const std::string key(1, static_cast<char>('A' + i));
        QCOMPARE(again->Read("Forms", key), store->Read("Forms", key));
    }
}

void TestPlatformFiles::settingsGoOnlyToARegularFile_data() {
    QTest::addColumn<QString>("setup");  // run beside the settings folder; "later:" once saved
    QTest::addColumn<bool>("written");
    QTest::newRow("no folder: the folder and the file are made") << "rm -r Kelvane" << true;
    QTest::newRow("a file is replaced") << ":" << true;
    QTest::newRow("a link to a file is written through and stays a link")
        << "mv $c Kelvane/t && ln -s t $c" << true;
    QTest::newRow("a FIFO is neither waited on nor replaced") << "rm $c && mkfifo $c" << false;
    QTest::newRow("nor a link to a FIFO") << "rm $c && mkfifo Kelvane/f && ln -s f $c" << false;
    QTest::newRow("a directory is left alone") << "rm $c && mkdir $c" << false;
    QTest::newRow("a file that became a FIFO since") << "later: rm $c && mkfifo $c" << false;
    QTest::newRow("a file in the folder's place") << "rm -r Kelvane && touch Kelvane" << false;
    QTest::newRow("a full disk keeps the old file") << "full disk" << false;
    QTest::newRow("a file deleted meanwhile gets every value again") << "later: rm $c" << true;
    QTest::newRow("what a save cut short left behind is cleared")
        << "later: touch $c.Ab3xZ9 $c.000000 && mkdir $c.abcdef && touch $c.damaged" << true;
    QTest::newRow("a file far too large is kept aside, not read")
        << "head -c 80000 /dev/zero | tr '\\0' '[' >$c && printf '\\n[Forms]\\nPanels=3\\n' >>$c"
        << true;
}

// Each row saves twice: a position, then a panel count.
void TestPlatformFiles::settingsGoOnlyToARegularFile() {
    QFETCH(QString, setup);
    QFETCH(bool, written);
    const QString dir = root_.filePath(QTest::currentDataTag());
    const QString folder = dir + "/Kelvane", path = folder + "/Kelvane.conf";
    const QByteArray old("[Forms]\nPanels=3\n");
    QVERIFY(QDir().mkpath(folder));
    Sh(dir, "printf '[Forms]\\nPanels=3\\n' >$c && { :; " +
                setup.section("later: ", 0, 0).remove("full disk") + "\n}");
    const mode_t umask = ::umask(0);  // files the gauge makes are private all the same
    const auto store = MakeSettingsStore(QFile::encodeName(path).toStdString());
    QCOMPARE(QString::fromStdString(store->Read("Forms", "Panels").value_or("")),
             Content(path) == old ? "3" : "");
    store->Write("StartUp", "Left", "15");
    store->Commit();
    store->Flush();
    Sh(dir, setup.section("later: ", 1));
    const QStringList before = Listing(folder);
    const QByteArray was = Content(path);
    store->Write("Forms", "Panels", "5");
    rlimit normal{};
    ::getrlimit(RLIMIT_FSIZE, &normal);
    const rlimit full{0, normal.rlim_max};
    ::signal(SIGXFSZ, SIG_IGN);  // writes then fail as on a full disk, even for root
    ::setrlimit(RLIMIT_FSIZE, setup == "full disk" ? &full : &normal);
    store->Commit();
    const bool saved = store->Flush();
    ::setrlimit(RLIMIT_FSIZE, &normal);
    ::umask(umask);
    QCOMPARE(saved, written);
    // A save's own leftovers go; a folder or anything else of that name stays.
    QStringList expected = written && before.isEmpty() ? QStringList{"Kelvane.conf"} : before;
    if (written) {
        expected.removeIf([](const QString& name) {
            return QRegularExpression("^Kelvane\\.conf\\.[A-Za-z0-9]{6}$").match(name).hasMatch();
        });
    }
    QCOMPARE(Listing(folder), expected);
    if (setup == "rm -r Kelvane") {
        QCOMPARE(Lstat(folder).st_mode & 0777, 0700u);  // a folder it makes is the user's alone
        QCOMPARE(Lstat(path).st_mode & 0777, 0600u);    // and so is the file
    }
    QVERIFY(written ? Content(path).contains("Panels=5") && Content(path).contains("Left=15") &&
                          Content(path).size() < 100
                    : Content(path) == was || !QFileInfo(path).isFile());
}

void TestPlatformFiles::failedSavesAreSaidOnce_data() {
    // Run beside the settings folder Kelvane, where "victim" is a settings file of the user's
    // and $c is a copy of it unless the row makes it otherwise.
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QString>("fault");
    QTest::addColumn<bool>("saved");
    const auto row = [](const char* name, const char* setup, const char* fault, bool saved) {
        QTest::newRow(name) << QString(setup) << QString(fault) << saved;
    };
    row("a disk that fails to sync", "", "fdatasync", false);
    row("a rename across file systems", "", "rename", false);
    row("no folder can be made there", "rm -r Kelvane && touch Kelvane", "", false);
    row("no thread to be had: saved in place", "", "thread", true);
    row("the user's own link in a private folder is followed",
        "chmod 0700 Kelvane && ln -sf ../victim $c", "", true);
    row("a link in a folder others can write to is refused",
        "chmod 0777 Kelvane && ln -sf ../victim $c", "", false);
    row("so is one in a folder the group can write to", "chmod 0770 Kelvane && ln -sf ../victim $c",
        "", false);
    row("and one on the way", "chmod 0777 Kelvane && ln -s ../victim Kelvane/l && ln -sf l $c", "",
        false);
    row("a settings folder that is a link in a shared folder",
        "chmod 0777 . && mv Kelvane real && ln -s real Kelvane && ln -sf ../victim $c", "", false);
    row("a far too large file behind such a link is not moved aside",
        "chmod 0777 Kelvane && head -c 80000 /dev/zero >>victim && ln -sf ../victim $c", "", false);
    if (::getuid() == 0) {  // only root can make a link for another user
        row("another user's link in a private folder is refused",
            "ln -sf ../victim $c && chown -h 65534 $c", "", false);
    }
}

// Two saves fail alike: the first says so, with where, in one line; the old file stays, and
// what another user's link leads to is neither written nor moved.
void TestPlatformFiles::failedSavesAreSaidOnce() {
    QFETCH(QString, setup);
    QFETCH(QString, fault);
    QFETCH(bool, saved);
    const QString dir = root_.filePath(QTest::currentDataTag());
    const QString path = dir + "/Kelvane/Kelvane.conf";
    QVERIFY(QDir().mkpath(dir + "/Kelvane"));
    Sh(dir, "printf '[Forms]\\nPanels=3\\n' >victim && cp victim $c && " +
                (setup.isEmpty() ? ":" : setup));
    const QByteArray old = Content(path);
    // Calls that fail as a dying disk, another file system or a reached task limit make them.
    DiskCalls disk;
    disk.fdatasync = fault == "fdatasync" ? [](int) { return errno = EIO, -1; } : disk.fdatasync;
    disk.rename = fault == "rename" ? [](const char*, const char*) { return errno = EXDEV, -1; }
                                    : disk.rename;
    disk.startThread = fault == "thread" ? [](pthread_t*, const pthread_attr_t*, void* (*)(void*),
                                              void*) { return EAGAIN; }
                                         : disk.startThread;
    const QStringList said = StderrOf([&] {
        const auto store = MakeSettingsStore(QFile::encodeName(path).toStdString(), disk);
        for (const char* panels : {"5", "6"}) {
            store->Write("Forms", "Panels", panels);
            store->Commit();
            QCOMPARE(store->Flush(), saved);
        }
    });
    QCOMPARE(said.size(), saved ? 0 : 1);
    QVERIFY(saved || said[0].contains(path));
    QVERIFY(saved ? Content(path).contains("Panels=6") : Content(path) == old);
    QVERIFY(!QFileInfo::exists(dir + "/victim.damaged"));
    QVERIFY(Listing(dir + "/Kelvane").filter(".conf.").isEmpty());  // no new file left behind
}

void TestPlatformFiles::settingsPath_data() {
    QTest::addColumn<QByteArray>("config");  // XDG_CONFIG_HOME, relative to the row's folder
    QTest::addColumn<QByteArray>("folder");  // where the file goes
    QTest::newRow("a relative folder is ignored")
        << QByteArray("cfg") << QByteArray("home/.config");
    QTest::newRow("so is a tilde") << QByteArray("~/.config") << QByteArray("home/.config");
    QTest::newRow("bytes that are no UTF-8 are kept")
        << QByteArray("/caf\xe9") << QByteArray("caf\xe9");
}

void TestPlatformFiles::settingsPath() {
    QFETCH(QByteArray, config);
    QFETCH(QByteArray, folder);
    const QByteArray base = QFile::encodeName(root_.filePath(QTest::currentDataTag()));
    QVERIFY(QDir().mkpath(QFile::decodeName(base + "/home")));
    QVERIFY(QDir::setCurrent(QFile::decodeName(base + "/home")));
    qputenv("HOME", base + "/home");
    qputenv("XDG_CONFIG_HOME", config.startsWith('/') ? base + config : config);
    const std::string path = UserSettingsPath();
    QCOMPARE(QByteArray::fromStdString(path), base + "/" + folder + "/Kelvane/Kelvane.conf");
    const auto store = MakeSettingsStore(path);
    store->Write("Forms", "Panels", "5");
    store->Commit();
    QVERIFY(store->Flush());
    struct stat st {};
    QCOMPARE(::stat(path.c_str(), &st), 0);
    Sh(QFile::decodeName(base), "rm -rf ../*/caf*");  // a name QTemporaryDir cannot spell
}

// Where the lock goes, and that anything but a held lock in its place is stale.
void TestPlatformFiles::lockDirectory_data() {
    // Run in a folder for the session's runtime folder "session", the temporary folder "tmp"
    // and the cache "cache"; after "=>", where the lock then goes.
    QTest::addColumn<QString>("setup");
    QTest::newRow("no runtime folder: a private one in the temporary folder") << "=> $t";
    QTest::newRow("the session's runtime folder") << "mkdir -m 0700 session => session";
    QTest::newRow("one others can reach is passed over") << "mkdir -m 0755 session => $t";
    QTest::newRow("one we cannot write to is passed over") << "mkdir -m 0500 session => $t";
    QTest::newRow("one that is no folder is passed over") << "touch session => $t";
    QTest::newRow("a temporary one others can reach is closed") << "mkdir -m 0777 $t => $t";
    QTest::newRow("a temporary one we cannot write to is opened") << "mkdir -m 0500 $t => $t";
    QTest::newRow("a planted link is not followed") << "ln -s ../elsewhere $t => cache/kelvane";
    if (::getuid() == 0) {  // only root can make a folder for another user
        QTest::newRow("another user's folder is refused")
            << "mkdir $t && chown 65534 $t => cache/kelvane";
    }
    const QString session = "mkdir -m 0700 session && cd session && ";
    QTest::newRow("a stale lock: a file left behind") << session + "touch kelvane.lock => session";
    QTest::newRow("a directory") << session + "mkdir -p kelvane.lock/inside => session";
    QTest::newRow("a FIFO") << session + "mkfifo kelvane.lock => session";
    QTest::newRow("a link, not followed") << session + "touch f && ln -s f kelvane.lock => session";
}

void TestPlatformFiles::lockDirectory() {
    QFETCH(QString, setup);
    const QString base = root_.filePath(QTest::currentDataTag());
    QVERIFY(QDir().mkpath(base + "/tmp") && QDir().mkpath(base + "/elsewhere"));
    Sh(base, "chmod 0777 elsewhere; " + setup.section("=>", 0, 0));
    qputenv("TMPDIR", QFile::encodeName(base + "/tmp"));
    qputenv("XDG_CACHE_HOME", QFile::encodeName(base + "/cache"));
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(base + "/session"));

    QTest::failOnWarning(QRegularExpression(QStringLiteral(".")));
    const QString directory = RuntimeDirectory();
    const QString temporary = "tmp/kelvane-" + QString::number(::getuid());
    QCOMPARE(directory, base + "/" + setup.section("=> ", 1).replace("$t", temporary));
    QCOMPARE(Lstat(directory).st_mode, mode_t(S_IFDIR | 0700));
    QCOMPARE(Lstat(base + "/elsewhere").st_mode, mode_t(S_IFDIR | 0777));  // a link's target
    // One gauge at a time takes the lock, whatever runtime folder a later start is told of,
    // and the lock goes with its holder.
    const QByteArray key = QFile::encodeName(directory);
    auto first = std::make_unique<SingleInstance>(directory, key);
    QVERIFY(first->TryAcquire());
    QVERIFY(!SingleInstance(directory, key).TryAcquire());
    QVERIFY(!SingleInstance(directory + "/elsewhere", key).TryAcquire());
    first.reset();
    QVERIFY(SingleInstance(directory, key).TryAcquire());
    QVERIFY(S_ISREG(Lstat(directory + "/kelvane.lock").st_mode));  // a regular file now
    QVERIFY(
        SingleInstance(base + "/gone", "gone").TryAcquire());  // no folder: the gauge still starts
}

QTEST_GUILESS_MAIN(TestPlatformFiles)
#include "tst_platform_files.moc"
