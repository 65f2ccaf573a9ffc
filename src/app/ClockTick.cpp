#include "app/ClockTick.h"

#include "app/MainState.h"
#include "platform/ISound.h"

#include <QLocale>

ClockTick::ClockTick(MainState& state, ClockFace& face, ISound& sound)
    : m_state(state), m_face(face), m_sound(sound)
{
}

int ClockTick::displayHour(int hour, bool use12Hour)
{
    if (!use12Hour)
        return hour;
    if (hour == 0)
        return 12;
    return hour > 12 ? hour - 12 : hour;
}

QString ClockTick::longDate(const QDate& date)
{
    return QLocale::system().toString(date, QLocale::LongFormat);
}

QString ClockTick::shortTime(const QTime& time)
{
    return QLocale::system().toString(time, QLocale::ShortFormat);
}

void ClockTick::SetDisplayFormat(bool use12Hour)
{
    m_face.setHoursFormatWidth(use12Hour ? 0 : 2);
}

void ClockTick::TimerTimer(const QDateTime& now)
{
    MainState& s = m_state;
    --s.DateLineCountdown;
    UpdateTime(now);
    if (--s.HideCountdown == 0)
        m_face.showAndRaise();
    if (--s.SampleCountdown == 0) {
        m_face.UpdateStatus();
        s.SampleCountdown = s.UpdateInterval;
    }
}

void ClockTick::UpdateTime(const QDateTime& now)
{
    MainState& s = m_state;
    const QTime t = now.time();
    s.CurrentHour = static_cast<quint16>(t.hour());
    s.CurrentMinute = static_cast<quint16>(t.minute());
    s.CurrentSecond = static_cast<quint16>(t.second());
    s.CurrentMillisecond = static_cast<quint16>(t.msec());
    s.TodayDate = DayNumbers::fromDate(now.date());

    const int hourShown = displayHour(s.CurrentHour, s.Use12Hour);

    if (s.DateLineCountdown == 0 || s.TodayDate != s.LastDateShown) {
        m_face.setDateLine(longDate(now.date()));
        s.ScheduleCursor = 0;
        s.LastDateShown = s.TodayDate;
    }

    // The minute steps run on a new minute, and also when the clock was set by whole hours
    // or days (the minute alone would not change then).
    const qint64 stamp = (qint64(s.TodayDate) * 24 + s.CurrentHour) * 60 + s.CurrentMinute;
    if (s.LastMinuteShown == 99)
        m_lastChime = -1; // a forced redraw repeats the chime, as it repeats the other steps
    if (s.LastMinuteShown != s.CurrentMinute || stamp != m_lastStampShown) {
        m_lastStampShown = stamp;
        m_face.setHoursValue(hourShown);
        m_face.setMinutesValue(s.CurrentMinute);
        m_face.setToolTip((shortTime(t) + QLatin1Char(' ') + m_face.dateLine()).left(255));
        // Marked done before the slow steps: they pump messages, and a tick handled
        // meanwhile must not repeat them.
        s.LastMinuteShown = s.CurrentMinute;
        if (s.CurrentMinute == 0)
            chime(qint64(s.TodayDate) * 24 + s.CurrentHour);
        if (s.StartupComplete && !s.SchedulerSuspended)
            m_face.CheckSchedule();
        if (s.AutoUpdate && !s.InternetWindowTitle.isEmpty() && !s.TimeServerHost.isEmpty() &&
            m_face.connectionWindowPresent(s.InternetWindowTitle))
            m_face.BeginTimeUpdate();
    }

    m_face.setColon(s.ColonShown);
    s.ColonShown = !s.ColonShown;
}

void ClockTick::chime(qint64 hourStamp)
{
    if (hourStamp == m_lastChime)
        return;
    m_lastChime = hourStamp;
    if (m_state.ChimeMode == 1)
        m_sound.beep();
    else if (m_state.ChimeMode == 2)
        m_sound.playAsync(m_state.ChimeSound);
}
