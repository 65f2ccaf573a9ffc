#pragma once

#include "core/DayNumber.h"
#include "rules/sched/ScheduleEntry.h"

#include <QDate>
#include <QLocale>
#include <QString>

// What the scheduler's item editor and quick reminder turn into a schedule line, and back.
// Kept free of widgets so the arithmetic can be checked without a window.
namespace EditorRules {

// The editor's eleven date options, in the order they stand in the window.
enum DateOption {
    Today = 0,
    OnDate,
    DailyFrom,
    WeeklyFrom,
    EachSunday,
    EachMonday,
    EachTuesday,
    EachWednesday,
    EachThursday,
    EachFriday,
    EachSaturday
};

// Window show states of a run item.
enum ShowState { ShowNormal = 1, ShowMinimized = 2, ShowMaximized = 3 };

// Day numbers that fit the line's five-character date field.
constexpr DayNumber MinDay = 0;                     // 30 December 1899
constexpr DayNumber MaxDay = ScheduleEntry::MaxDay; // 13 October 2173

// Everything the editor collects.
struct EditorValues {
    int hour = 0;
    int minute = 0;
    DayNumber date = 0; // the calendar's date
    int option = Today;
    bool runProgram = false;
    QString text; // reminder text
    QString program;
    QString parameters;
    QString startDir;
    int showState = ShowNormal;
};

int typeCodeForOption(int option);
// The option a stored type code selects; a one-shot opens as "On date:", never "Today".
int optionForTypeCode(int code);

// The first date on weekday code - 2 (1 = Sunday) within date's Sunday-to-Saturday week,
// moved on by whole weeks until it is not before today.
DayNumber eachWeekdayDate(DayNumber date, int code, DayNumber today);

// A line break cannot be stored in a line; each one (CR LF counted once) becomes a blank.
QString flattenLineBreaks(const QString& text);

QString reminderDetail(const QString& text);
QString runDetail(const QString& program, const QString& parameters, const QString& startDir,
                  int showState);

QString buildLine(const EditorValues& values, DayNumber today);
QString quickReminderLine(int hour, int minute, DayNumber today, const QString& text);

// The values a stored line loads into the editor (the date is the stored day number).
EditorValues valuesFromLine(const QString& line);

// Why a run item cannot be stored as entered: the field's caption ("Program", "Parameters",
// "Start Dir") and a message for the user. An empty field means it can be stored.
struct Refusal {
    QString field;
    QString message;
};
// Refuses a comma in any run field (commas separate the stored fields) and parameters the
// launcher could not split into the words typed (see ShellWords), so an item the editor
// accepts never fails for what the user wrote.
Refusal runItemRefusal(const EditorValues& values);

// The same day `months` months on; a day the target month lacks becomes its last day.
// The result stays within the dates a line can hold.
QDate stepMonth(const QDate& date, int months);
QDate minDate();
QDate maxDate();

// "January 2000": the full month name and the year.
QString monthYearLabel(const QDate& date, const QLocale& locale);

// Help topic: first three characters of caption and activity, e.g. "Add_Rem".
QString helpTopic(const QString& caption, const QString& activity);

// A spin field's text as its value: not a whole number reads as the minimum, others clamp.
int spinValue(const QString& text, int minimum, int maximum);

} // namespace EditorRules
