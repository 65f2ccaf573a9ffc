#pragma once

#include <QtGlobal>

// The running performance totals (tenths of a second, page faults per second, percent, KiB)
// and what the next sample needs from the last.
struct PerfTotals {
    qint32 RunningTime = 0;
    qint32 CpuLimitedTime = 0;
    qint32 MemoryLimitedTime = 0;
    qint32 PageFaultRateSum = 0;
    qint32 DiskUsagePercent = 0;
    qint64 DriveTotalKB = 0;
    qint32 LastPageFaults = 0;
    qint32 LastSampleStamp = 0;
};
