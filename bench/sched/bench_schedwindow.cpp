// The scheduler list window over a 100,000-item schedule on the offscreen platform: opening it
// up to its first painted frame, one Delete with its repaint, and the resident memory the open
// window adds. The memory figure is only meaningful as the first benchmark of a fresh process
// (it is registered first; filter with --benchmark_filter=Memory to run it alone).
#include "core/ClockReading.h"
#include "rules/sched/Schedule.h"
#include "rules/sched/ScheduleEntry.h"
#include "windows/sched/TSchedMain.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "BenchHome.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>

// The slices the scheduler list reads and writes.
struct WindowState {
    Schedule sched;
    ClockReading clock;
};

namespace {

constexpr DayNumber Today = 36526;
constexpr int Items = 100000;

WindowState* g_state = nullptr;

void fillSchedule(Schedule& list, int n)
{
    for (int i = 0; i < n; ++i) {
        list.add(ScheduleEntry::FormatScheduleEntry(
            (i * 7) % 24, (i * 13) % 60, Today + 1 + (i * 7919) % 20000, i % 10,
            QStringLiteral("Reminder:item number %1 of the benchmark schedule").arg(i)));
    }
}

// Resident memory of this process in KiB, from /proc/self/status.
long residentKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    }
    return -1;
}

std::unique_ptr<TSchedMain> openDialog()
{
    auto dialog = std::make_unique<TSchedMain>(g_state->sched, g_state->clock);
    dialog->show();
    // Up to the first painted frame.
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    return dialog;
}

void BM_OpenMemory(benchmark::State& st)
{
    QCoreApplication::processEvents();
    const long before = residentKiB();
    std::unique_ptr<TSchedMain> dialog;
    for (auto _ : st)
        dialog = openDialog();
    const long after = residentKiB();
    st.counters["rss_before_MiB"] = double(before) / 1024.0;
    st.counters["rss_added_MiB"] = double(after - before) / 1024.0;
}

void BM_Open(benchmark::State& st)
{
    for (auto _ : st) {
        std::unique_ptr<TSchedMain> dialog = openDialog();
        st.PauseTiming();
        dialog.reset();
        QCoreApplication::processEvents();
        st.ResumeTiming();
    }
}

// Delete in the middle of the list, as the button does, up to the repainted grid. The list
// shrinks by one per round; a few hundred rounds leave it practically at its size.
void BM_Delete(benchmark::State& st)
{
    std::unique_ptr<TSchedMain> dialog = openDialog();
    for (auto _ : st) {
        st.PauseTiming();
        dialog->selectIndex(g_state->sched.count() / 2);
        QCoreApplication::processEvents();
        st.ResumeTiming();
        dialog->btnDeleteClick();
        QCoreApplication::processEvents();
    }
    st.counters["items_left"] = g_state->sched.count();
}

// Deleting from the schedule alone, without a window: the line is put back between rounds.
void BM_ListRemove(benchmark::State& st)
{
    Schedule& list = g_state->sched;
    const int index = list.count() / 2;
    for (auto _ : st) {
        st.PauseTiming();
        const QString line = list.at(index);
        st.ResumeTiming();
        list.removeAt(index);
        st.PauseTiming();
        list.add(line);
        st.ResumeTiming();
    }
}

} // namespace

BENCHMARK(BM_OpenMemory)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Open)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_Delete)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_ListRemove)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv)
{
    // No display and nothing of the user's own.
    QTemporaryDir home;
    if (!isolateBenchHome(home))
        return 1;

    QApplication app(argc, argv);
    WindowState state;
    state.clock.TodayDate = Today;
    fillSchedule(state.sched, Items);
    g_state = &state;

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    g_state = nullptr;
    return 0;
}
