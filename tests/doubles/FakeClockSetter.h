#pragma once

#include "ports/IClockSetter.h"
#include "ports/IClockSync.h"

#include <QList>
#include <QTimer>

// Records every record it is asked to set, and answers as told.
class FakeClockSetter : public IClockSetter, public IClockSync {
public:
    struct Call {
        bool local = false; // SetLocalTime rather than SetSystemTime
        SystemTimeRecord record;
    };

    bool SetLocalTime(const SystemTimeRecord& local) override;
    bool SetSystemTime(const SystemTimeRecord& utc) override;
    QString refusalReason() const override { return reason; }
    bool busy() const override { return isBusy; }
    void readState(QObject* context, std::function<void(State)> done) override
    {
        QTimer::singleShot(0, context, [=, this] { done(syncState); });
    }

    QList<Call> calls;
    bool result = true;
    QString reason; // given back after a refusal
    bool isBusy = false;
    State syncState = State::Unknown; // given from the event loop, as the system would
};
