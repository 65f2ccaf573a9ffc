#include "rules/sched/ScheduleFile.h"

#include "ports/IFileStore.h"
#include "rules/sched/ScheduleList.h"

ScheduleFile::ScheduleFile(IFileStore& files, const QString& path) : m_files(files), m_path(path)
{
    // Saves killed midway leave their temporary files; nothing else may ever need them.
    m_files.removeStaleTemporaries(m_path);
    m_files.removeStaleTemporaries(setAsidePath());
}

QString ScheduleFile::setAsidePath() const
{
    return m_path + QStringLiteral(".rejected");
}

ScheduleFile::LoadResult ScheduleFile::load(ScheduleList& list)
{
    LoadResult result;
    QByteArray data;
    const FileReadStatus status = m_files.read(m_path, data, MaxFileBytes);
    m_unreadable = status == FileReadStatus::Failed;
    if (status != FileReadStatus::Ok) {
        result.unreadable = m_unreadable;
        result.behindLink = m_unreadable && m_files.isLink(m_path);
        return result;
    }
    result.fileRead = true;
    result.setAside = list.parse(data);
    if (result.setAside > 0) {
        result.setAsidePath = setAsidePath();
        keepSetAside(list, &result.setAsideError);
    }
    return result;
}

// The set-aside file is replaced whole, so earlier lines are never lost to a failed write.
bool ScheduleFile::keepSetAside(ScheduleList& list, QString* error)
{
    if (list.setAsideLines().isEmpty())
        return true;
    const QString target = setAsidePath();
    QByteArray content;
    if (m_files.read(target, content, MaxFileBytes) == FileReadStatus::Failed) {
        if (error)
            *error = QStringLiteral("cannot read ") + target;
        return false;
    }
    const QByteArray updated = ScheduleList::withSetAside(content, list.setAsideLines());
    if (!updated.isEmpty() && !m_files.write(target, updated, error))
        return false;
    list.clearSetAside();
    return true;
}

ScheduleFile::SaveResult ScheduleFile::save(ScheduleList& list, QString* error)
{
    if (m_unreadable) {
        if (m_files.isLink(m_path)) {
            // A link stays a link: what it leads to (a mount not ready at login, say) is never
            // replaced by this run's items. Once it can be read, its items join those held.
            if (load(list).unreadable) {
                if (error)
                    *error = QStringLiteral("cannot read ") + m_path;
                return SaveResult::HeldBack;
            }
        } else if (!m_files.moveAside(m_path, QStringLiteral(".unreadable"))) {
            if (error)
                *error = QStringLiteral("cannot move ") + m_path + QStringLiteral(" aside");
            return SaveResult::Failed;
        }
        m_unreadable = false;
    }
    // Lines set aside at load are still only in the old file: keep them before replacing it.
    if (!keepSetAside(list, error))
        return SaveResult::Failed;
    const QByteArray bytes = list.format();
    QByteArray current;
    if (m_files.read(m_path, current, MaxFileBytes) == FileReadStatus::Ok && current == bytes)
        return SaveResult::Saved;
    return m_files.write(m_path, bytes, error) ? SaveResult::Saved : SaveResult::Failed;
}
