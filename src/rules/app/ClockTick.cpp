#include "rules/app/ClockTick.h"

#include "core/ClockReading.h"
#include "ports/ISound.h"
#include "rules/app/TickState.h"
#include "rules/sched/Schedule.h"
#include "rules/settings/SettingsInForce.h"
#include "rules/settings/SettingsTable.h"

#include <QLocale>

ClockTick::ClockTick(TickState& tick, ClockReading& clock, const SettingsInForce& settings,
                     Schedule& schedule, ClockFace& face, TickWork& work, ISound& sound)
    : m_tick(tick), m_clock(clock), m_settings(settings), m_schedule(schedule), m_face(face),
      m_work(work), m_sound(sound)
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
    // Some locales' short format (the C locale's among them) carries seconds, which would
    // stand still at ":00" in a tip written once a minute.
    const QLocale locale = QLocale::system();
    return locale.toString(time, withoutSeconds(locale.timeFormat(QLocale::ShortFormat)));
}

QString ClockTick::withoutSeconds(const QString& format)
{
    QString out;
    qsizetype separatorAt = -1; // where the text after the last field kept begins
    for (qsizetype i = 0; i < format.size();) {
        const QChar c = format[i];
        qsizetype end = i + 1;
        if (c == QLatin1Char('\'')) {
            end = format.indexOf(QLatin1Char('\''), i + 1);
            end = end < 0 ? format.size() : end + 1;
        } else if (c.isLetter()) {
            while (end < format.size() && format[end] == c)
                ++end;
        }
        if (c == QLatin1Char('s') || c == QLatin1Char('z')) {
            if (separatorAt >= 0)
                out.truncate(separatorAt);
        } else if (c.isLetter()) {
            out += format.mid(i, end - i);
            separatorAt = -1;
        } else {
            if (separatorAt < 0)
                separatorAt = out.size();
            out += format.mid(i, end - i);
        }
        i = end;
    }
    return out;
}

void ClockTick::SetDisplayFormat(bool use12Hour)
{
    m_face.setHoursFormatWidth(use12Hour ? 0 : 2);
}

void ClockTick::TimerTimer(const QDateTime& now)
{
    --m_tick.DateLineCountdown;
    UpdateTime(now);
    if (--m_tick.HideCountdown == 0)
        m_face.showAndRaise();
    if (--m_tick.SampleCountdown == 0) {
        m_work.UpdateStatus();
        m_tick.SampleCountdown = m_settings.UpdateInterval;
    }
}

void ClockTick::UpdateTime(const QDateTime& now)
{
    const QTime t = now.time();
    m_clock.CurrentHour = static_cast<quint16>(t.hour());
    m_clock.CurrentMinute = static_cast<quint16>(t.minute());
    m_clock.CurrentSecond = static_cast<quint16>(t.second());
    m_clock.CurrentMillisecond = static_cast<quint16>(t.msec());
    m_clock.TodayDate = DayNumbers::fromDate(now.date());

    const int hourShown = displayHour(m_clock.CurrentHour, m_settings.Use12Hour);

    if (m_tick.DateLineCountdown == 0 || m_clock.TodayDate != m_tick.LastDateShown) {
        m_face.setDateLine(longDate(now.date()));
        m_schedule.resetCursor();
        m_tick.LastDateShown = m_clock.TodayDate;
    }

    // The minute steps run on a new minute, and also when the clock was set by whole hours
    // or days (the minute alone would not change then).
    const qint64 stamp =
        (qint64(m_clock.TodayDate) * 24 + m_clock.CurrentHour) * 60 + m_clock.CurrentMinute;
    const qint64 hourStart =
        now.toSecsSinceEpoch() - m_clock.CurrentMinute * 60 - m_clock.CurrentSecond;
    if (m_tick.LastMinuteShown == TickState::ForceMinuteSteps)
        m_chimed.removeAll(hourStart); // a forced redraw repeats the chime, as the other steps
    if (m_tick.LastMinuteShown != m_clock.CurrentMinute || stamp != m_lastStampShown) {
        m_lastStampShown = stamp;
        m_face.setHoursValue(hourShown);
        m_face.setMinutesValue(m_clock.CurrentMinute);
        m_face.setTrayTip((shortTime(t) + QLatin1Char(' ') + m_face.dateLine()).left(255));
        // Marked done before the slow steps: they pump messages, and a tick handled
        // meanwhile must not repeat them.
        m_tick.LastMinuteShown = m_clock.CurrentMinute;
        if (m_clock.CurrentMinute == 0)
            chime(hourStart);
        if (m_schedule.scanAllowed())
            m_work.CheckSchedule();
        if (m_settings.AutoUpdate && !m_settings.InternetWindowTitle.isEmpty() &&
            !m_settings.TimeServerHost.isEmpty() &&
            m_work.connectionWindowPresent(m_settings.InternetWindowTitle))
            m_work.BeginTimeUpdate();
    }

    m_face.setColon(m_tick.ColonShown);
    m_tick.ColonShown = !m_tick.ColonShown;
}

void ClockTick::chime(qint64 hourStart)
{
    if (m_chimed.contains(hourStart))
        return;
    // A day's hours, and the repeated one of the day summer time ends.
    if (m_chimed.size() == 25)
        m_chimed.removeFirst();
    m_chimed.append(hourStart);
    if (m_settings.ChimeMode == Settings::SoundMode::Beep)
        m_sound.beep();
    else if (m_settings.ChimeMode == Settings::SoundMode::File)
        m_sound.playAsync(m_settings.ChimeSound);
}
