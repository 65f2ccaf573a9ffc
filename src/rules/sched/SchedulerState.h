#pragma once

#include "rules/sched/ScheduleList.h"

// The scheduler's items and where the scan has got to today.
struct SchedulerState {
    ::ScheduleList ScheduleList;
    // The first item the scan has not yet passed; the tick resets it on a new day.
    qint32 ScheduleCursor = 0;
    bool StartupComplete = false;
    // Set while the scheduler list is open, so the scan leaves the items alone.
    bool SchedulerSuspended = false;
};
