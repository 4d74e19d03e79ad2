// The settings store on files as they are found on disk: damaged, hand-edited, linked,
// unwritable, or no file at all, which it must neither wait on nor replace.

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <QtTest>

#include "settings/settings_store.h"

using namespace kelvane;

namespace {

struct stat Lstat(const QString& path) {
    struct stat st {};
    ::lstat(QFile::encodeName(path).constData(), &st);
    return st;
}

QByteArray Content(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void Put(const QString& path, const QByteArray& content) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(content), content.size());
}

// Every name under `dir`, so that a temporary file left behind shows.
QStringList Listing(const QString& dir) {
    QStringList names;
    QDirIterator it(dir, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        names << QDir(dir).relativeFilePath(it.next());
    }
    names.sort();
    return names;
}

// Writes beyond `bytes` fail as on a full disk, even for root; the signal that would end the
// process is ignored, so the write itself reports the failure.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &old_);
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{bytes, old_.rlim_max};
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() { ::setrlimit(RLIMIT_FSIZE, &old_); }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

  private:
    rlimit old_{};
};

}  // namespace

class TestSettingsStore : public QObject {
    Q_OBJECT
  private slots:
    void damagedFileGivesWhatCanBeRead_data();
    void damagedFileGivesWhatCanBeRead();
    void writesOnlyThroughToARegularFile_data();
    void writesOnlyThroughToARegularFile();

  private:
    QTemporaryDir root_;
};

void TestSettingsStore::damagedFileGivesWhatCanBeRead_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QStringList>("values");  // "Section/Key=text", or "Section/Key" for none
    QTest::newRow("empty file") << QByteArray() << QStringList{"Forms/Panels"};
    QTest::newRow("garbage bytes between the lines")
        << QByteArray("[StartUp]\nLeft=1\n\xff\xfe\x80\x01 [[garbage\nTop=2\n[Forms]\nPanels=3\n")
        << QStringList{"StartUp/Left=1", "StartUp/Top=2", "Forms/Panels=3"};
    static const char nul[] = "[Forms]\nSection_1=5\0004\nSection_2=\0\nSection_3=6\n";
    QTest::newRow("NUL bytes in values")
        << QByteArray(nul, sizeof nul - 1)
        << QStringList{QString::fromUtf8("Forms/Section_1=5\0004", 19),
                       QString::fromUtf8("Forms/Section_2=\0", 17), "Forms/Section_3=6"};
    QTest::newRow("a 10 MB line") << "[StartUp]\nLeft=" + QByteArray(10 << 20, '9') + "\nTop=7\n" +
                                         QByteArray(10 << 20, 'x') + "\n[Forms]\nPanels=2\n"
                                  << QStringList{"StartUp/Left=" + QString(10 << 20, '9'),
                                                 "StartUp/Top=7", "Forms/Panels=2"};
    QTest::newRow("duplicate keys and sections: the last value counts")
        << QByteArray("[Forms]\nPanels=1\nPanels=2\n[StartUp]\nTop=5\n[Forms]\nPanels=3\n")
        << QStringList{"Forms/Panels=3", "StartUp/Top=5"};
    QTest::newRow("Windows line ends and a byte order mark")
        << QByteArray("\xef\xbb\xbf[StartUp]\r\nLeft=100\r\n[Forms]\r\nPanels=3\r\n")
        << QStringList{"StartUp/Left=100", "Forms/Panels=3"};
    QTest::newRow("the store's own typed forms, quotes and commas give text")
        << QByteArray(
               "[StartUp]\nLeft=@Invalid()\nTop=@ByteArray(300)\n[Forms]\n"
               "Section_1=@Rect(1 2 3 4)\nSection_2=1,5\nSection_3=\"  -1500 \"\n")
        << QStringList{"StartUp/Left=", "StartUp/Top=300",
                       "Forms/Section_1=", "Forms/Section_2=1,5", "Forms/Section_3=  -1500 "};
}

void TestSettingsStore::damagedFileGivesWhatCanBeRead() {
    QFETCH(QByteArray, content);
    QFETCH(QStringList, values);
    const QString path = root_.filePath(QTest::currentDataTag());
    Put(path, content);
    const auto store = MakeSettingsStore(path);
    for (const QString& value : values) {
        const QStringList key = value.section(QLatin1Char('='), 0, 0).split(QLatin1Char('/'));
        const auto text = store->Read(key[0], key[1]);
        QCOMPARE(text.has_value(), value.contains(QLatin1Char('=')));
        QCOMPARE(text.value_or(QString()), value.section(QLatin1Char('='), 1));
    }
}

void TestSettingsStore::writesOnlyThroughToARegularFile_data() {
    QTest::addColumn<QString>("planted");  // at the settings path; "link" leads to "target"
    QTest::addColumn<bool>("written");
    QTest::newRow("no file: the folder and the file are made") << "none" << true;
    QTest::newRow("a file is replaced at once") << "file" << true;
    QTest::newRow("a link to a file is written through and stays a link") << "link to file" << true;
    QTest::newRow("a FIFO is neither waited on nor replaced") << "fifo" << false;
    QTest::newRow("a link to a FIFO is neither waited on nor replaced") << "link to fifo" << false;
    QTest::newRow("a directory is left alone") << "directory" << false;
    QTest::newRow("a file that became a FIFO since the start is left alone")
        << "file, then FIFO" << false;
    QTest::newRow("a FIFO in the place of the lock taken while writing is left alone")
        << "file, FIFO at the lock" << false;
    QTest::newRow("a file in the folder's place") << "folder is a file" << false;
    QTest::newRow("a full disk keeps the old file") << "full disk" << false;
}

void TestSettingsStore::writesOnlyThroughToARegularFile() {
    QFETCH(QString, planted);
    QFETCH(bool, written);
    const QString dir = root_.filePath(QTest::currentDataTag());
    const QString folder = dir + "/Kelvane";
    const QString path = folder + "/Kelvane.conf";
    const QString target = dir + "/target";
    const QByteArray old("[Forms]\nPanels=3\n");
    QVERIFY(QDir().mkpath(planted == "folder is a file" ? dir : folder));
    if (planted == "folder is a file") {
        Put(folder, old);
    } else if (planted == "directory") {
        QVERIFY(QDir().mkpath(path));
    } else if (planted == "fifo" || planted == "link to fifo") {
        QCOMPARE(::mkfifo(QFile::encodeName(planted.startsWith("link") ? target : path), 0600), 0);
    } else if (planted == "file, FIFO at the lock") {
        Put(path, old);
        QCOMPARE(::mkfifo(QFile::encodeName(path + ".lock"), 0600), 0);
    } else if (planted != "none") {
        Put(planted.startsWith("link") ? target : path, old);
    }
    if (planted.startsWith("link")) {
        QVERIFY(QFile::link(target, path));
    }

    const bool readable = QFileInfo(path).isFile();
    const auto store = MakeSettingsStore(path);
    QCOMPARE(store->Read("Forms", "Panels").value_or("none"), QString(readable ? "3" : "none"));
    if (planted == "file, then FIFO") {
        QVERIFY(QFile::remove(path));
        QCOMPARE(::mkfifo(QFile::encodeName(path), 0600), 0);
    }
    const mode_t kinds[] = {Lstat(path).st_mode & S_IFMT, Lstat(target).st_mode & S_IFMT};
    QStringList names = Listing(dir);
    if (written && !names.contains("Kelvane/Kelvane.conf")) {
        names << "Kelvane/Kelvane.conf";
        names.sort();
    }
    store->Write("Forms", "Panels", "5");
    QCOMPARE(store->Read("Forms", "Panels").value_or(""), QString("5"));
    {
        const auto full = planted == "full disk" ? std::make_unique<FileSizeLimit>(0) : nullptr;
        QCOMPARE(store->Commit(), written);
    }
    // A link stays a link, a FIFO a FIFO; a file is made only where there was nothing.
    QCOMPARE(Lstat(path).st_mode & S_IFMT, kinds[0] || !written ? kinds[0] : S_IFREG);
    QCOMPARE(Lstat(target).st_mode & S_IFMT, kinds[1]);
    QCOMPARE(Listing(dir), names);  // no temporary file left behind
    if (written) {
        QCOMPARE(MakeSettingsStore(path)->Read("Forms", "Panels").value_or(""), QString("5"));
        const ino_t file = Lstat(QFileInfo(path).canonicalFilePath()).st_ino;
        store->Write("Forms", "Panels", "5");
        QVERIFY(store->Commit());
        QCOMPARE(Lstat(QFileInfo(path).canonicalFilePath()).st_ino, file);  // nothing new
    } else if (QFileInfo(path).isFile()) {
        QCOMPARE(Content(path), old);
    }
}

QTEST_APPLESS_MAIN(TestSettingsStore)
#include "tst_settings_store.moc"
