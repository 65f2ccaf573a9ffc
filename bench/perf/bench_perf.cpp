#include "core/ClockReading.h"
#include "platform/linux/LinuxDriveInfo.h"
#include "platform/linux/ProcPerfSource.h"
#include "rules/perf/PerfSampler.h"
#include "rules/perf/PerfTotals.h"
#include "rules/settings/SettingsInForce.h"

#include <benchmark/benchmark.h>

// The slices the sampler reads and writes.
struct SamplerState {
    PerfTotals perf;
    SettingsInForce settings;
    ClockReading clock;
};

namespace {

const QString kStatData = QStringLiteral("PerfStats\\StatData");
const QString kCpu = QStringLiteral("KERNEL\\CPUUsage");

class NullSink : public IndicatorSink {
public:
    void showLevel(Indicator, int level) override { benchmark::DoNotOptimize(level); }
};

// One whole sample as the clock tick takes it, against this machine's /proc and root drive.
void BM_WholeSample(benchmark::State& st)
{
    SamplerState state;
    state.settings.MonitorDrive = QStringLiteral("/");
    ProcPerfSource perf;
    LinuxDriveInfo drives;
    NullSink bars;
    PerfSampler sampler(state.perf, state.settings, state.clock, perf, drives, bars);
    sampler.StartStat();
    sampler.GetDriveSpace(state.settings.MonitorDrive);
    int stamp = 0;
    for (auto _ : st) {
        stamp = (stamp + 1000) % 60000;
        state.clock.CurrentSecond = quint16(stamp / 1000);
        sampler.UpdateStatus();
    }
    sampler.StopStat();
}
BENCHMARK(BM_WholeSample);

void BM_CpuUsage(benchmark::State& st)
{
    ProcPerfSource perf;
    perf.readPerfStat(QStringLiteral("PerfStats\\StartStat"), kCpu);
    for (auto _ : st)
        benchmark::DoNotOptimize(perf.readPerfStat(kStatData, kCpu));
}
BENCHMARK(BM_CpuUsage);

void BM_PageFaults(benchmark::State& st)
{
    ProcPerfSource perf;
    const QString faults = QStringLiteral("VMM\\cPageFaults");
    for (auto _ : st)
        benchmark::DoNotOptimize(perf.readPerfStat(kStatData, faults));
}
BENCHMARK(BM_PageFaults);

void BM_MemoryLoad(benchmark::State& st)
{
    ProcPerfSource perf;
    for (auto _ : st)
        benchmark::DoNotOptimize(perf.memoryLoad());
}
BENCHMARK(BM_MemoryLoad);

void BM_DriveSpace(benchmark::State& st)
{
    LinuxDriveInfo drives;
    const QString root = QStringLiteral("/");
    DriveFigures f;
    for (auto _ : st)
        benchmark::DoNotOptimize(drives.driveSpace(root, f));
}
BENCHMARK(BM_DriveSpace);

void BM_ListDrives(benchmark::State& st)
{
    LinuxDriveInfo drives;
    for (auto _ : st)
        benchmark::DoNotOptimize(drives.listDrives());
}
BENCHMARK(BM_ListDrives);

} // namespace

BENCHMARK_MAIN();
