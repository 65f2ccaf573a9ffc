#pragma once

#include "ports/IClockSync.h"

// Reads the system time service's NTP switch and whether the clock is synchronised, over the
// system bus, the service LinuxClockSetter asks to set the clock.
class LinuxClockSync : public IClockSync {
public:
    // Long enough for the service to be started on demand; only a line of text waits for it.
    static constexpr int DefaultTimeoutMs = 10000;

    explicit LinuxClockSync(int timeoutMs = DefaultTimeoutMs) : m_timeoutMs(timeoutMs) {}

    void readState(QObject* context, std::function<void(State)> done) override;

private:
    int m_timeoutMs;
};
