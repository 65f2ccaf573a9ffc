#pragma once

#include <QString>

// The operating system's running performance statistics. Every figure is -1 when unavailable.
class IPerfSource {
public:
    virtual ~IPerfSource() = default;
    // Reads a dynamic statistic: key "PerfStats\StartStat", "PerfStats\StopStat" or
    // "PerfStats\StatData", value "KERNEL\CPUUsage" or "VMM\cPageFaults".
    virtual qint32 readPerfStat(const QString& key, const QString& value) = 0;
    // Percent of physical memory in use, 0..100, or -1.
    virtual qint32 memoryLoad() = 0;
};
