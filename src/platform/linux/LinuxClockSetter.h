#pragma once

#include "ports/IClockSetter.h"

#include <QtGlobal>

#include <optional>

class IClock;

// Sets the clock directly when this process may; otherwise asks the system's time service over
// D-Bus, interactively, so the desktop can ask the user to authorise it. That question may take
// a while, so the answer is awaited with the event loop running.
class LinuxClockSetter : public IClockSetter {
public:
    // A user typing a password needs the time; the service itself allows for the time spent
    // authorising.
    static constexpr int DefaultTimeoutMs = 30000;

    // `clock` says when "now" is, for a wall time that occurs twice; the system's if none.
    explicit LinuxClockSetter(int timeoutMs = DefaultTimeoutMs, const IClock* clock = nullptr);

    bool SetLocalTime(const SystemTimeRecord& local) override;
    bool SetSystemTime(const SystemTimeRecord& utc) override;
    QString refusalReason() const override { return m_reason; }
    bool busy() const override { return m_busy; }

    // Milliseconds since 1970 UTC of a wall time in the system's time zone. A time that summer
    // time skips has none (`skipped` is then set). One that occurs twice is taken with the
    // offset in force at `nowSeconds` (since 1970 UTC), the earlier if neither is in force.
    static std::optional<qint64> localToUtcMs(const SystemTimeRecord& local, qint64 nowSeconds,
                                              bool* skipped = nullptr);
    static std::optional<qint64> utcToMs(const SystemTimeRecord& utc);

private:
    bool setUtcMs(qint64 ms);
    bool askTimeService(qint64 usec);

    int m_timeoutMs;
    const IClock* m_clock;
    bool m_busy = false;
    QString m_reason;
};
