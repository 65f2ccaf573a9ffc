#pragma once

#include "core/TimeRecord.h"

#include <QString>

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
