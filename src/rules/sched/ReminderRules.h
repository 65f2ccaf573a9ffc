#pragma once

#include "core/DayNumber.h"
#include "ports/ReminderRequest.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

class ScheduleList;

// Reminders asked for from outside the windows (the command line, the session bus): the TIME
// and TEXT a caller wrote, checked against a given now, turned into the line the quick reminder
// adds; the listing of the items still to come, and cancelling one by its name there.
namespace ReminderRules {

// "Reminder:" and the text fill the line's detail, which the reader takes up to 999 characters
// (code points).
inline constexpr int MaxTextLength = 990;
// A relative time reaches at most 365 days ahead; further is a typo rather than a plan.
inline constexpr int MaxMinutesAhead = 365 * 24 * 60;

struct When {
    DayNumber day = 0;
    int hour = 0;
    int minute = 0;
    // Why TIME was refused; empty when it was read.
    QString error;
};
// HH:MM (today, or tomorrow once that minute has passed), +Nm, +Nh, or YYYY-MM-DD HH:MM.
When parseTime(const QString& time, const QDateTime& now);

// Why TEXT cannot be a reminder's text; empty when it can.
QString textProblem(const QString& text);

// ID as given to cancel, folded to lower case; empty with `error` set when it is not one.
QString parseItemId(const QString& item, QString* error);

// A reminder the running clock showed, kept a while so that it can be snoozed by its ID.
struct Firing {
    QString id; // itemId() of its line as it stood before it fired
    QString text;
    QDateTime at;
};
// How long a fired reminder can be snoozed by its ID.
inline constexpr int SnoozeWindowHours = 24;
// The pop-up's snooze choices, in the order it offers them; the last one is tomorrow at the
// time the reminder fired.
inline constexpr int SnoozeChoices = 5;
inline constexpr int SnoozeTomorrow = 4;
// When a snooze by `choice` (0..4) made at `now` is due.
QDateTime snoozeDue(int choice, const QDateTime& now, const QDateTime& firedAt);

// DURATION of a snooze: Nm or Nh, a leading '+' allowed, from 1 minute to 365 days. The
// minutes; 0 with `error` set when it is not one.
int parseSnooze(const QString& duration, QString* error);

// The one-shot reminder with `text` due at `due`'s minute; empty when it cannot be kept.
QString snoozeLine(const QString& text, const QDateTime& due);

// What is wrong with the request before the schedule is looked at (exit status 2); empty
// when nothing is.
QString requestProblem(const ReminderRequest& request, const QDateTime& now);

// The line the quick reminder would add for this date; empty when the line would not read back
// as this reminder.
QString reminderLine(const When& when, const QString& text);

// The date an item is next due on: its own, or for an item whose date has passed without it
// firing (the clock was not running), the date the scan performs it on.
DayNumber nextDay(const QString& line, DayNumber today);
// The items in the order of the listing: by next date and time, then as the list holds them.
QStringList listed(const QStringList& lines, DayNumber today);
// "YYYY-MM-DD HH:MM<TAB>REPEAT<TAB>KIND<TAB>TEXT" for one item.
QString describe(const QString& line, DayNumber today);
// An item's name in the listing: 8 hexadecimal digits made from its line, so it stays while
// other items come and go; the line's letter case does not count, as the list holds no two
// lines that differ only in it.
QString itemId(const QString& line);
// One item as the listing shows it: itemId() + "<TAB>" + describe().
QString listingLine(const QString& line, DayNumber today);
// Every item, each as listingLine().
QStringList listing(const QStringList& lines, DayNumber today);

// What a request does to the list, so that it can be carried out, and undone after a failed
// save.
struct Applied {
    ReminderReply reply;
    QString added;   // the line to add, if any
    QString removed; // the line to cancel, if any
};
// What a Remind, List, Cancel or Snooze asks of `list`, which is left as it is (Show is the
// caller's); Schedule::apply carries it out. A snooze finds its item among `fired`.
Applied decide(const ScheduleList& list, const ReminderRequest& request, const QDateTime& now,
               const QList<Firing>& fired = {});

} // namespace ReminderRules
