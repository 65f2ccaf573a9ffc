#include "rules/clock/ClockSetting.h"

#include "ports/IClock.h"

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

bool SetLocalTimeOfDay(IClockSetter& setter, const IClock& clock, quint16 hour, quint16 minute,
                       quint16 second)
{
    const QDate today = clock.now().date();
    if (!today.isValid() || today.year() < 1 || today.year() > 0xFFFF)
        return false;
    const SystemTimeRecord r = makeRecord(quint16(today.year()), quint16(today.month()),
                                          quint16(today.day()), hour, minute, second);
    if (!r.isValid())
        return false;
    return setter.SetLocalTime(r);
}

bool SetUtcDateTime(IClockSetter& setter, quint16 year, quint16 month, quint16 day, quint16 hour,
                    quint16 minute, quint16 second, quint16 millisecond)
{
    SystemTimeRecord r = makeRecord(year, month, day, hour, minute, second);
    r.wMilliseconds = millisecond;
    if (!r.isValid())
        return false;
    return setter.SetSystemTime(r);
}

} // namespace ClockSetting
