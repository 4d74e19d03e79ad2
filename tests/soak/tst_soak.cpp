// Days of ticks: the real tick over a platform whose figures change on every tick and that
// fails now and then, checked for heap growth and for drift between the figures and what is
// shown. KELVANE_SOAK_TICKS sets the length (20 000 by default; tests/soak/run.sh runs a
// million). The heap is measured with glibc's per-thread cache off
// (GLIBC_TUNABLES=glibc.malloc.tcache_count=0), whose parked blocks would look like a leak.

#include <malloc.h>

#include <QtTest>
#include <cmath>

#include "fakes/fake_platform.h"
#include "platform/meminfo_parser.h"

using namespace kelvane;

namespace {

constexpr std::int64_t kTotalKb = 1 << 20;  // 1 GiB

// /proc/meminfo text read through the real parser; a read racing the kernel may be cut short.
class TextMemory final : public MemoryStatusSource {
  public:
    bool Read(MemoryStatus& out) override {
        const auto status = ParseMeminfo(text);
        if (unreadable || !status) {
            return false;
        }
        out = *status;
        return true;
    }
    std::string text;
    bool unreadable = false;
};

}  // namespace

class TestSoak : public QObject {
    Q_OBJECT
  private slots:
    void ticksKeepHeapAndFigures();
};

void TestSoak::ticksKeepHeapAndFigures() {
    const long long ticks = qEnvironmentVariableIntValue("KELVANE_SOAK_TICKS") > 0
                                ? qEnvironmentVariableIntValue("KELVANE_SOAK_TICKS")
                                : 20000;
    FakeGauge g;
    TextMemory memory;
    FrmMain window(Platform{memory, g.volumes, g.screen, g.settings});
    window.Timer1.stop();
    window.AttachHost(g.host);
    g.volumes.PassFirst(1);
    for (int p = 0; p < kPanels; ++p) {
        g.settings.values[{"Forms", QStringLiteral("Section_%1").arg(p + 1)}] = QString::number(p);
    }
    window.GetMySettings();
    window.Form_Load();
    memory.text.reserve(256);
    std::int64_t availKb = 0;
    std::int64_t driveFree = 0;
    std::size_t heapAfterWarmUp = 0;
    for (long long t = 1; t <= ticks; ++t) {
        // Faults on their own rhythms, so that every kind meets every other now and then.
        const std::int64_t nowKb = (t * 7919) % (kTotalKb + 1);
        const bool truncated = t % 13 == 5;
        memory.unreadable = t % 7 == 3;
        memory.text = "MemTotal: " + std::to_string(kTotalKb) +
                      " kB\nMemAvailable: " + std::to_string(nowKb) + " kB\n";
        memory.text.resize(truncated ? 30 : memory.text.size());
        g.volumes.answering[0] = t % 11 != 4;
        g.volumes.space[0] = {(t * 31) % 101, 100};
        window.Timer1_Timer();
        availKb = truncated || memory.unreadable ? availKb : nowKb;
        driveFree = g.volumes.answering[0] ? (t * 31) % 101 : driveFree;
        if (t == 1000) {
            heapAfterWarmUp = mallinfo2().uordblks;
        }
        if (t > 1001 && t % 1000 != 0) {
            continue;  // every tick of the first stretch, where each pair of faults comes up
        }
        const std::int64_t freePercent = availKb * 100 / kTotalKb;
        const auto mb = [](std::int64_t kb) { return std::nearbyint(double(kb) / 1024.0); };
        const QStringList expected = {QStringLiteral("%1%").arg(100 - freePercent),
                                      QStringLiteral("%1 KB").arg(kTotalKb - availKb),
                                      QStringLiteral("%1 MB").arg(mb(kTotalKb - availKb)),
                                      QStringLiteral("%1%").arg(freePercent),
                                      QStringLiteral("%1 KB").arg(availKb),
                                      QStringLiteral("%1 MB").arg(mb(availKb)),
                                      QStringLiteral("1024 MB"),
                                      QStringLiteral("%1%").arg(100 - driveFree)};
        for (int p = 0; p < kPanels; ++p) {
            const std::string_view shown =
                window.controls.Text(window.lblInfo[static_cast<std::size_t>(p)]);
            QCOMPARE(QString::fromUtf8(shown.data(), static_cast<qsizetype>(shown.size())),
                     expected[p]);
        }
        QVERIFY2(mallinfo2().uordblks <= heapAfterWarmUp + 1024 || heapAfterWarmUp == 0,
                 qPrintable(QStringLiteral("the heap grows: %1 bytes at tick %2")
                                .arg(mallinfo2().uordblks - heapAfterWarmUp)
                                .arg(t)));
    }
}

QTEST_GUILESS_MAIN(TestSoak)
#include "tst_soak.moc"
