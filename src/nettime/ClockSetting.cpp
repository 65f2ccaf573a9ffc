#include "nettime/ClockSetting.h"

#include "platform/IClock.h"

#include <QDate>

namespace ClockSetting {

namespace {

SystemTimeRecord makeRecord(quint16 year, quint16 month, quint16 day, quint16 hour, quint16 minute,
                            quint16 second)
{
    SystemTimeRecord r;
    r.wYear = year;
    r.wMonth = month;
    r.wDayOfWeek = 0;
    r.wDay = day;
    r.wHour = hour;
    r.wMinute = minute;
    r.wSecond = second;
    r.wMilliseconds = 0;
    return r;
}

} // namespace

bool IsValidRecord(const SystemTimeRecord& r)
{
    // QDate knows no year 0 and checks the month's length, leap years included.
    return QDate::isValid(r.wYear, r.wMonth, r.wDay) && r.wHour < 24 && r.wMinute < 60 &&
           r.wSecond < 60 && r.wMilliseconds < 1000;
}

bool SetLocalTimeOfDay(IClockSetter& setter, const IClock& clock, quint16 hour, quint16 minute,
                       quint16 second)
{
    const QDate today = clock.now().date();
    if (!today.isValid() || today.year() < 1 || today.year() > 0xFFFF)
        return false;
    const SystemTimeRecord r = makeRecord(quint16(today.year()), quint16(today.month()),
                                          quint16(today.day()), hour, minute, second);
    if (!IsValidRecord(r))
        return false;
    return setter.SetLocalTime(r);
}

bool SetUtcDateTime(IClockSetter& setter, quint16 year, quint16 month, quint16 day, quint16 hour,
                    quint16 minute, quint16 second)
{
    const SystemTimeRecord r = makeRecord(year, month, day, hour, minute, second);
    if (!IsValidRecord(r))
        return false;
    return setter.SetSystemTime(r);
}

} // namespace ClockSetting
