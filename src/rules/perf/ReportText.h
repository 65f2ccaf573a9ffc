#pragma once

#include <QString>

// The texts of the performance report.
class ReportText {
public:
    // Tenths of a second as hours, minutes and seconds: " 1h02m03s"; hours never roll over.
    static QString duration(qint32 tenths);
    // The share of `part` in `total` as "(25%)"; "(0%)" while the total is still 0.
    static QString share(qint32 part, qint32 total);
    // Swapping time in tenths: one second per PageFaultMax page faults per second summed.
    static qint32 swapTime(qint32 pageFaultRateSum, qint32 pageFaultMax);
    // "75%".
    static QString diskUsage(qint32 percent);
};
