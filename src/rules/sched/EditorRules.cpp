#include "rules/sched/EditorRules.h"

#include <QCoreApplication>

#include "core/ShellWords.h"
#include "rules/sched/ScheduleEntry.h"

#include <algorithm>

namespace EditorRules {

int typeCodeForOption(int option)
{
    switch (option) {
    case Today:
    case OnDate:
        return ScheduleEntry::OneShot;
    case DailyFrom:
        return ScheduleEntry::Daily;
    case WeeklyFrom:
        return ScheduleEntry::Weekly;
    default:
        break;
    }
    if (option >= EachSunday && option <= EachSaturday)
        return ScheduleEntry::EachSunday + (option - EachSunday);
    return ScheduleEntry::OneShot;
}

int optionForTypeCode(int code)
{
    switch (code) {
    case ScheduleEntry::Daily:
        return DailyFrom;
    case ScheduleEntry::Weekly:
        return WeeklyFrom;
    default:
        break;
    }
    if (code >= ScheduleEntry::EachSunday && code <= ScheduleEntry::EachSaturday)
        return EachSunday + (code - ScheduleEntry::EachSunday);
    // One-shot, and codes the program never writes: edited as a dated one-shot.
    return OnDate;
}

DayNumber eachWeekdayDate(DayNumber date, int code, DayNumber today)
{
    DayNumber result = date + (code - 2) - DayNumbers::weekday(date);
    while (result < today)
        result += 7;
    // Past the last storable date the field would widen and shift the detail.
    while (result > MaxDay)
        result -= 7;
    return result;
}

QString flattenLineBreaks(const QString& text)
{
    return ScheduleEntry::withoutLineBreaks(text);
}

QString reminderDetail(const QString& text)
{
    return QStringLiteral("Reminder:") + flattenLineBreaks(text);
}

QString runDetail(const QString& program, const QString& parameters, const QString& startDir,
                  int showState)
{
    return QStringLiteral("Run:") + flattenLineBreaks(program) + u',' +
           flattenLineBreaks(parameters) + u',' + flattenLineBreaks(startDir) + u',' +
           QString::number(showState);
}

QString buildLine(const EditorValues& values, DayNumber today)
{
    const int code = typeCodeForOption(values.option);
    DayNumber date = std::clamp(values.date, MinDay, MaxDay);
    if (code >= ScheduleEntry::EachSunday && code <= ScheduleEntry::EachSaturday)
        date = eachWeekdayDate(date, code, today);
    int state = values.showState;
    if (state != ShowMinimized && state != ShowMaximized)
        state = ShowNormal;
    const QString detail =
        values.runProgram ? runDetail(values.program, values.parameters, values.startDir, state)
                          : reminderDetail(values.text);
    return ScheduleEntry::FormatScheduleEntry(std::clamp(values.hour, 0, 23),
                                              std::clamp(values.minute, 0, 59), date, code, detail);
}

QString quickReminderLine(int hour, int minute, DayNumber today, const QString& text)
{
    return ScheduleEntry::FormatScheduleEntry(std::clamp(hour, 0, 23), std::clamp(minute, 0, 59),
                                              today, ScheduleEntry::OneShot, reminderDetail(text));
}

EditorValues valuesFromLine(const QString& line)
{
    EditorValues v;
    v.hour = std::clamp(ScheduleEntry::hour(line), 0, 23);
    v.minute = std::clamp(ScheduleEntry::minute(line), 0, 59);
    v.date = std::clamp(ScheduleEntry::dayNumber(line), MinDay, MaxDay);
    v.option = optionForTypeCode(ScheduleEntry::typeCode(line));
    const QString detail = ScheduleEntry::detail(line);
    if (ScheduleEntry::detailKind(detail) == ScheduleEntry::RunItem) {
        v.runProgram = true;
        const ScheduleEntry::RunDetail run = ScheduleEntry::ParseRunDetail(detail);
        v.program = run.program;
        v.parameters = run.parameters;
        v.startDir = run.directory;
        v.showState = (run.showState == ShowMinimized || run.showState == ShowMaximized)
                          ? run.showState
                          : ShowNormal;
    } else {
        v.text = ScheduleEntry::detailText(detail);
    }
    return v;
}

Refusal runItemRefusal(const EditorValues& values)
{
    if (!values.runProgram)
        return {};
    // The field goes by its English caption; the message names it as the window shows it.
    const auto comma = [](const QString& field, const char* shown) {
        return Refusal{
            field, QCoreApplication::translate("EditorRules",
                                               "The %1 field contains a comma. A scheduled program "
                                               "cannot be stored with a comma in its program, "
                                               "parameters or start directory; please remove it.")
                       .arg(QCoreApplication::translate("EditorRules", shown))};
    };
    if (values.program.contains(u','))
        return comma(QStringLiteral("Program"), QT_TRANSLATE_NOOP("EditorRules", "Program"));
    if (values.parameters.contains(u','))
        return comma(QStringLiteral("Parameters"), QT_TRANSLATE_NOOP("EditorRules", "Parameters"));
    if (values.startDir.contains(u','))
        return comma(QStringLiteral("Start Dir"), QT_TRANSLATE_NOOP("EditorRules", "Start Dir"));

    // The launcher splits what is stored, so check the text as it will be stored.
    const QString parameters = flattenLineBreaks(values.parameters);
    const ShellWords::Result words = ShellWords::split(parameters);
    switch (words.problem) {
    case ShellWords::Problem::None:
        break;
    case ShellWords::Problem::UnclosedQuote: {
        const QString quote = parameters.mid(words.position, 1);
        const QString other = quote == u'"' ? QStringLiteral("'") : QStringLiteral("\"");
        return {QStringLiteral("Parameters"),
                QCoreApplication::translate(
                    "EditorRules",
                    "The Parameters field has a quote (%1) that is not closed, so the "
                    "program could never be started. Put a backslash before a quote "
                    "that belongs to a word (O\\%1Brien), or enclose the word in the "
                    "other kind of quotes (%2O%1Brien%2).")
                    .arg(quote, other)};
    }
    case ShellWords::Problem::BackslashBeforeLetter:
        return {QStringLiteral("Parameters"),
                QCoreApplication::translate(
                    "EditorRules", "The Parameters field has a backslash before a letter or digit "
                                   "(%1), which would not reach the program. Write \\\\ for a "
                                   "backslash, or enclose the word in single quotes "
                                   "('C:\\Temp\\new').")
                    .arg(parameters.mid(words.position, 2))};
    }
    return {};
}

QDate minDate()
{
    return DayNumbers::toDate(MinDay);
}
QDate maxDate()
{
    return DayNumbers::toDate(MaxDay);
}

QDate stepMonth(const QDate& date, int months)
{
    if (!date.isValid())
        return date;
    int year = date.year();
    int month = date.month() + months;
    // Whole years first, then the month within 1..12.
    year += (month - 1 >= 0) ? (month - 1) / 12 : -((12 - month) / 12);
    month = ((month - 1) % 12 + 12) % 12 + 1;
    const int day = std::min(date.day(), QDate(year, month, 1).daysInMonth());
    return std::clamp(QDate(year, month, day), minDate(), maxDate());
}

QString monthYearLabel(const QDate& date, const QLocale& locale)
{
    return locale.standaloneMonthName(date.month(), QLocale::LongFormat) + u' ' +
           QString::number(date.year());
}

QString helpTopic(const QString& caption, const QString& activity)
{
    return caption.left(3) + u'_' + activity.left(3);
}

int spinValue(const QString& text, int minimum, int maximum)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    if (!ok)
        return minimum;
    return std::clamp(value, minimum, maximum);
}

} // namespace EditorRules
