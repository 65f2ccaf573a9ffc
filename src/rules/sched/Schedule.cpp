#include "rules/sched/Schedule.h"

#include "rules/sched/ReminderRules.h"
#include "rules/sched/ScheduleEntry.h"

#include <QDateTime>

Schedule::Schedule(QObject* parent) : QObject(parent) {}

Schedule::Schedule(IFileStore& files, const QString& path, QObject* parent)
    : QObject(parent), m_file(std::make_unique<ScheduleFile>(files, path))
{
}

Schedule::~Schedule() = default;

bool Schedule::add(const QString& line)
{
    if (!m_list.add(line))
        return false;
    const int at = m_list.indexOf(line);
    if (at <= m_cursor)
        m_cursor = at;
    emit changed();
    return true;
}

bool Schedule::removeAt(int index)
{
    if (index < 0 || index >= m_list.count())
        return false;
    m_list.removeAt(index);
    if (index < m_cursor)
        --m_cursor;
    emit changed();
    return true;
}

bool Schedule::remove(const QString& line)
{
    return removeAt(m_list.indexOf(line));
}

int Schedule::merge(QByteArrayView content)
{
    const int setAside = m_list.parse(content);
    m_cursor = 0;
    emit changed();
    return setAside;
}

void Schedule::stepOver()
{
    if (m_cursor < m_list.count())
        ++m_cursor;
}

void Schedule::setAside(const QString& line)
{
    m_list.setAside(line);
}

QString Schedule::path() const
{
    return m_file ? m_file->path() : QString();
}

ScheduleFile::LoadResult Schedule::load()
{
    if (!m_file)
        return {};
    const ScheduleFile::LoadResult result = m_file->load(m_list);
    m_cursor = 0;
    emit changed();
    return result;
}

ScheduleFile::SaveResult Schedule::save(QString* error)
{
    if (!m_file)
        return ScheduleFile::SaveResult::Saved;
    const QStringList before = m_list.lines();
    const ScheduleFile::SaveResult result = m_file->save(m_list, error);
    // A file that could not be read at the start joins the list once it can be: its items are
    // new to the scan.
    if (m_list.lines() != before) {
        m_cursor = 0;
        emit changed();
    }
    return result;
}

void Schedule::noteFired(const QString& line, const QDateTime& at)
{
    // Enough for every reminder of a busy day; the oldest go first.
    constexpr qsizetype Kept = 256;
    if (ScheduleEntry::detailKind(ScheduleEntry::detail(line)) != ScheduleEntry::ReminderItem)
        return;
    if (m_firings.size() >= Kept)
        m_firings.removeFirst();
    m_firings.append(
        {ReminderRules::itemId(line), ScheduleEntry::detailText(ScheduleEntry::detail(line)), at});
}

bool Schedule::snooze(const QString& text, const QDateTime& due)
{
    const QString line = ReminderRules::snoozeLine(text, due);
    if (line.isEmpty())
        return false;
    if (m_list.find(line) < 0)
        add(line);
    return true;
}

QList<ReminderReply> Schedule::apply(const QList<ReminderRequest>& requests, const QDateTime& now)
{
    QList<ReminderReply> replies;
    struct Change {
        qsizetype reply;
        ReminderRules::Applied applied;
    };
    QList<Change> changes;
    for (const ReminderRequest& request : requests) {
        if (request.verb == ReminderRequest::Verb::Show) {
            replies.append(ReminderReply{});
            continue;
        }
        const ReminderRules::Applied applied =
            ReminderRules::decide(m_list, request, now, m_firings);
        replies.append(applied.reply);
        if (!applied.added.isEmpty())
            add(applied.added);
        if (!applied.removed.isEmpty())
            remove(applied.removed);
        if (!applied.added.isEmpty() || !applied.removed.isEmpty())
            changes.append({replies.size() - 1, applied});
    }
    if (changes.isEmpty())
        return replies;

    // What could not be kept is not done: the schedule goes back as it was, latest first.
    QString error;
    if (save(&error) != ScheduleFile::SaveResult::Saved) {
        for (auto change = changes.crbegin(); change != changes.crend(); ++change) {
            if (!change->applied.added.isEmpty())
                remove(change->applied.added);
            if (!change->applied.removed.isEmpty())
                add(change->applied.removed);
            replies[change->reply] = {
                1, {}, QStringLiteral("horolux: cannot save the schedule (%1)").arg(error)};
        }
    }
    return replies;
}
