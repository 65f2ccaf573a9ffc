#pragma once

#include <functional>

class QObject;

// Whether the system keeps the clock synchronised itself. While it does, its time service
// refuses to have the clock set by hand.
class IClockSync {
public:
    enum class State {
        Unknown,       // no service to ask, or no answer
        Off,           // synchronisation switched off
        Synchronising, // switched on, not synchronised yet
        Synchronised,
    };

    virtual ~IClockSync() = default;
    // Asks without waiting. `done` is called once from the event loop, never before this
    // returns, and not at all once `context` is gone.
    virtual void readState(QObject* context, std::function<void(State)> done) = 0;
};
