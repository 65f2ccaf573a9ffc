#pragma once

#include "ports/IPerfSource.h"

#include <QByteArray>

#include <array>
#include <optional>
#include <string_view>

// Performance figures from the Linux proc file system: processor usage between two readings
// of <proc>/stat, major page faults from <proc>/vmstat, memory load from <proc>/meminfo.
class ProcPerfSource : public IPerfSource {
public:
    explicit ProcPerfSource(const QString& procDir = QStringLiteral("/proc"));

    qint32 readPerfStat(const QString& key, const QString& value) override;
    qint32 memoryLoad() override;

    // Jiffies of the aggregate "cpu" line: user, nice, system, idle, iowait, irq, softirq, steal.
    using CpuTimes = std::array<quint64, 8>;
    // Parsers of the file texts, each reading only what it needs.
    static std::optional<CpuTimes> parseCpuTimes(std::string_view stat);
    // The major page fault count, kept to 0..2^31-1, or -1.
    static qint32 parsePageFaults(std::string_view vmstat);
    static qint32 parseMemoryLoad(std::string_view meminfo);
    // Busy percent 0..100 between two readings; -1 when no time passed between them.
    static qint32 busyPercent(const CpuTimes& before, const CpuTimes& after);

private:
    std::optional<CpuTimes> readCpuTimes() const;
    qint32 cpuUsage();

    QByteArray m_statPath;
    QByteArray m_vmstatPath;
    QByteArray m_meminfoPath;
    bool m_collecting = false;
    std::optional<CpuTimes> m_previous;
    qint32 m_lastPercent = 0;
};
