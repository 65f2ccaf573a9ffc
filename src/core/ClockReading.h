#pragma once

#include "core/DayNumber.h"

#include <QtGlobal>

// The local time decoded at the last clock update. The tick writes it; the scan, the sampler
// and the scheduler's windows read it, so all of them see the same minute.
struct ClockReading {
    DayNumber TodayDate = 0;
    quint16 CurrentHour = 0;
    quint16 CurrentMinute = 0;
    quint16 CurrentSecond = 0;
    quint16 CurrentMillisecond = 0;
};
