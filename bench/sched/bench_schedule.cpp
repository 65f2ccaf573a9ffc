// Load, save, add and idle-minute scan of a 100,000-line schedule.
#include "core/ClockReading.h"
#include "doubles/DiskFiles.h"
#include "platform/linux/AtomicFile.h"
#include "rules/sched/Schedule.h"
#include "rules/sched/ScheduleEntry.h"
#include "rules/sched/ScheduleFile.h"
#include "rules/sched/ScheduleList.h"
#include "rules/sched/ScheduleScanner.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

// The slices the scan reads and writes.
struct ScanState {
    Schedule schedule;
    ClockReading clock;
};

namespace {

constexpr DayNumber Today = 36526;

QStringList makeLines(int n)
{
    QStringList out;
    out.reserve(n);
    for (int i = 0; i < n; ++i) {
        out << ScheduleEntry::FormatScheduleEntry(
            (i * 7) % 24, (i * 13) % 60, Today + 1 + (i * 7919) % 20000, i % 10,
            QStringLiteral("Reminder:item number %1 of the benchmark schedule").arg(i));
    }
    return out;
}

ScheduleList makeList(int n)
{
    ScheduleList list;
    const QStringList lines = makeLines(n);
    QByteArray data;
    for (const QString& line : lines)
        data += line.toUtf8() + "\r\n";
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("in.dat"));
    AtomicFile::write(path, data);
    ScheduleFile(diskFiles(), path).load(list);
    return list;
}

class NoActions : public ScanActions {
public:
    bool FireScheduleItem(const QString&) override { return true; }
    void ShowWarning(const QString&) override {}
    void SaveSchedule() override {}
    void ReportSetAside(int) override {}
};

void BM_Load(benchmark::State& state)
{
    const int n = int(state.range(0));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("horolux.dat"));
    QStringList lines = makeLines(n);
    // Written in reverse so the load has real sorting to do.
    std::reverse(lines.begin(), lines.end());
    QByteArray data;
    for (const QString& line : lines)
        data += line.toUtf8() + "\r\n";
    AtomicFile::write(path, data);
    ScheduleFile file(diskFiles(), path);
    for (auto _ : state) {
        ScheduleList list;
        file.load(list);
        benchmark::DoNotOptimize(list.count());
    }
}

void BM_Save(benchmark::State& state)
{
    ScheduleList list = makeList(int(state.range(0)));
    QTemporaryDir dir;
    ScheduleFile file(diskFiles(), dir.filePath(QStringLiteral("horolux.dat")));
    for (auto _ : state) {
        if (file.save(list) != ScheduleFile::SaveResult::Saved)
            state.SkipWithError("save failed");
    }
}

// Adding one line (binary search and insert) and taking it out again.
void BM_AddOne(benchmark::State& state)
{
    ScheduleList list = makeList(int(state.range(0)));
    const QString line =
        ScheduleEntry::FormatScheduleEntry(12, 0, Today, 0, QStringLiteral("Reminder:added"));
    list.add(line);
    const int index = int(list.lines().indexOf(line));
    list.removeAt(index);
    for (auto _ : state) {
        list.add(line);
        list.removeAt(index);
    }
}

// Every line lies ahead in time or date: an idle minute reads one line, whatever the length.
void BM_IdleScan(benchmark::State& state)
{
    ScanState main;
    main.schedule.merge(makeList(int(state.range(0))).format());
    main.clock.TodayDate = Today;
    main.clock.CurrentHour = 0;
    main.clock.CurrentMinute = 0;
    // Everything at 00:00 is for a later date: step the cursor past it once, as the first
    // scan of the day does.
    NoActions actions;
    ScheduleScanner::CheckSchedule(main.schedule, main.clock, actions);
    for (auto _ : state) {
        ScheduleScanner::CheckSchedule(main.schedule, main.clock, actions);
        benchmark::DoNotOptimize(main.schedule.cursor());
    }
}

} // namespace

BENCHMARK(BM_Load)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Save)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AddOne)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_IdleScan)->Arg(10)->Arg(100000)->Unit(benchmark::kNanosecond);

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
