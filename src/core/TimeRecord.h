#pragma once

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

    // Whether every field names a real date and time of day (the day of week is not looked at).
    bool isValid() const;
};
