// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

// One refresh tick through the real main window and its view over a fake platform: the
// readings, the captions, the LED bars and the repaint they cause, on Qt's offscreen platform.
//
//   kelvane_tick_bench [Google Benchmark flags]  time and heap allocations per tick
//   kelvane_tick_bench --ticks=SCENARIO          1000 ticks in TickLoop, for callgrind
//   kelvane_tick_bench --paints                  what each scenario repaints per tick
//
// Scenarios: "unchanged" (the same readings every tick), "captions" (every memory caption
// changes, no bar moves: the common case on a busy machine), "bars" (every caption and
// every bar but the total's changes on every tick).

#include <benchmark/benchmark.h>
#include <QApplication>
#include <QPaintEvent>
#include <QRegularExpression>
#include <cstdio>
#include <cstring>
#include <map>

#include "alloc_counter.h"
#include "fakes/fake_platform.h"
#include "hosts/qt/main_view.h"

namespace kelvane {
namespace {

constexpr std::int64_t kKiB = 1024;
constexpr std::int64_t kTotal = 8 * 1024 * 1024 * kKiB;

struct Readings {
    std::int64_t availPhys;
    VolumeSpace driveC;
};

struct Scenario {
    const char* name;
    Readings states[2];
};

// 2600000 and 2642411 KiB of 8 GiB are 30 % and 31 % free: new figures in every caption,
// the same segments lit. 30 % and 60 % free, 57 % and 20 % used on C:, move every bar.
constexpr Scenario kScenarios[] = {
    {"unchanged", {{2600000 * kKiB, {43, 100}}, {2600000 * kKiB, {43, 100}}}},
    {"captions", {{2600000 * kKiB, {43, 100}}, {2642411 * kKiB, {43, 100}}}},
    {"bars", {{2600000 * kKiB, {43, 100}}, {5033164 * kKiB, {80, 100}}}},
};

const Scenario* FindScenario(const char* name) {
    for (const Scenario& s : kScenarios) {
        if (std::strcmp(s.name, name) == 0) {
            return &s;
        }
    }
    return nullptr;
}

// The gauge as it runs by default: eight panels shown, C: the only drive, its window
// shown and painted once.
struct Bench {
    FakeGauge gauge;
    MainView view{gauge.window};
    const Scenario& scenario;
    unsigned tick = 0;

    explicit Bench(const Scenario& s) : scenario(s) {
        gauge.volumes.PassFirst(1);
        Apply(0);
        gauge.Start();
        QCoreApplication::processEvents();
        for (int i = 0; i < 200; ++i) {
            Tick();  // first captions, first paints, caches warm
        }
    }

    void Apply(unsigned state) {
        const Readings& r = scenario.states[state & 1u];
        gauge.memory.status = {kTotal, r.availPhys};
        gauge.volumes.space[0] = r.driveC;
    }

    // What one timer event amounts to: the tick, then the repaint it asked for.
    void Tick() {
        Apply(++tick);
        gauge.window.Timer1_Timer();
#if __has_include("drawing/x11/x11_presenter.h")
        view.PresentChanges();  // on an X server, what the event loop does before it waits
#endif
        QCoreApplication::sendPostedEvents();
    }
};

}  // namespace

// Named so that callgrind can collect exactly these ticks (--toggle-collect).
[[gnu::noinline]] void TickLoop(Bench& bench, int ticks) {
    for (int i = 0; i < ticks; ++i) {
        bench.Tick();
    }
}

namespace {

void BM_Tick(benchmark::State& state, const char* scenarioName) {
    Bench bench(*FindScenario(scenarioName));
    const std::uint64_t before = bench::Allocations();
    for (auto _ : state) {
        bench.Tick();
    }
    state.counters["allocs/tick"] = benchmark::Counter(
        static_cast<double>(bench::Allocations() - before), benchmark::Counter::kAvgIterations);
}

BENCHMARK_CAPTURE(BM_Tick, unchanged, "unchanged");
BENCHMARK_CAPTURE(BM_Tick, captions, "captions");
BENCHMARK_CAPTURE(BM_Tick, bars, "bars");

// Counts paint events and painted pixels per widget name.
class PaintCounter : public QObject {
  public:
    std::map<QString, int> events;
    long long pixels = 0;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            static const QRegularExpression index(QStringLiteral("\\(\\d+\\)$"));
            QString name = watched->objectName();
            name.remove(index);
            ++events[name];
            for (const QRect& r : static_cast<QPaintEvent*>(event)->region()) {
                pixels += static_cast<long long>(r.width()) * r.height();
            }
        }
        return false;
    }
};

int ReportPaints() {
    constexpr int kTicks = 100;
    for (const Scenario& scenario : kScenarios) {
        Bench bench(scenario);
        PaintCounter counter;
        qApp->installEventFilter(&counter);
        TickLoop(bench, kTicks);
        qApp->removeEventFilter(&counter);
        int events = 0;
        std::printf("%-10s", scenario.name);
        for (const auto& [name, count] : counter.events) {
            events += count;
            std::printf(" %s %.1f", qPrintable(name), static_cast<double>(count) / kTicks);
        }
        std::printf("%s| %.1f paint events, %lld pixels per tick\n",
                    counter.events.empty() ? " nothing " : " ",
                    static_cast<double>(events) / kTicks, counter.pixels / kTicks);
    }
    return 0;
}

}  // namespace
}  // namespace kelvane

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--ticks=", 8) == 0) {
            const kelvane::Scenario* scenario = kelvane::FindScenario(argv[i] + 8);
            if (scenario == nullptr) {
                std::fprintf(stderr, "no scenario %s\n", argv[i] + 8);
                return 2;
            }
            kelvane::Bench bench(*scenario);
            kelvane::TickLoop(bench, 1000);
            return 0;
        }
        if (std::strcmp(argv[i], "--paints") == 0) {
            return kelvane::ReportPaints();
        }
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
