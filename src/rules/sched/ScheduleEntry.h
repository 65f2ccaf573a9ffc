#pragma once

#include "core/DayNumber.h"

#include <QString>

// One schedule item as one fixed-layout text line:
// positions 1-2 hour, 3-4 minute, 5-9 day number (space-filled), 10-11 type, 12.. detail.
namespace ScheduleEntry {

enum ScheduleType {
    OneShot = 0,
    Daily = 1,
    Weekly = 2,
    EachSunday = 3,
    EachMonday,
    EachTuesday,
    EachWednesday,
    EachThursday,
    EachFriday,
    EachSaturday
};

constexpr int MaxDetail = 999;
constexpr DayNumber MaxDay = 99999; // the last date the five-character field holds

// The line for these fields; an empty text when a field does not fit its positions (hour
// 0..23, minute 0..59, day 0..99999, type 0..99), since a wider field would shift the others
// and the line would read as another item.
QString FormatScheduleEntry(int hour, int minute, DayNumber day, int type, const QString& detail);

// The text with every line break (CR LF, CR, LF, Unicode line and paragraph separators)
// turned into one blank: an entry must stay one line.
QString withoutLineBreaks(const QString& text);

// Field readers. Each reads its positions as a decimal integer (leading spaces allowed).
int hour(const QString& line);
int minute(const QString& line);
int timeNumber(const QString& line); // hour * 100 + minute
DayNumber dayNumber(const QString& line);
int typeCode(const QString& line);
QString detail(const QString& line); // positions 12.., at most 999 characters

// True when the line follows the layout closely enough to be scheduled.
bool isWellFormed(const QString& line);

// The text after the first ':' of a detail, at most 999 characters.
QString detailText(const QString& detail);

// What firing an item does, told by its detail's first three characters, upper-cased.
enum ItemKind { OtherItem = 0, ReminderItem = 1, RunItem = 4 };
ItemKind detailKind(const QString& detail);

struct RunDetail {
    QString program;
    QString parameters;
    QString directory;
    int showState = 0;
};
RunDetail ParseRunDetail(const QString& detail);

} // namespace ScheduleEntry
