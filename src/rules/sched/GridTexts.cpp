#include "rules/sched/GridTexts.h"

#include <QCoreApplication>

#include "core/DayNumber.h"
#include "rules/sched/ScheduleEntry.h"

namespace GridTexts {

QStringList headers()
{
    return {QCoreApplication::translate("GridTexts", "Time"),
            QCoreApplication::translate("GridTexts", "Date"),
            QCoreApplication::translate("GridTexts", "Type"),
            QCoreApplication::translate("GridTexts", "Detail")};
}

QString timeText(const QString& line)
{
    return line.left(2) + u':' + line.mid(2, 2);
}

QString dateText(const QString& line, const QLocale& locale)
{
    const QDate date = DayNumbers::toDate(ScheduleEntry::dayNumber(line));
    return locale.toString(date, QStringLiteral("ddMMMyy"));
}

QString typeText(int code, const QLocale& locale)
{
    switch (code) {
    case ScheduleEntry::OneShot:
        return QCoreApplication::translate("GridTexts", "One-shot");
    case ScheduleEntry::Daily:
        return QCoreApplication::translate("GridTexts", "Daily");
    case ScheduleEntry::Weekly:
        return QCoreApplication::translate("GridTexts", "Weekly");
    default:
        break;
    }
    if (code >= ScheduleEntry::EachSunday && code <= ScheduleEntry::EachSaturday) {
        // Our weekdays run 1 = Sunday .. 7 = Saturday; Qt's run 1 = Monday .. 7 = Sunday.
        const int weekday = code - 2;
        const int qtDay = weekday == 1 ? 7 : weekday - 1;
        //: The type of an item due on one weekday; %1 is the abbreviated day name ("Mon").
        return QCoreApplication::translate("GridTexts", "Each %1")
            .arg(locale.dayName(qtDay, QLocale::ShortFormat));
    }
    // Never written by the program; only a hand-edited file holds one.
    return QCoreApplication::translate("GridTexts", "Unknown");
}

QString detailText(const QString& line)
{
    const QString detail = ScheduleEntry::detail(line);
    for (const char* prefix :
         {QT_TRANSLATE_NOOP("GridTexts", "Reminder:"), QT_TRANSLATE_NOOP("GridTexts", "Run:")}) {
        const QString english = QLatin1String(prefix);
        if (detail.startsWith(english))
            return QCoreApplication::translate("GridTexts", prefix) + detail.mid(english.size());
    }
    return detail;
}

QStringList rowTexts(const QString& line, const QLocale& locale)
{
    return {timeText(line), dateText(line, locale), typeText(ScheduleEntry::typeCode(line), locale),
            detailText(line)};
}

} // namespace GridTexts
