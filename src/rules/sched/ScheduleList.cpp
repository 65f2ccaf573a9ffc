#include "rules/sched/ScheduleList.h"

#include <QCoreApplication>

#include "core/LosslessText.h"
#include "rules/sched/ScheduleEntry.h"

#include <QSet>

#include <algorithm>
#include <vector>

namespace {

// The file is 8-bit text, normally UTF-8; bytes that are not UTF-8 (a file name in another
// encoding) are carried through unchanged, so a save writes back exactly what was read.
QString decodeLine(QByteArrayView bytes)
{
    return LosslessText::decode(bytes);
}

bool isBlank(QByteArrayView bytes)
{
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return c == ' ' || c == '\t'; });
}

// Splits at CR, LF or CR LF; empty lines are dropped.
QList<QByteArrayView> splitLines(QByteArrayView data)
{
    QList<QByteArrayView> out;
    qsizetype start = 0;
    const qsizetype n = data.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char c = data[i];
        if (c != '\r' && c != '\n')
            continue;
        if (i > start)
            out.append(data.sliced(start, i - start));
        if (c == '\r' && i + 1 < n && data[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (n > start)
        out.append(data.sliced(start));
    return out;
}

// Orders the first eleven characters of a well-formed line (blanks and digits only) the way
// their code units compare: blank 0, digits 1..10, in base 11.
quint64 prefixKey(const QString& line)
{
    quint64 key = 0;
    for (qsizetype i = 0; i < 11; ++i) {
        const char16_t c = line.at(i).unicode();
        key = key * 11 + (c == u' ' ? 0 : c - u'0' + 1);
    }
    return key;
}

} // namespace

ScheduleList::ScheduleList()
{
    m_collator.setCaseSensitivity(Qt::CaseInsensitive);
}

int ScheduleList::count() const
{
    return int(m_lines.size());
}

QString ScheduleList::at(int index) const
{
    if (index < 0 || index >= m_lines.size())
        return QString();
    return m_lines.at(index);
}

bool ScheduleList::add(const QString& line)
{
    if (!ScheduleEntry::isWellFormed(line))
        return false;
    auto pos = std::lower_bound(
        m_lines.begin(), m_lines.end(), line,
        [this](const QString& a, const QString& b) { return m_collator.compare(a, b) < 0; });
    if (pos != m_lines.end() && m_collator.compare(*pos, line) == 0)
        return false;
    m_lines.insert(pos, line);
    return true;
}

void ScheduleList::removeAt(int index)
{
    if (index >= 0 && index < m_lines.size())
        m_lines.removeAt(index);
}

int ScheduleList::indexOf(const QString& line) const
{
    const int at = find(line);
    return (at >= 0 && m_lines.at(at) == line) ? at : -1;
}

int ScheduleList::find(const QString& line) const
{
    // The list holds no two lines the collator finds equal, so the sorted position is the only
    // candidate.
    auto pos = std::lower_bound(
        m_lines.begin(), m_lines.end(), line,
        [this](const QString& a, const QString& b) { return m_collator.compare(a, b) < 0; });
    return (pos != m_lines.end() && m_collator.compare(*pos, line) == 0)
               ? int(pos - m_lines.begin())
               : -1;
}

void ScheduleList::clear()
{
    m_lines.clear();
}

QStringList ScheduleList::lines() const
{
    return m_lines;
}

QString ScheduleList::setAsideNotice(int count)
{
    return count == 1 ? QCoreApplication::translate("ScheduleList", "1 schedule line set aside")
                      : QCoreApplication::translate("ScheduleList", "%1 schedule lines set aside")
                            .arg(count);
}

void ScheduleList::setAside(const QString& line)
{
    // In the bytes a save would have written for it.
    m_pendingSetAside.append(LosslessText::encode(line));
}

int ScheduleList::parse(QByteArrayView content)
{
    QByteArrayView view = content;
    if (view.startsWith("\xEF\xBB\xBF"))
        view = view.sliced(3);

    // Lines already held come first so that, among equal lines, the one held stays.
    QStringList collected = m_lines;
    QByteArrayList rejected;
    for (QByteArrayView raw : splitLines(view)) {
        if (isBlank(raw))
            continue;
        QString line = decodeLine(raw);
        if (ScheduleEntry::isWellFormed(line))
            collected.append(std::move(line));
        else
            rejected.append(raw.toByteArray());
    }

    // One sort, then drop every line equal to the one before it: the first read stays.
    // In the C locale the collator compares case-folded code units, and the fixed prefix
    // (digits and blanks) folds to itself, so differing prefixes decide the order alone; a
    // number made from the prefix settles most comparisons without touching the text.
    const bool plain = m_collator.locale().language() == QLocale::C;
    struct Item {
        quint64 prefix;
        qsizetype index;
    };
    std::vector<Item> items(size_t(collected.size()));
    for (qsizetype i = 0; i < collected.size(); ++i)
        items[size_t(i)] = {plain ? prefixKey(collected.at(i)) : 0, i};
    auto compare = [&](const Item& a, const Item& b) {
        if (a.prefix != b.prefix)
            return a.prefix < b.prefix ? -1 : 1;
        return m_collator.compare(collected.at(a.index), collected.at(b.index));
    };
    std::sort(items.begin(), items.end(), [&](const Item& a, const Item& b) {
        const int c = compare(a, b);
        return c != 0 ? c < 0 : a.index < b.index;
    });
    QStringList sorted;
    sorted.reserve(collected.size());
    const Item* last = nullptr;
    for (const Item& item : items) {
        if (last && compare(*last, item) == 0)
            continue;
        sorted.append(collected.at(item.index));
        last = &item;
    }
    m_lines = std::move(sorted);

    m_pendingSetAside += rejected;
    return int(rejected.size());
}

QByteArray ScheduleList::withSetAside(const QByteArray& file, const QByteArrayList& lines)
{
    QSet<QByteArray> present;
    for (QByteArrayView line : splitLines(file))
        present.insert(line.toByteArray());
    QByteArray content = file;
    if (!content.isEmpty() && !content.endsWith('\n') && !content.endsWith('\r'))
        content += "\r\n";
    bool added = false;
    for (const QByteArray& line : lines) {
        if (present.contains(line))
            continue;
        present.insert(line);
        content += line;
        content += "\r\n";
        added = true;
    }
    return added ? content : QByteArray();
}

QByteArray ScheduleList::format() const
{
    QByteArray data;
    qsizetype size = 0;
    for (const QString& line : m_lines)
        size += line.size() + 2;
    data.reserve(size);
    for (const QString& line : m_lines) {
        data += LosslessText::encode(line);
        data += "\r\n";
    }
    return data;
}
