#include "rules/sched/ScheduleEntry.h"

namespace ScheduleEntry {

namespace {

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// Reads `length` characters from `start` (0-based) as a decimal number with optional leading
// spaces. -1 when the field is missing, empty or holds anything else, so garbage never reads
// as a plausible value.
int readField(const QString& line, qsizetype start, qsizetype length)
{
    if (line.size() < start + length)
        return -1;
    qsizetype i = start;
    const qsizetype end = start + length;
    while (i < end && line.at(i) == u' ')
        ++i;
    if (i == end)
        return -1;
    int value = 0;
    for (; i < end; ++i) {
        const QChar c = line.at(i);
        if (!isDigit(c))
            return -1;
        value = value * 10 + (c.unicode() - u'0');
    }
    return value;
}

// At most `length` characters (code points) from `start`: a pair of surrogates counts once
// and is never cut in half.
QString midWhole(const QString& text, qsizetype start, qsizetype length)
{
    if (start >= text.size())
        return QString();
    qsizetype end = start;
    for (qsizetype taken = 0; end < text.size() && taken < length; ++taken)
        end += text.at(end).isHighSurrogate() && end + 1 < text.size() &&
                       text.at(end + 1).isLowSurrogate()
                   ? 2
                   : 1;
    return text.mid(start, end - start);
}

bool allDigits(const QString& line, qsizetype start, qsizetype length)
{
    for (qsizetype i = start; i < start + length; ++i) {
        if (!isDigit(line.at(i)))
            return false;
    }
    return true;
}

} // namespace

// A line must stay one line in the file, so any line break in a detail becomes one blank
// (CR LF counts once).
QString withoutLineBreaks(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'\r') {
            if (i + 1 < text.size() && text.at(i + 1) == u'\n')
                ++i;
            out += u' ';
        } else if (c == u'\n' || c == QChar(0x2028) || c == QChar(0x2029) || c == QChar(0x0085)) {
            out += u' ';
        } else {
            out += c;
        }
    }
    return out;
}

namespace {

// Splits off the text before the first ',' of `rest`; without a ',' all of it is taken.
QString takeField(QString& rest)
{
    const qsizetype comma = rest.indexOf(u',');
    QString field;
    if (comma < 0) {
        field = rest;
        rest.clear();
    } else {
        field = rest.left(comma);
        rest.remove(0, comma + 1);
    }
    return field;
}

} // namespace

QString FormatScheduleEntry(int hour, int minute, DayNumber day, int type, const QString& detail)
{
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || day < 0 || day > MaxDay || type < 0 ||
        type > 99)
        return QString();
    return QString::asprintf("%2.2d%2.2d%5d%2.2d", hour, minute, int(day), type) +
           withoutLineBreaks(detail);
}

int hour(const QString& line)
{
    return readField(line, 0, 2);
}

int minute(const QString& line)
{
    return readField(line, 2, 2);
}

int timeNumber(const QString& line)
{
    return readField(line, 0, 4);
}

DayNumber dayNumber(const QString& line)
{
    return readField(line, 4, 5);
}

int typeCode(const QString& line)
{
    return readField(line, 9, 2);
}

QString detail(const QString& line)
{
    return midWhole(line, 11, MaxDetail);
}

bool isWellFormed(const QString& line)
{
    if (line.size() < 11)
        return false;
    if (!allDigits(line, 0, 4) || !allDigits(line, 9, 2))
        return false;
    if (hour(line) > 23 || minute(line) > 59)
        return false;
    if (dayNumber(line) < 0)
        return false;
    // A line break would split the entry in the file.
    return !line.contains(u'\r') && !line.contains(u'\n');
}

QString detailText(const QString& detail)
{
    // Without a ':' the whole detail is the text.
    const qsizetype colon = detail.indexOf(u':');
    return midWhole(detail, colon + 1, MaxDetail);
}

ItemKind detailKind(const QString& detail)
{
    if (detail.isEmpty())
        return OtherItem;
    // Where the prefix stands in "REMRUN": 1 and 4 are the kinds' numbers. A shorter detail
    // such as "Re" or "ru" counts as the kind it begins.
    const qsizetype pos = QStringLiteral("REMRUN").indexOf(detail.left(3).toUpper()) + 1;
    if (pos == ReminderItem)
        return ReminderItem;
    if (pos == RunItem)
        return RunItem;
    return OtherItem;
}

RunDetail ParseRunDetail(const QString& detail)
{
    RunDetail run;
    QString rest = detailText(detail);
    run.program = takeField(rest);
    run.parameters = takeField(rest);
    run.directory = takeField(rest);
    bool ok = false;
    const int state = rest.trimmed().toInt(&ok, 10);
    run.showState = ok ? state : 0;
    return run;
}

} // namespace ScheduleEntry
