#include "rules/sched/ReminderRules.h"

#include "core/LosslessText.h"
#include "rules/sched/EditorRules.h"
#include "rules/sched/ScheduleEntry.h"
#include "rules/sched/ScheduleList.h"

#include <QCryptographicHash>
#include <QRegularExpression>

#include <algorithm>
#include <vector>

namespace ReminderRules {

namespace {

// Bidirectional embeddings, overrides and isolates reorder what follows them, so a text could
// show as something else than it says ("invoice \u202Efdp.exe" reads "invoice exe.pdf").
bool isBidiControl(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 0x202A && u <= 0x202E) || (u >= 0x2066 && u <= 0x2069);
}

bool isLineBreakOrControl(QChar c)
{
    return c.category() == QChar::Other_Control || c == QChar(0x2028) || c == QChar(0x2029) ||
           isBidiControl(c);
}

// TIME is echoed in a refusal only when it is short and plain, so the refusal stays one
// readable line whatever was typed.
QString timeRefusal(const QString& time, const QString& why)
{
    const bool plain = time.size() <= 32 && std::all_of(time.begin(), time.end(), [](QChar c) {
                           return c.unicode() >= 0x20 && c.unicode() < 0x7f;
                       });
    const QString shown = plain ? QStringLiteral(" '%1'").arg(time) : QString();
    return QStringLiteral("horolux: TIME%1 %2").arg(shown, why);
}

int minuteOfDay(const QTime& t)
{
    return t.hour() * 60 + t.minute();
}

When atDayAndTime(DayNumber day, int hour, int minute)
{
    When w;
    w.day = day;
    w.hour = hour;
    w.minute = minute;
    return w;
}

When refused(const QString& error)
{
    When w;
    w.error = error;
    return w;
}

} // namespace

When parseTime(const QString& time, const QDateTime& now)
{
    // ASCII digits only: \d would also take other scripts' digits. Anchored with \A and \z,
    // since $ would also match before a final line break.
    static const QRegularExpression clockForm(QStringLiteral("\\A([0-9]{1,2}):([0-9]{2})\\z"));
    static const QRegularExpression relativeForm(QStringLiteral("\\A\\+([0-9]{1,7})([mh])\\z"));
    static const QRegularExpression dateForm(
        QStringLiteral("\\A([0-9]{4})-([0-9]{2})-([0-9]{2}) ([0-9]{1,2}):([0-9]{2})\\z"));
    const DayNumber today = DayNumbers::fromDate(now.date());
    const QString outOfDay = QStringLiteral("is not a time of day (00:00 to 23:59)");

    if (const auto m = clockForm.match(time); m.hasMatch()) {
        const int hour = m.captured(1).toInt();
        const int minute = m.captured(2).toInt();
        if (hour > 23 || minute > 59)
            return refused(timeRefusal(time, outOfDay));
        // The minute now running has not passed yet: it is still today's.
        const bool passed = hour * 60 + minute < minuteOfDay(now.time());
        return atDayAndTime(passed ? today + 1 : today, hour, minute);
    }
    if (const auto m = relativeForm.match(time); m.hasMatch()) {
        const qint64 minutes = m.captured(1).toLongLong() * (m.captured(2) == u'h' ? 60 : 1);
        if (minutes < 1)
            return refused(timeRefusal(time, QStringLiteral("must lie ahead")));
        if (minutes > MaxMinutesAhead)
            return refused(timeRefusal(time, QStringLiteral("lies more than 365 days ahead")));
        const QDateTime at = now.addSecs(minutes * 60);
        return atDayAndTime(DayNumbers::fromDate(at.date()), at.time().hour(), at.time().minute());
    }
    if (const auto m = dateForm.match(time); m.hasMatch()) {
        const QDate date(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
        const int hour = m.captured(4).toInt();
        const int minute = m.captured(5).toInt();
        if (!date.isValid())
            return refused(timeRefusal(time, QStringLiteral("names no date of the calendar")));
        if (hour > 23 || minute > 59)
            return refused(timeRefusal(time, outOfDay));
        const DayNumber day = DayNumbers::fromDate(date);
        if (day < today || (day == today && hour * 60 + minute < minuteOfDay(now.time())))
            return refused(timeRefusal(time, QStringLiteral("has passed")));
        if (day > EditorRules::MaxDay)
            return refused(timeRefusal(time, QStringLiteral("lies beyond 2173-10-13")));
        return atDayAndTime(day, hour, minute);
    }
    return refused(
        timeRefusal(time, QStringLiteral("must be HH:MM, +Nm, +Nh or 'YYYY-MM-DD HH:MM'")));
}

QString textProblem(const QString& text)
{
    if (text.trimmed().isEmpty())
        return QStringLiteral("horolux: TEXT is empty");
    // Counted in code points, as the reader counts the line's detail: a character outside the
    // basic plane (an emoji) is one, not two.
    const QString tooLong =
        QStringLiteral("horolux: TEXT is longer than %1 characters").arg(MaxTextLength);
    if (text.size() > 2 * MaxTextLength)
        return tooLong;
    qsizetype characters = 0;
    for (qsizetype i = 0; i < text.size(); ++i, ++characters)
        if (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            ++i;
    if (characters > MaxTextLength)
        return tooLong;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        // A control character or line break would split the line or hide in it.
        if (isLineBreakOrControl(c))
            return QStringLiteral("horolux: TEXT holds a control character or line break");
        // A lone surrogate stands for a byte that is not UTF-8 (see LosslessText).
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            ++i;
        else if (c.isSurrogate())
            return QStringLiteral("horolux: TEXT is not valid UTF-8");
    }
    return {};
}

QString parseItemId(const QString& item, QString* error)
{
    static const QRegularExpression id(QStringLiteral("^[0-9a-fA-F]{8}$"));
    if (id.match(item).hasMatch())
        return item.toLower();
    if (error)
        *error = QStringLiteral("horolux: ID must be an item's ID from 'horolux --list'");
    return {};
}

QDateTime snoozeDue(int choice, const QDateTime& now, const QDateTime& firedAt)
{
    static constexpr int minutes[] = {5, 10, 30, 60};
    if (choice == SnoozeTomorrow) {
        // A pop-up left open for more than a day still snoozes to a time ahead.
        QDateTime due = firedAt.addDays(1);
        while (due.isValid() && due <= now)
            due = due.addDays(1);
        return due;
    }
    return now.addSecs(qint64(minutes[std::clamp(choice, 0, 3)]) * 60);
}

int parseSnooze(const QString& duration, QString* error)
{
    static const QRegularExpression form(QStringLiteral("\\A\\+?([0-9]{1,7})([mh])\\z"));
    const auto m = form.match(duration);
    const qint64 minutes =
        m.hasMatch() ? m.captured(1).toLongLong() * (m.captured(2) == u'h' ? 60 : 1) : 0;
    if (minutes >= 1 && minutes <= MaxMinutesAhead)
        return int(minutes);
    if (error) {
        const bool plain =
            duration.size() <= 32 && std::all_of(duration.begin(), duration.end(), [](QChar c) {
                return c.unicode() >= 0x20 && c.unicode() < 0x7f;
            });
        *error = QStringLiteral("horolux: DURATION%1 must be Nm or Nh, from 1 minute to 365 days")
                     .arg(plain ? QStringLiteral(" '%1'").arg(duration) : QString());
    }
    return 0;
}

QString snoozeLine(const QString& text, const QDateTime& due)
{
    return reminderLine(
        atDayAndTime(DayNumbers::fromDate(due.date()), due.time().hour(), due.time().minute()),
        text);
}

QString requestProblem(const ReminderRequest& request, const QDateTime& now)
{
    QString error;
    switch (request.verb) {
    case ReminderRequest::Verb::Remind:
        error = parseTime(request.time, now).error;
        if (error.isEmpty())
            error = textProblem(request.text);
        break;
    case ReminderRequest::Verb::Cancel:
        parseItemId(request.item, &error);
        break;
    case ReminderRequest::Verb::Snooze:
        if (parseItemId(request.item, &error).isEmpty())
            break;
        parseSnooze(request.time, &error);
        break;
    case ReminderRequest::Verb::Show:
    case ReminderRequest::Verb::List:
        break;
    }
    return error;
}

QString reminderLine(const When& when, const QString& text)
{
    const QString line = EditorRules::quickReminderLine(when.hour, when.minute, when.day, text);
    // Everything the reader takes from the line must come back as given, bytes included.
    const bool readsBack =
        !line.isEmpty() && ScheduleEntry::isWellFormed(line) &&
        ScheduleEntry::hour(line) == when.hour && ScheduleEntry::minute(line) == when.minute &&
        ScheduleEntry::dayNumber(line) == when.day &&
        ScheduleEntry::typeCode(line) == ScheduleEntry::OneShot &&
        ScheduleEntry::detailKind(ScheduleEntry::detail(line)) == ScheduleEntry::ReminderItem &&
        ScheduleEntry::detailText(ScheduleEntry::detail(line)) == text &&
        LosslessText::decode(LosslessText::encode(line)) == line;
    return readsBack ? line : QString();
}

DayNumber nextDay(const QString& line, DayNumber today)
{
    const DayNumber day = ScheduleEntry::dayNumber(line);
    if (day >= today)
        return day;
    // The scan moves a weekday item on by whole weeks; everything else it performs today.
    const int type = ScheduleEntry::typeCode(line);
    if (type >= ScheduleEntry::EachSunday && type <= ScheduleEntry::EachSaturday)
        return day + (today - day + 6) / 7 * 7;
    return today;
}

QStringList listed(const QStringList& lines, DayNumber today)
{
    struct Key {
        qint64 at;
        qsizetype index;
    };
    std::vector<Key> keys;
    keys.reserve(size_t(lines.size()));
    for (qsizetype i = 0; i < lines.size(); ++i)
        keys.push_back(
            {qint64(nextDay(lines[i], today)) * 10000 + ScheduleEntry::timeNumber(lines[i]), i});
    std::stable_sort(keys.begin(), keys.end(),
                     [](const Key& a, const Key& b) { return a.at < b.at; });
    QStringList out;
    out.reserve(lines.size());
    for (const Key& k : keys)
        out.append(lines[k.index]);
    return out;
}

QString describe(const QString& line, DayNumber today)
{
    static const char* const repeats[] = {"once",    "daily",    "weekly",     "sundays",
                                          "mondays", "tuesdays", "wednesdays", "thursdays",
                                          "fridays", "saturdays"};
    const int type = ScheduleEntry::typeCode(line);
    const QString repeat = (type >= 0 && type <= ScheduleEntry::EachSaturday)
                               ? QString::fromLatin1(repeats[type])
                               : QStringLiteral("type-%1").arg(type);
    const QString detail = ScheduleEntry::detail(line);
    QString kind = QStringLiteral("other");
    QString text = detail;
    switch (ScheduleEntry::detailKind(detail)) {
    case ScheduleEntry::ReminderItem:
        kind = QStringLiteral("reminder");
        text = ScheduleEntry::detailText(detail);
        break;
    case ScheduleEntry::RunItem:
        kind = QStringLiteral("run");
        text = ScheduleEntry::detailText(detail);
        break;
    case ScheduleEntry::OtherItem:
        break;
    }
    // A tab in the text would shift the fields after it.
    for (QChar& c : text)
        if (isLineBreakOrControl(c))
            c = u' ';
    const QString date = DayNumbers::toDate(nextDay(line, today)).toString(u"yyyy-MM-dd");
    return QStringLiteral("%1 %2:%3\t%4\t%5\t%6")
        .arg(date)
        .arg(ScheduleEntry::hour(line), 2, 10, QLatin1Char('0'))
        .arg(ScheduleEntry::minute(line), 2, 10, QLatin1Char('0'))
        .arg(repeat, kind, text);
}

QString itemId(const QString& line)
{
    const QByteArray bytes = LosslessText::encode(line.toLower());
    return QString::fromLatin1(
        QCryptographicHash::hash(bytes, QCryptographicHash::Sha1).toHex().left(8));
}

QString listingLine(const QString& line, DayNumber today)
{
    return itemId(line) + u'\t' + describe(line, today);
}

QStringList listing(const QStringList& lines, DayNumber today)
{
    const QStringList items = listed(lines, today);
    QStringList out;
    out.reserve(items.size());
    for (const QString& item : items)
        out.append(listingLine(item, today));
    return out;
}

Applied decide(const ScheduleList& list, const ReminderRequest& request, const QDateTime& now,
               const QList<Firing>& fired)
{
    Applied applied;
    ReminderReply& reply = applied.reply;
    const DayNumber today = DayNumbers::fromDate(now.date());
    reply.error = requestProblem(request, now);
    if (!reply.error.isEmpty()) {
        reply.status = 2;
        return applied;
    }
    switch (request.verb) {
    case ReminderRequest::Verb::Remind: {
        const QString line = reminderLine(parseTime(request.time, now), request.text);
        if (line.isEmpty()) {
            reply.status = 2;
            reply.error = QStringLiteral("horolux: TEXT cannot be kept in the schedule as given");
            return applied;
        }
        // An item equal to one held (letter case aside) is there already: nothing changes,
        // and the caller is shown the one held.
        const int held = list.find(line);
        if (held < 0)
            applied.added = line;
        reply.lines = {listingLine(held < 0 ? line : list.at(held), today)};
        break;
    }
    case ReminderRequest::Verb::Snooze: {
        const QString id = parseItemId(request.item, nullptr);
        const QDateTime since = now.addSecs(-qint64(SnoozeWindowHours) * 3600);
        // The latest firing counts: a daily item's ID names one day's line only anyway.
        const auto it = std::find_if(fired.crbegin(), fired.crend(), [&](const Firing& f) {
            return f.id == id && f.at > since && f.at <= now.addSecs(60);
        });
        if (it == fired.crend()) {
            reply.status = 1;
            reply.error = QStringLiteral("horolux: no item %1 fired in the last %2 hours")
                              .arg(id)
                              .arg(SnoozeWindowHours);
            return applied;
        }
        const QString line =
            snoozeLine(it->text, now.addSecs(qint64(parseSnooze(request.time, nullptr)) * 60));
        if (line.isEmpty()) {
            reply.status = 1;
            reply.error = QStringLiteral("horolux: the snoozed reminder cannot be kept in the "
                                         "schedule");
            return applied;
        }
        const int held = list.find(line);
        if (held < 0)
            applied.added = line;
        reply.lines = {listingLine(held < 0 ? line : list.at(held), today)};
        break;
    }
    case ReminderRequest::Verb::List:
        reply.lines = listing(list.lines(), today);
        break;
    case ReminderRequest::Verb::Cancel: {
        const QString id = parseItemId(request.item, nullptr);
        QList<int> named;
        for (int i = 0; i < list.count(); ++i)
            if (itemId(list.at(i)) == id)
                named.append(i);
        // Two items whose lines happen to give the same ID: cancelling by it could take the
        // wrong one, so neither is.
        if (named.size() != 1) {
            reply.status = 1;
            reply.error =
                named.isEmpty()
                    ? QStringLiteral("horolux: no item %1 in the schedule; it may have fired "
                                     "or been changed, see 'horolux --list'")
                          .arg(id)
                    : QStringLiteral("horolux: %1 names more than one item; cancel it in the "
                                     "Scheduler window")
                          .arg(id);
            return applied;
        }
        applied.removed = list.at(named.constFirst());
        reply.lines = {describe(applied.removed, today)};
        break;
    }
    case ReminderRequest::Verb::Show:
        break;
    }
    return applied;
}

} // namespace ReminderRules
