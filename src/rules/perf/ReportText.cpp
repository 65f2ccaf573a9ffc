#include "rules/perf/ReportText.h"

#include <algorithm>
#include <limits>

QString ReportText::duration(qint32 tenths)
{
    const qint32 hours = tenths / 36000;
    const qint32 minutes = (tenths % 36000) / 600;
    const qint32 seconds = (tenths % 600) / 10;
    return QString::asprintf("%2dh%2.2dm%2.2ds", hours, minutes, seconds);
}

QString ReportText::share(qint32 part, qint32 total)
{
    if (total == 0)
        return QStringLiteral("(0%)");
    // In 64 bits: part x 100 leaves the 32-bit range after some 600 hours.
    const qint64 percent = qint64(part) * 100 / total;
    return QStringLiteral("(%1%)").arg(percent);
}

qint32 ReportText::swapTime(qint32 pageFaultRateSum, qint32 pageFaultMax)
{
    if (pageFaultMax <= 0)
        return 0;
    // Whole seconds first, then tenths. Falling counters add negative rates to the sum;
    // swapping time itself cannot be negative.
    const qint64 tenths = qint64(pageFaultRateSum / pageFaultMax) * 10;
    return static_cast<qint32>(std::clamp<qint64>(tenths, 0, std::numeric_limits<qint32>::max()));
}

QString ReportText::diskUsage(qint32 percent)
{
    return QStringLiteral("%1%").arg(percent);
}
