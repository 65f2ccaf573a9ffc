// The once-a-second tick of the real clock panel, on the offscreen platform: an ordinary
// second, and a minute tick that runs the minute steps (digits, tray tip, chime check and the
// schedule scan). Each with and without the performance sample, and each with and without
// the repaint that follows it.
#include "app/PanelController.h"
#include "doubles/DiskFiles.h"
#include "platform/linux/LinuxPlatform.h"
#include "rules/settings/RegFileRegistry.h"
#include "rules/settings/SettingsStore.h"

#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include "BenchHome.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>

namespace {

PanelController* g_controller = nullptr;

struct TickKind {
    bool minute; // force the minute steps
    bool sample; // take the performance sample on this tick
    bool paint;  // deliver the repaints the tick asked for
};

// Counts the paint events delivered anywhere in the program.
class PaintCounter : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

void runTick(MainState& s, const TickKind& kind)
{
    if (kind.minute)
        s.tick.LastMinuteShown = TickState::ForceMinuteSteps;
    g_controller->TimerTimer();
    if (kind.paint)
        QCoreApplication::processEvents();
}

void BM_Tick(benchmark::State& st, TickKind kind)
{
    MainState& s = g_controller->state();
    s.settings.ChimeMode = 0;
    s.settings.AutoUpdate = false;
    if (kind.sample) {
        s.settings.UpdateInterval = 1;
        s.tick.SampleCountdown = 1;
    } else {
        s.settings.UpdateInterval = 1 << 30;
        s.tick.SampleCountdown = 1 << 30;
    }
    // One tick to bring the shown minute up to date, and nothing left waiting to be painted.
    g_controller->TimerTimer();
    QCoreApplication::processEvents();

    for (auto _ : st)
        runTick(s, kind);

    // One more tick of this kind, watched: the paint events it leads to, and whether it
    // sampled (a sample always stores its time stamp, which is never negative).
    QCoreApplication::processEvents();
    PaintCounter counter;
    qApp->installEventFilter(&counter);
    s.perf.LastSampleStamp = -1;
    runTick(s, kind);
    qApp->removeEventFilter(&counter);
    QCoreApplication::processEvents();
    if (kind.paint)
        st.counters["paints"] = counter.paints;
    if (kind.sample != (s.perf.LastSampleStamp >= 0))
        st.SkipWithError("the tick did not sample as intended");
    if (s.tick.LastMinuteShown != s.clock.CurrentMinute)
        st.SkipWithError("the minute steps did not run");
}

// A settings file that keeps the benchmark at its ordinary scheduling class and silent.
bool writeSettings(const QString& path)
{
    RegFileRegistry registry(diskFiles(), path);
    const SettingsStore store(registry);
    const QString settings = QStringLiteral("Settings");
    store.WriteRegInt(settings, QStringLiteral("PriorityClass"), 32);
    store.WriteRegInt(settings, QStringLiteral("Chime"), 0);
    store.WriteRegInt(settings, QStringLiteral("Alarm"), 0);
    store.WriteRegInt(settings, QStringLiteral("TaskIcon"), 1);
    store.WriteRegInt(settings, QStringLiteral("UpdateInterval"), 1);
    store.WriteRegInt(settings, QStringLiteral("AutoUpdate"), 0);
    store.WriteRegString(settings, QStringLiteral("Drive"), QStringLiteral("/"));
    return QFile::exists(path);
}

constexpr TickKind Second{false, false, false};
constexpr TickKind SecondPaint{false, false, true};
constexpr TickKind SecondSample{false, true, false};
constexpr TickKind SecondSamplePaint{false, true, true};
constexpr TickKind Minute{true, false, false};
constexpr TickKind MinutePaint{true, false, true};
constexpr TickKind MinuteSample{true, true, false};
constexpr TickKind MinuteSamplePaint{true, true, true};

} // namespace

#define HOROLUX_TICK(name, kind)                                                                   \
    BENCHMARK_CAPTURE(BM_Tick, name, kind)                                                         \
        ->Unit(benchmark::kMicrosecond)                                                            \
        ->Repetitions(10)                                                                          \
        ->ReportAggregatesOnly(true)

HOROLUX_TICK(second, Second);
HOROLUX_TICK(second_paint, SecondPaint);
HOROLUX_TICK(second_sample, SecondSample);
HOROLUX_TICK(second_sample_paint, SecondSamplePaint);
HOROLUX_TICK(minute, Minute);
HOROLUX_TICK(minute_paint, MinutePaint);
HOROLUX_TICK(minute_sample, MinuteSample);
HOROLUX_TICK(minute_sample_paint, MinuteSamplePaint);

int main(int argc, char** argv)
{
    // Nothing of the user's own and no display: everything points into a temporary folder
    // before the application exists.
    QTemporaryDir home;
    if (!isolateBenchHome(home))
        return 1;

    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Horolux"));
    if (!writeSettings(home.filePath(QStringLiteral("config/horolux/settings.reg")))) {
        std::fprintf(stderr, "the settings file was not written\n");
        return 1;
    }

    LinuxPlatform platform;
    RegFileRegistry settingsFile(*platform.services().files, platform.services().settingsFile);
    platform.services().registry = &settingsFile;
    PanelController controller(platform.services());
    controller.panel().show();
    // The benchmark drives the tick itself; the controller's own second timer would add ticks.
    for (QTimer* t : controller.findChildren<QTimer*>()) {
        if (t->isActive() && t->interval() == 1000)
            t->stop();
    }
    for (int i = 0; i < 10; ++i)
        QCoreApplication::processEvents();
    g_controller = &controller;

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    g_controller = nullptr;
    return 0;
}
