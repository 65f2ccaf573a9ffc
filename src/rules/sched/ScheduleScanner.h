#pragma once

#include <QString>

struct ClockReading;
class Schedule;

// What the scan asks of the program while it handles due items. Any of these may process
// events, so a nested scan can run inside them.
class ScanActions {
public:
    virtual ~ScanActions() = default;
    // Performs one item; true when it was performed.
    virtual bool FireScheduleItem(const QString& detail) = 0;
    virtual void ShowWarning(const QString& text) = 0;
    // Writes the schedule file after each handled item.
    virtual void SaveSchedule() = 0;
    // Recurring items whose next date their line cannot hold were set aside, as they stood,
    // instead of coming back with a date that would change their meaning.
    virtual void ReportSetAside(int count) = 0;
    // True once the program is ending: the item in hand is finished and saved, the rest wait
    // for the next start, so nothing fires that nobody will see.
    virtual bool closing() const { return false; }
};

namespace ScheduleScanner {

// The per-minute scan: walks the schedule from its cursor and handles every line that has come
// due by `clock`, stopping at the first line whose time of day is still ahead.
void CheckSchedule(Schedule& schedule, const ClockReading& clock, ScanActions& actions);

// The warning shown when an item could not be performed.
QString failureText(const QString& detail);

} // namespace ScheduleScanner
