#include "platform/LinuxScheduleFile.h"

#include "platform/AtomicFile.h"
#include "sched/ScheduleList.h"

#include <QDir>
#include <QFileInfo>

LinuxScheduleFile::LinuxScheduleFile(const QString& path) : m_path(path)
{
    // Saves killed midway leave their temporary files; nothing else may ever need them.
    AtomicFile::removeStaleTemporaries(m_path);
    AtomicFile::removeStaleTemporaries(setAsidePath());
}

QString LinuxScheduleFile::setAsidePath() const
{
    return m_path + QStringLiteral(".rejected");
}

IScheduleFile::LoadResult LinuxScheduleFile::load(ScheduleList& list)
{
    LoadResult result;
    QByteArray data;
    const FileReadStatus status = AtomicFile::read(m_path, data, MaxFileBytes);
    m_unreadable = status == FileReadStatus::Failed;
    if (status != FileReadStatus::Ok) {
        result.unreadable = m_unreadable;
        result.behindLink = m_unreadable && QFileInfo(m_path).isSymLink();
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
bool LinuxScheduleFile::keepSetAside(ScheduleList& list, QString* error)
{
    if (list.setAsideLines().isEmpty())
        return true;
    const QString target = setAsidePath();
    QByteArray content;
    if (AtomicFile::read(target, content, MaxFileBytes) == FileReadStatus::Failed) {
        if (error)
            *error = QStringLiteral("cannot read ") + target;
        return false;
    }
    const QByteArray updated = ScheduleList::withSetAside(content, list.setAsideLines());
    if (!updated.isEmpty() && !AtomicFile::write(target, updated, error))
        return false;
    list.clearSetAside();
    return true;
}

IScheduleFile::SaveResult LinuxScheduleFile::save(ScheduleList& list, QString* error)
{
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    if (m_unreadable) {
        if (QFileInfo(m_path).isSymLink()) {
            // A link stays a link: what it leads to (a mount not ready at login, say) is never
            // replaced by this run's items. Once it can be read, its items join those held.
            if (load(list).unreadable) {
                if (error)
                    *error = QStringLiteral("cannot read ") + m_path;
                return SaveResult::HeldBack;
            }
        } else if (!AtomicFile::moveAside(m_path, QStringLiteral(".unreadable"))) {
            if (error)
                *error = QStringLiteral("cannot move ") + m_path + QStringLiteral(" aside");
            return SaveResult::Failed;
        }
        m_unreadable = false;
    }
    // Lines set aside at load are still only in the old file: keep them before replacing it.
    if (!keepSetAside(list, error))
        return SaveResult::Failed;
    return AtomicFile::write(m_path, list.format(), error) ? SaveResult::Saved : SaveResult::Failed;
}
