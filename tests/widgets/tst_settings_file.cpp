// The settings load and save through the real store, on settings files as they are found on
// disk: damaged, hand-edited, unwritable.

#include <signal.h>
#include <sys/resource.h>

#include <QtTest>
#include <memory>

#include "fakes/fake_platform.h"

using namespace kelvane;

namespace {

// Left, Top, Section_1..8 and Panels as loaded, in that order.
QString Loaded(const FrmMain& w) {
    QStringList values = {QString::number(w.StartLeft), QString::number(w.StartTop)};
    for (int p = 0; p < kPanels; ++p) {
        values << QString::number(w.Section[p]);
    }
    values << QString::number(w.PanelsMode);
    return values.join(QLatin1Char(' '));
}

const QString kDefaults = QStringLiteral("6660 3900 3 4 5 0 1 2 6 7 4");

// The main window over fake memory, volumes and screen, with the user's real settings store.
struct RealStoreGauge {
    FakeMemory memory;
    FakeVolumes volumes;
    FakeScreen screen;
    std::unique_ptr<SettingsStore> store = MakeUserSettingsStore();
    FrmMain window{Platform{memory, volumes, screen, *store}};
    RealStoreGauge() { window.Timer1->stop(); }
};

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

class TestSettingsFile : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase();
    void init();
    void badFileNeverStopsTheStart_data();
    void badFileNeverStopsTheStart();
    void failedWriteKeepsOldFileAndCloses_data();
    void failedWriteKeepsOldFileAndCloses();

  private:
    QTemporaryDir config_;
    int case_ = 0;
    QString folder_;
    QString file_;
};

void TestSettingsFile::initTestCase() {
    QVERIFY(config_.isValid());
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config_.path()));
}

// Every case gets a folder of its own: Qt keeps the files of a process's stores in a cache, a
// failed write's values included, and the gauge only ever has one store per process.
void TestSettingsFile::init() {
    const QString home = config_.filePath(QString::number(++case_));
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, home);
    folder_ = home + QStringLiteral("/Kelvane");
    file_ = folder_ + QStringLiteral("/Kelvane.conf");
    QVERIFY(QDir().mkpath(folder_));
}

void TestSettingsFile::badFileNeverStopsTheStart_data() {
    QTest::addColumn<QByteArray>("content");  // "<directory>": a folder in the file's place
    QTest::addColumn<QString>("loaded");      // Left Top Section_1..8 Panels
    QTest::newRow("no file: defaults") << QByteArray("<none>") << kDefaults;
    QTest::newRow("empty file: defaults") << QByteArray() << kDefaults;
    QTest::newRow("a directory where the file should be") << QByteArray("<directory>") << kDefaults;
    QTest::newRow("garbage bytes between the lines")
        << QByteArray(
               "[StartUp]\nLeft=100\n\xff\xfe\x80\x01 [[garbage\nTop=200\n[Forms]\nPanels=3\n")
        << "100 200 3 4 5 0 1 2 6 7 3";
    QTest::newRow("NUL bytes in values") << QByteArray(
                                                "[Forms]\nSection_1=5\0"
                                                "4\nSection_2=\0\nSection_3=6\n",
                                                45)
                                         << "6660 3900 0 0 6 0 1 2 6 7 4";
    QTest::newRow("a 10 MB line") << "[StartUp]\nLeft=" + QByteArray(10 << 20, '9') +
                                         "\nTop=7\n[Forms]\n" + QByteArray(10 << 20, 'x') +
                                         "\nPanels=2\n"
                                  << "0 7 3 4 5 0 1 2 6 7 2";
    QTest::newRow("duplicate keys and sections: the last value counts")
        << QByteArray("[Forms]\nPanels=1\nPanels=2\n[StartUp]\nTop=5\n[Forms]\nPanels=3\n")
        << "6660 5 3 4 5 0 1 2 6 7 3";
    QTest::newRow("text that is no decimal number reads as 0")
        << QByteArray(
               "[StartUp]\nLeft=1e400\nTop=0x10\n[Forms]\nSection_1=\xd9\xa3\n"
               "Section_2=abc\nSection_3=1,000\nSection_4=+\nPanels=4 panels\n")
        << "0 0 0 0 0 0 1 2 6 7 0";
    QTest::newRow("numbers beyond their member read as 0")
        << QByteArray(
               "[StartUp]\nLeft=2147483648\nTop=-2147483649\n[Forms]\nSection_1=256\n"
               "Section_2=-1\nPanels=99999999999999999999999\n")
        << "0 0 0 0 5 0 1 2 6 7 0";
    QTest::newRow("decimal text in every accepted form")
        << QByteArray(
               "[StartUp]\nLeft=-0\nTop=\"  -1500 \"\n[Forms]\nSection_1=\" 7\"\n"
               "Section_2=\t8\t\nSection_3=2.5\nSection_4=3.5\nSection_5=+9\n"
               "Panels=254.50000000001\n")
        << "0 -1500 7 8 2 4 9 2 6 7 255";
    QTest::newRow("Windows line ends and a byte order mark")
        << QByteArray("\xef\xbb\xbf[StartUp]\r\nLeft=100\r\nTop=200\r\n[Forms]\r\nPanels=3\r\n")
        << "100 200 3 4 5 0 1 2 6 7 3";
    QTest::newRow("values in the store's own typed forms")
        << QByteArray(
               "[StartUp]\nLeft=@Invalid()\nTop=@ByteArray(300)\n[Forms]\n"
               "Section_1=@Rect(1 2 3 4)\n")
        << "0 300 0 4 5 0 1 2 6 7 4";
}

void TestSettingsFile::badFileNeverStopsTheStart() {
    QFETCH(QByteArray, content);
    QFETCH(QString, loaded);
    if (content == "<directory>") {
        QVERIFY(QDir().mkpath(file_));
    } else if (content != "<none>") {
        QFile file(file_);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(content), content.size());
    }
    RealStoreGauge g;
    g.window.GetMySettings();
    g.window.Form_Load();
    QCOMPARE(Loaded(g.window), loaded);
    QSignalSpy ended(&g.window, &FrmMain::unloaded);
    g.window.close();
    QCOMPARE(ended.count(), 1);
}

void TestSettingsFile::failedWriteKeepsOldFileAndCloses_data() {
    QTest::addColumn<QString>("fault");
    QTest::addColumn<bool>("saved");
    QTest::newRow("a writable folder takes the new settings") << "none" << true;
    QTest::newRow("a full disk keeps the old file") << "full" << false;
    QTest::newRow("a file in the folder's place") << "folder is a file" << false;
}

void TestSettingsFile::failedWriteKeepsOldFileAndCloses() {
    QFETCH(QString, fault);
    QFETCH(bool, saved);
    const QByteArray old("[Forms]\nPanels=3\nSection_1=12\n");
    const QString target = fault == QLatin1String("folder is a file") ? folder_ : file_;
    if (target == folder_) {
        QVERIFY(QDir(folder_).removeRecursively());
    }
    {
        QFile file(target);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(old);
    }
    RealStoreGauge g;
    g.window.GetMySettings();
    g.window.Form_Load();
    g.window.Section[0] = 20;
    QSignalSpy ended(&g.window, &FrmMain::unloaded);
    {
        std::unique_ptr<FileSizeLimit> full;
        if (fault == QLatin1String("full")) {
            full = std::make_unique<FileSizeLimit>(0);
        }
        g.window.close();
        g.store.reset();  // a last write as the process ends
    }
    QCOMPARE(ended.count(), 1);
    QFile file(target);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray now = file.readAll();
    QCOMPARE(now.contains("Section_1=20"), saved);
    if (!saved) {
        QCOMPARE(now, old);
    }
    if (target == file_) {
        // The write went to a temporary file that is renamed or removed, never left behind.
        QCOMPARE(QDir(folder_).entryList(QDir::Files | QDir::Hidden), QStringList{"Kelvane.conf"});
    }
}

QTEST_MAIN(TestSettingsFile)
#include "tst_settings_file.moc"
