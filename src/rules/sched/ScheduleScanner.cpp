#include "rules/sched/ScheduleScanner.h"

#include <QCoreApplication>

#include "core/ClockReading.h"
#include "rules/sched/ScheduleEntry.h"
#include "rules/sched/SchedulerState.h"

namespace ScheduleScanner {

QString failureText(const QString& detail)
{
    return QCoreApplication::translate("ScheduleScanner", "Scheduler item %1 failed.").arg(detail);
}

void CheckSchedule(SchedulerState& sched, const ClockReading& clock, ScanActions& actions)
{
    using namespace ScheduleEntry;
    ::ScheduleList& list = sched.ScheduleList;
    if (sched.ScheduleCursor < 0)
        sched.ScheduleCursor = 0;
    if (list.count() <= sched.ScheduleCursor)
        return;
    const int now = clock.CurrentHour * 100 + clock.CurrentMinute;
    int setAside = 0;

    // The actions may run a nested scan that changes the list and the cursor, so both are
    // read afresh on every round.
    while (sched.ScheduleCursor >= 0 && sched.ScheduleCursor < list.count()) {
        if (actions.closing())
            break;
        const QString line = list.at(sched.ScheduleCursor);
        const int time = timeNumber(line);
        const DayNumber day = dayNumber(line);
        if (!isWellFormed(line)) {
            // Such a line cannot be added or loaded; should one appear, step over it.
            ++sched.ScheduleCursor;
            continue;
        }
        if (time > now)
            break;
        if (day > clock.TodayDate) {
            ++sched.ScheduleCursor;
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
        list.removeAt(sched.ScheduleCursor);

        if (type <= Weekly || DayNumbers::weekday(today) == type - 2) {
            if (!actions.FireScheduleItem(fired) && !actions.closing())
                actions.ShowWarning(failureText(fired));
        }
        if (type >= Daily && type <= EachSaturday) {
            const QString next = type == Daily ? FormatScheduleEntry(h, m, today + 1, Daily, stored)
                                               : FormatScheduleEntry(h, m, day + 7, type, stored);
            // Past the last date a line can hold there is no next time; the item is kept
            // aside as it stood rather than stored with a date that reads as something else.
            if (next.isEmpty()) {
                list.setAside(line);
                ++setAside;
            } else {
                list.add(next);
            }
        }
        actions.SaveSchedule();
    }
    if (setAside > 0)
        actions.ReportSetAside(setAside);
    if (sched.ScheduleCursor < 0)
        sched.ScheduleCursor = 0;
}

} // namespace ScheduleScanner
