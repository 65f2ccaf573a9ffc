#pragma once

#include "ports/IClockSetter.h"

#include <QList>

// Records every record it is asked to set, and answers as told.
class FakeClockSetter : public IClockSetter {
public:
    struct Call {
        bool local = false; // SetLocalTime rather than SetSystemTime
        SystemTimeRecord record;
    };

    bool SetLocalTime(const SystemTimeRecord& local) override;
    bool SetSystemTime(const SystemTimeRecord& utc) override;
    QString refusalReason() const override { return reason; }
    bool busy() const override { return isBusy; }

    QList<Call> calls;
    bool result = true;
    QString reason; // given back after a refusal
    bool isBusy = false;
};
