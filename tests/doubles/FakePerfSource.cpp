#include "doubles/FakePerfSource.h"

qint32 FakePerfSource::readPerfStat(const QString& key, const QString& value)
{
    reads << key + '|' + value;
    // Only reading the figures answers with them; starting and stopping the counter does not.
    if (key == QLatin1String("PerfStats\\StatData")) {
        if (value == QLatin1String("KERNEL\\CPUUsage"))
            return cpu;
        if (value == QLatin1String("VMM\\cPageFaults"))
            return faults;
    }
    return -1;
}

qint32 FakePerfSource::memoryLoad()
{
    return load;
}
