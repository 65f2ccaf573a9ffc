#include "rules/sched/ScheduleScanner.h"

#include <QCoreApplication>
#include <QDateTime>

#include "core/ClockReading.h"
#include "rules/sched/Schedule.h"
#include "rules/sched/ScheduleEntry.h"

namespace ScheduleScanner {

QString failureText(const QString& detail)
{
    return QCoreApplication::translate("ScheduleScanner", "Scheduler item %1 failed.").arg(detail);
}

void CheckSchedule(Schedule& schedule, const ClockReading& clock, ScanActions& actions)
{
    using namespace ScheduleEntry;
    const int now = clock.CurrentHour * 100 + clock.CurrentMinute;
    int setAside = 0;

    // The actions may run a nested scan, or take requests that change the schedule, so the
    // cursor and the list are read afresh on every round.
    while (schedule.cursor() < schedule.count()) {
        if (actions.closing())
            break;
        const QString line = schedule.at(schedule.cursor());
        const int time = timeNumber(line);
        const DayNumber day = dayNumber(line);
        if (!isWellFormed(line)) {
            // Such a line cannot be added or loaded; should one appear, step over it.
            schedule.stepOver();
            continue;
        }
        if (time > now)
            break;
        if (day > clock.TodayDate) {
            schedule.stepOver();
            continue;
        }

        // Taken before firing: a failure box left open past midnight must not make a daily
        // item skip a day.
        const DayNumber today = clock.TodayDate;
        const int h = hour(line);
        const int m = minute(line);
        const int type = typeCode(line);
        const QString fired = detail(line);
        // The re-added line keeps the whole stored detail, also beyond what is shown.
        const QString stored = line.mid(11);
        schedule.removeAt(schedule.cursor());

        if (type <= Weekly || DayNumbers::weekday(today) == type - 2) {
            schedule.noteFired(line, QDateTime(DayNumbers::toDate(today),
                                               QTime(clock.CurrentHour, clock.CurrentMinute)));
            if (!actions.FireScheduleItem(fired) && !actions.closing())
                actions.ShowWarning(failureText(fired));
        }
        if (type >= Daily && type <= EachSaturday) {
            const QString next = type == Daily ? FormatScheduleEntry(h, m, today + 1, Daily, stored)
                                               : FormatScheduleEntry(h, m, day + 7, type, stored);
            // Past the last date a line can hold there is no next time; the item is kept
            // aside as it stood rather than stored with a date that reads as something else.
            if (next.isEmpty()) {
                schedule.setAside(line);
                ++setAside;
            } else {
                schedule.add(next);
            }
        }
        actions.SaveSchedule();
    }
    if (setAside > 0)
        actions.ReportSetAside(setAside);
}

} // namespace ScheduleScanner
