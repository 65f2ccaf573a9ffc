#pragma once

#include <QDateTime>

// The machine's clock: local wall time and a monotonic millisecond counter.
class IClock {
public:
    virtual ~IClock() = default;
    virtual QDateTime now() const = 0;
    // Milliseconds from an arbitrary start; wraps at 2^32 like a tick counter.
    virtual quint32 tickCount() const = 0;
    virtual void sleepMs(int ms) = 0;
};
