#pragma once

#include "rules/sched/ScheduleEntry.h"

#include <QStringList>

// The two schedules the save loop alternates between; they differ in length and content, so a
// mix or a cut of them is never mistaken for either.
namespace CrashLists {

inline QStringList lines(int which)
{
    QStringList out;
    const int n = which == 0 ? 3000 : 4500;
    for (int i = 0; i < n; ++i) {
        out << ScheduleEntry::FormatScheduleEntry(
            i % 24, (i * 7) % 60, 36526 + i % 500, i % 10,
            QString("Reminder:list %1 item %2 \u00e9t\u00e9").arg(which).arg(i));
    }
    return out;
}

} // namespace CrashLists
