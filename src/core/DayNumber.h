#pragma once

#include <QDate>

// A date as whole days since 30 December 1899 (1 January 2000 is 36526).
using DayNumber = qint32;

namespace DayNumbers {

inline qint64 epochJulianDay()
{
    return QDate(1899, 12, 30).toJulianDay();
}

inline DayNumber fromDate(const QDate& date)
{
    return static_cast<DayNumber>(date.toJulianDay() - epochJulianDay());
}

inline QDate toDate(DayNumber day)
{
    return QDate::fromJulianDay(epochJulianDay() + day);
}

// 1 = Sunday .. 7 = Saturday.
inline int weekday(DayNumber day)
{
    // Day 0 (30 December 1899) was a Saturday.
    int w = static_cast<int>(((qint64(day) % 7) + 7 + 6) % 7);
    return w + 1;
}

} // namespace DayNumbers
