#include "sched/ScheduleScanner.h"

#include "app/MainState.h"
#include "sched/ScheduleEntry.h"

namespace ScheduleScanner {

QString failureText(const QString& detail)
{
    return QStringLiteral("Scheduler item ") + detail + QStringLiteral(" failed.");
}

void CheckSchedule(MainState& state, ScanActions& actions)
{
    using namespace ScheduleEntry;
    ::ScheduleList& list = state.ScheduleList;
    if (state.ScheduleCursor < 0)
        state.ScheduleCursor = 0;
    if (list.count() <= state.ScheduleCursor)
        return;
    const int now = state.CurrentHour * 100 + state.CurrentMinute;
    int setAside = 0;

    // The actions may run a nested scan that changes the list and the cursor, so both are
    // read afresh on every round.
    while (state.ScheduleCursor >= 0 && state.ScheduleCursor < list.count()) {
        if (actions.closing())
            break;
        const QString line = list.at(state.ScheduleCursor);
        const int time = timeNumber(line);
        const DayNumber day = dayNumber(line);
        if (!isWellFormed(line)) {
            // Such a line cannot be added or loaded; should one appear, step over it.
            ++state.ScheduleCursor;
            continue;
        }
        if (time > now)
            break;
        if (day > state.TodayDate) {
            ++state.ScheduleCursor;
            continue;
        }

        // Taken before firing: a failure box left open past midnight must not make a daily
        // item skip a day.
        const DayNumber today = state.TodayDate;
        const int h = hour(line);
        const int m = minute(line);
        const int type = typeCode(line);
        const QString fired = detail(line);
        // The re-added line keeps the whole stored detail, also beyond what is shown.
        const QString stored = line.mid(11);
        list.removeAt(state.ScheduleCursor);

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
    if (state.ScheduleCursor < 0)
        state.ScheduleCursor = 0;
}

} // namespace ScheduleScanner
