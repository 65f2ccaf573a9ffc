#pragma once

#include "ports/IClockSetter.h"

#include <QtGlobal>

class IClock;

// The two ways the program sets the system clock. Each builds the system's date-time record
// and hands it to the platform; a field out of range is refused before the platform sees it,
// so a slip never sets a wrong time. Nothing is shown: the caller reports.
namespace ClockSetting {

// Today's local date (read now, not earlier) at the given local time of day.
bool SetLocalTimeOfDay(IClockSetter& setter, const IClock& clock, quint16 hour, quint16 minute,
                       quint16 second);

// Exactly the given UTC date and time.
bool SetUtcDateTime(IClockSetter& setter, quint16 year, quint16 month, quint16 day, quint16 hour,
                    quint16 minute, quint16 second, quint16 millisecond = 0);

} // namespace ClockSetting
