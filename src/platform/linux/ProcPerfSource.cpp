#include "platform/linux/ProcPerfSource.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {

// Reads up to `capacity` bytes of a file with one open and as few reads as the kernel needs;
// proc files are produced per read, so no QFile or line buffering on this path.
std::string_view readFile(const QByteArray& path, char* buffer, size_t capacity)
{
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return {};
    size_t used = 0;
    while (used < capacity) {
        const ssize_t n = ::read(fd, buffer + used, capacity - used);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        used += static_cast<size_t>(n);
    }
    ::close(fd);
    return std::string_view(buffer, used);
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

void skipBlanks(std::string_view& s)
{
    size_t i = 0;
    while (i < s.size() && isBlank(s[i]))
        ++i;
    s.remove_prefix(i);
}

// A decimal number at the start of `s` (consumed); nothing when there is none or it overflows.
std::optional<quint64> takeNumber(std::string_view& s)
{
    size_t i = 0;
    quint64 v = 0;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') {
        if (__builtin_mul_overflow(v, 10u, &v) ||
            __builtin_add_overflow(v, quint64(s[i] - '0'), &v))
            return std::nullopt;
        ++i;
    }
    if (i == 0)
        return std::nullopt;
    // A number glued to other text ("12x") is not a number.
    if (i < s.size() && !isBlank(s[i]) && s[i] != '\n')
        return std::nullopt;
    s.remove_prefix(i);
    return v;
}

// The rest of the line that starts with `prefix` at the start of a line, or nothing.
std::optional<std::string_view> lineAfter(std::string_view text, std::string_view prefix)
{
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string_view::npos)
            end = text.size();
        const std::string_view line = text.substr(pos, end - pos);
        if (line.substr(0, prefix.size()) == prefix)
            return line.substr(prefix.size());
        pos = end + 1;
    }
    return std::nullopt;
}

std::optional<quint64> fieldValue(std::string_view text, std::string_view prefix)
{
    std::optional<std::string_view> rest = lineAfter(text, prefix);
    if (!rest)
        return std::nullopt;
    skipBlanks(*rest);
    return takeNumber(*rest);
}

bool sameName(const QString& a, const char* b)
{
    return a.compare(QLatin1String(b), Qt::CaseInsensitive) == 0;
}

} // namespace

ProcPerfSource::ProcPerfSource(const QString& procDir)
    : m_statPath(QFile::encodeName(procDir + QStringLiteral("/stat"))),
      m_vmstatPath(QFile::encodeName(procDir + QStringLiteral("/vmstat"))),
      m_meminfoPath(QFile::encodeName(procDir + QStringLiteral("/meminfo")))
{
}

qint32 ProcPerfSource::readPerfStat(const QString& key, const QString& value)
{
    const bool cpu = sameName(value, "KERNEL\\CPUUsage");
    const bool faults = sameName(value, "VMM\\cPageFaults");
    if (sameName(key, "PerfStats\\StatData")) {
        if (cpu)
            return cpuUsage();
        if (faults) {
            char buffer[16384];
            return parsePageFaults(readFile(m_vmstatPath, buffer, sizeof buffer));
        }
        return -1;
    }
    if (sameName(key, "PerfStats\\StartStat") && cpu) {
        m_collecting = true;
        m_previous = readCpuTimes();
        m_lastPercent = 0;
        return m_previous ? 0 : -1;
    }
    if (sameName(key, "PerfStats\\StopStat") && cpu) {
        m_collecting = false;
        m_previous.reset();
        return 0;
    }
    return -1;
}

qint32 ProcPerfSource::memoryLoad()
{
    char buffer[4096];
    return parseMemoryLoad(readFile(m_meminfoPath, buffer, sizeof buffer));
}

std::optional<ProcPerfSource::CpuTimes> ProcPerfSource::readCpuTimes() const
{
    // The aggregate line comes first; the rest of the file is not needed.
    char buffer[4096];
    return parseCpuTimes(readFile(m_statPath, buffer, sizeof buffer));
}

qint32 ProcPerfSource::cpuUsage()
{
    if (!m_collecting)
        return -1;
    const std::optional<CpuTimes> now = readCpuTimes();
    if (!now)
        return -1;
    if (!m_previous) {
        // The first reading failed; this one starts the interval.
        m_previous = now;
        return -1;
    }
    const qint32 percent = busyPercent(*m_previous, *now);
    // Two readings within one clock tick say nothing new; keep the older reading.
    if (percent < 0)
        return m_lastPercent;
    m_previous = now;
    m_lastPercent = percent;
    return percent;
}

std::optional<ProcPerfSource::CpuTimes> ProcPerfSource::parseCpuTimes(std::string_view stat)
{
    std::optional<std::string_view> rest = lineAfter(stat, "cpu ");
    if (!rest)
        return std::nullopt;
    CpuTimes times{};
    size_t count = 0;
    while (count < times.size()) {
        skipBlanks(*rest);
        if (rest->empty())
            break;
        const std::optional<quint64> v = takeNumber(*rest);
        if (!v)
            return std::nullopt;
        times[count++] = *v;
    }
    // Every kernel has at least user, nice, system and idle; later columns default to 0.
    if (count < 4)
        return std::nullopt;
    return times;
}

qint32 ProcPerfSource::busyPercent(const CpuTimes& before, const CpuTimes& after)
{
    // A counter that went backwards (a processor taken offline, a kernel quirk with idle
    // times) counts as no time in that column rather than as a huge unsigned difference.
    quint64 busy = 0;
    quint64 idle = 0;
    for (size_t i = 0; i < after.size(); ++i) {
        const quint64 d = after[i] > before[i] ? after[i] - before[i] : 0;
        if (i == 3 || i == 4) // idle, iowait
            idle += d;
        else
            busy += d;
    }
    const quint64 total = busy + idle;
    if (total == 0)
        return -1;
    return static_cast<qint32>(static_cast<unsigned __int128>(busy) * 100 / total);
}

qint32 ProcPerfSource::parsePageFaults(std::string_view vmstat)
{
    const std::optional<quint64> v = fieldValue(vmstat, "pgmajfault ");
    if (!v)
        return -1;
    // A 31-bit running count, as the sampler expects a growing non-negative figure.
    return static_cast<qint32>(*v & 0x7fffffffu);
}

qint32 ProcPerfSource::parseMemoryLoad(std::string_view meminfo)
{
    const std::optional<quint64> total = fieldValue(meminfo, "MemTotal:");
    if (!total || *total == 0)
        return -1;
    std::optional<quint64> available = fieldValue(meminfo, "MemAvailable:");
    if (!available) {
        // Kernels before 3.14 have no estimate; free plus caches comes closest.
        const std::optional<quint64> free = fieldValue(meminfo, "MemFree:");
        if (!free)
            return -1;
        available = *free + fieldValue(meminfo, "Buffers:").value_or(0) +
                    fieldValue(meminfo, "Cached:").value_or(0);
    }
    const quint64 used = *total > *available ? *total - *available : 0;
    return static_cast<qint32>(static_cast<unsigned __int128>(used) * 100 / *total);
}
