#pragma once

#include <QString>
#include <QtGlobal>

// The system's date-time record, as the clock is set with it.
struct SystemTimeRecord {
    quint16 wYear = 0;
    quint16 wMonth = 0;     // 1..12
    quint16 wDayOfWeek = 0; // 0 = Sunday; ignored when the clock is set
    quint16 wDay = 0;       // day of the month
    quint16 wHour = 0;      // 0..23
    quint16 wMinute = 0;    // 0..59
    quint16 wSecond = 0;    // 0..59
    quint16 wMilliseconds = 0;
};

// Setting the system clock. Whether this process may do it is the system's decision, seen
// only in the result.
class IClockSetter {
public:
    virtual ~IClockSetter() = default;
    // The record is local time; false when refused.
    virtual bool SetLocalTime(const SystemTimeRecord& local) = 0;
    // The record is UTC; false when refused.
    virtual bool SetSystemTime(const SystemTimeRecord& utc) = 0;
    // Why the last call was refused, where the system said so in words; empty otherwise.
    virtual QString refusalReason() const = 0;
    // True while a setting waits for the system's answer; the event loop runs meanwhile, so a
    // second request can arrive and is refused.
    virtual bool busy() const = 0;
};
