#include "app/ClockTick.h"

#include "app/MainState.h"
#include "platform/ISound.h"
#include "settings/SettingsTable.h"

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
    const qint64 hourStart = now.toSecsSinceEpoch() - s.CurrentMinute * 60 - s.CurrentSecond;
    if (s.LastMinuteShown == 99)
        m_chimed.removeAll(hourStart); // a forced redraw repeats the chime, as the other steps
    if (s.LastMinuteShown != s.CurrentMinute || stamp != m_lastStampShown) {
        m_lastStampShown = stamp;
        m_face.setHoursValue(hourShown);
        m_face.setMinutesValue(s.CurrentMinute);
        m_face.setTrayTip((shortTime(t) + QLatin1Char(' ') + m_face.dateLine()).left(255));
        // Marked done before the slow steps: they pump messages, and a tick handled
        // meanwhile must not repeat them.
        s.LastMinuteShown = s.CurrentMinute;
        if (s.CurrentMinute == 0)
            chime(hourStart);
        if (s.StartupComplete && !s.SchedulerSuspended)
            m_face.CheckSchedule();
        if (s.AutoUpdate && !s.InternetWindowTitle.isEmpty() && !s.TimeServerHost.isEmpty() &&
            m_face.connectionWindowPresent(s.InternetWindowTitle))
            m_face.BeginTimeUpdate();
    }

    m_face.setColon(s.ColonShown);
    s.ColonShown = !s.ColonShown;
}

void ClockTick::chime(qint64 hourStart)
{
    if (m_chimed.contains(hourStart))
        return;
    // A day's hours, and the repeated one of the day summer time ends.
    if (m_chimed.size() == 25)
        m_chimed.removeFirst();
    m_chimed.append(hourStart);
    if (m_state.ChimeMode == Settings::SoundMode::Beep)
        m_sound.beep();
    else if (m_state.ChimeMode == Settings::SoundMode::File)
        m_sound.playAsync(m_state.ChimeSound);
}
