#include "rules/perf/PerfSampler.h"

#include "core/ClockReading.h"
#include "ports/IClock.h"
#include "ports/IDriveInfo.h"
#include "ports/IPerfSource.h"
#include "rules/perf/PerfTotals.h"
#include "rules/settings/SettingsInForce.h"

#include <QTime>

#include <algorithm>
#include <limits>
#include <optional>

namespace {

const QString kStatData = QStringLiteral("PerfStats\\StatData");
const QString kStartStat = QStringLiteral("PerfStats\\StartStat");
const QString kStopStat = QStringLiteral("PerfStats\\StopStat");
const QString kCpuUsage = QStringLiteral("KERNEL\\CPUUsage");
const QString kPageFaults = QStringLiteral("VMM\\cPageFaults");

constexpr qint32 kCpuLimited = 96;    // percent of processor time
constexpr qint32 kMemoryLimited = 85; // percent of physical memory

// The figures are 32-bit, but a sum or a rate that leaves that range must not wrap into a
// figure of the opposite sign: it stops at the end of the range instead.
qint32 saturate(qint64 v)
{
    if (v > std::numeric_limits<qint32>::max())
        return std::numeric_limits<qint32>::max();
    if (v < std::numeric_limits<qint32>::min())
        return std::numeric_limits<qint32>::min();
    return static_cast<qint32>(v);
}

// clusters x sectors per cluster x bytes per sector / 1024; nothing when the figures are
// too large to be true.
std::optional<qint64> kilobytes(quint64 clusters, quint64 sectorsPerCluster, quint64 bytesPerSector)
{
    quint64 sectors = 0;
    quint64 bytes = 0;
    if (__builtin_mul_overflow(clusters, sectorsPerCluster, &sectors) ||
        __builtin_mul_overflow(sectors, bytesPerSector, &bytes))
        return std::nullopt;
    return static_cast<qint64>(bytes / 1024);
}

} // namespace

PerfSampler::PerfSampler(PerfTotals& totals, SettingsInForce& settings, const ClockReading& reading,
                         IPerfSource& perf, IDriveInfo& drives, IndicatorSink& bars, IClock* clock)
    : m_totals(totals), m_settings(settings), m_reading(reading), m_perf(perf), m_drives(drives),
      m_bars(bars), m_clock(clock)
{
}

void PerfSampler::StartStat()
{
    m_perf.readPerfStat(kStartStat, kCpuUsage);
    // The first sample then covers the time since monitoring began, not since the minute began.
    if (m_clock) {
        const QTime t = m_clock->now().time();
        m_totals.LastSampleStamp = t.second() * 1000 + t.msec();
    } else {
        m_totals.LastSampleStamp = m_reading.CurrentSecond * 1000 + m_reading.CurrentMillisecond;
    }
}

void PerfSampler::StopStat()
{
    m_perf.readPerfStat(kStopStat, kCpuUsage);
}

bool PerfSampler::GetDriveSpace(const QString& root)
{
    DriveFigures f;
    if (!m_drives.driveSpace(root, f))
        return false;
    const std::optional<qint64> total =
        kilobytes(f.totalClusters, f.sectorsPerCluster, f.bytesPerSector);
    if (!total)
        return false;
    m_totals.DriveTotalKB = *total;
    return true;
}

void PerfSampler::UpdateStatus()
{
    const qint32 cpu = m_perf.readPerfStat(kStatData, kCpuUsage);
    m_bars.showLevel(Indicator::CPU, cpu);

    const qint32 faults = m_perf.readPerfStat(kStatData, kPageFaults);

    const qint32 stamp = m_reading.CurrentSecond * 1000 + m_reading.CurrentMillisecond;
    qint64 elapsed = qint64(stamp) - m_totals.LastSampleStamp;
    if (elapsed < 0)
        elapsed += 60000;

    // A count of -1 means the statistic could not be read; the difference to the last
    // good count would be a meaningless negative rate.
    qint32 rate = 0;
    if (m_totals.LastPageFaults > 0 && faults >= 0 && elapsed > 100 && elapsed < 10000) {
        rate = saturate((qint64(faults) - m_totals.LastPageFaults) * 1000 / elapsed);
        if (rate > m_settings.PageFaultMax)
            m_settings.PageFaultMax = rate;
        // The ceiling is at least 100 while running; guard anyway against a divisor of 0.
        const qint32 hundredth = qMax(m_settings.PageFaultMax / 100, 1);
        m_bars.showLevel(Indicator::PF, rate / hundredth);
    }

    m_totals.LastPageFaults = faults;
    m_totals.LastSampleStamp = stamp;

    DriveFigures f;
    if (m_totals.DriveTotalKB > 0 && m_drives.driveSpace(m_settings.MonitorDrive, f)) {
        const std::optional<qint64> freeKB =
            kilobytes(f.freeClusters, f.sectorsPerCluster, f.bytesPerSector);
        if (freeKB) {
            const __int128 used = __int128(m_totals.DriveTotalKB) - *freeKB;
            const __int128 percent = used * 100 / m_totals.DriveTotalKB;
            // A total measured on another drive can make free exceed total.
            m_totals.DiskUsagePercent = static_cast<qint32>(std::clamp<__int128>(percent, 0, 100));
            m_bars.showLevel(Indicator::DSK, m_totals.DiskUsagePercent);
        }
    }

    const qint32 load = m_perf.memoryLoad();
    m_bars.showLevel(Indicator::MEM, load);

    const qint32 tenths = static_cast<qint32>(elapsed / 100);
    m_totals.RunningTime = saturate(qint64(m_totals.RunningTime) + tenths);
    m_totals.PageFaultRateSum = saturate(qint64(m_totals.PageFaultRateSum) + rate);
    if (cpu >= kCpuLimited)
        m_totals.CpuLimitedTime = saturate(qint64(m_totals.CpuLimitedTime) + tenths);
    if (load >= kMemoryLimited)
        m_totals.MemoryLimitedTime = saturate(qint64(m_totals.MemoryLimitedTime) + tenths);
}
