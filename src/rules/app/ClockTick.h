#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

struct ClockReading;
struct SettingsInForce;
struct TickState;
class ISound;
class Schedule;

// What the once-a-second tick shows: the clock face, its date line and the tray tip.
class ClockFace {
public:
    virtual ~ClockFace() = default;
    virtual void setHoursFormatWidth(int width) = 0;
    virtual void setHoursValue(int value) = 0;
    virtual void setMinutesValue(int value) = 0;
    virtual QString dateLine() const = 0;
    virtual void setDateLine(const QString& text) = 0;
    virtual void setColon(bool shown) = 0;
    // The tray icon's tip.
    virtual void setTrayTip(const QString& tip) = 0;
    // Shows the hidden panel again and brings it to the front.
    virtual void showAndRaise() = 0;
};

// The work the tick hands elsewhere: one performance sample, the scheduler scan, the automatic
// time update (started only when the connection window is present).
class TickWork {
public:
    virtual ~TickWork() = default;
    virtual void UpdateStatus() = 0;
    virtual void CheckSchedule() = 0;
    virtual bool connectionWindowPresent(const QString& title) = 0;
    virtual void BeginTimeUpdate() = 0;
};

// The clock tick and the time display.
class ClockTick {
public:
    // Writes the tick's state and the decoded time; has the scan start from the top whenever
    // the date is shown afresh.
    ClockTick(TickState& tick, ClockReading& clock, const SettingsInForce& settings,
              Schedule& schedule, ClockFace& face, TickWork& work, ISound& sound);

    // One timer tick at `now` (local time).
    void TimerTimer(const QDateTime& now);
    // Updates the display for `now`; called by every tick and once at start-up.
    void UpdateTime(const QDateTime& now);
    void SetDisplayFormat(bool use12Hour);

    // The hour as shown: 0..23, or 1..12 in the 12-hour form.
    static int displayHour(int hour, bool use12Hour);
    static QString longDate(const QDate& date);
    // The user's short time format, always hours and minutes only.
    static QString shortTime(const QTime& time);
    // A time format with its seconds (and anything finer) taken out, with their separators.
    static QString withoutSeconds(const QString& format);

private:
    void chime(qint64 hourStart);

    TickState& m_tick;
    ClockReading& m_clock;
    const SettingsInForce& m_settings;
    Schedule& m_schedule;
    ClockFace& m_face;
    TickWork& m_work;
    ISound& m_sound;
    // The hours chimed lately, by their start in seconds since the epoch: a clock set back does
    // not chime an hour again, while the hour repeated when summer time ends is a new one.
    QList<qint64> m_chimed;
    // Date, hour and minute last drawn, in minutes.
    qint64 m_lastStampShown = -1;
};
