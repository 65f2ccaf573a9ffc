#pragma once

#include "core/ClockReading.h"
#include "rules/app/TickState.h"
#include "rules/perf/PerfTotals.h"
#include "rules/settings/SettingsInForce.h"

#include <QString>

// Where the program's files are.
struct FileNames {
    QString ScheduleFileName;
    QString ProgramDirectory;
    QString HelpFile;
};

// The program-wide state owned by the panel's controller, one slice per area; the schedule is an
// object of its own (Schedule). One thread uses it; each part of the program is handed only the
// slices it reads or writes.
struct MainState {
    FileNames files;
    SettingsInForce settings;
    ClockReading clock;
    TickState tick;
    PerfTotals perf;
};
