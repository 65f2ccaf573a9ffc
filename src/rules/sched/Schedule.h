#pragma once

#include "ports/ReminderRequest.h"
#include "rules/sched/ReminderRules.h"
#include "rules/sched/ScheduleFile.h"
#include "rules/sched/ScheduleList.h"

#include <QByteArrayView>
#include <QList>
#include <QObject>

#include <memory>

class IFileStore;
class QDateTime;

// The schedule: its items, the place where the per-minute scan resumes, whether the scan is
// held back, and the file that keeps it all. Whatever changes the schedule (the scan, the
// scheduler's windows, the quick reminder, requests from outside) goes through here, so the
// scan's place follows every change by one rule, and `changed` tells whoever shows the items.
//
// The rule: the lines before the place are those the scan stepped over today because their
// date lies ahead. A line added at or before the place becomes the place, so the next scan
// examines it (a reminder accepted for the minute now running fires at the next minute change,
// not a day late); the lines between it and the old place are only stepped over again. A line
// taken out before the place moves the place back by one, so the line that stood there is
// neither skipped nor read twice.
class Schedule : public QObject {
    Q_OBJECT
public:
    // Kept in memory only: nothing is read or written.
    explicit Schedule(QObject* parent = nullptr);
    // Kept in the schedule file at `path`.
    Schedule(IFileStore& files, const QString& path, QObject* parent = nullptr);
    ~Schedule() override;

    const ScheduleList& list() const { return m_list; }
    int count() const { return m_list.count(); }
    QString at(int index) const { return m_list.at(index); }
    QStringList lines() const { return m_list.lines(); }

    // Adds at the sorted place; false (nothing changes) for a line held already, letter case
    // aside, or one that does not follow the layout.
    bool add(const QString& line);
    // False when there is no such line.
    bool removeAt(int index);
    bool remove(const QString& line);
    // Adds the lines of a schedule file's content (see ScheduleList::parse); the next scan
    // starts from the top. Returns how many lines were set aside.
    int merge(QByteArrayView content);

    // Where the next scan resumes.
    int cursor() const { return m_cursor; }
    // The scan's steps: past a line whose date lies ahead, and a recurring line set aside for
    // good because its next date does not fit the line (kept in the set-aside file).
    void stepOver();
    void setAside(const QString& line);
    // The date was shown afresh (the first update, a new day, a message gone): the scan walks
    // the list from its start again.
    void resetCursor() { m_cursor = 0; }

    // No scan runs before the start-up is complete, nor while the scheduler list is open.
    void setStartupComplete() { m_startupComplete = true; }
    bool startupComplete() const { return m_startupComplete; }
    void setSuspended(bool suspended) { m_suspended = suspended; }
    bool suspended() const { return m_suspended; }
    bool scanAllowed() const { return m_startupComplete && !m_suspended; }

    // The file; empty for a schedule kept in memory.
    QString path() const;
    // Adds the file's lines; bad lines go to the set-aside file.
    ScheduleFile::LoadResult load();
    // Writes the whole schedule (Saved at once when it is kept in memory only).
    ScheduleFile::SaveResult save(QString* error = nullptr);

    // A reminder item fired at `at`: remembered for a day, so that it can be snoozed by the ID
    // its line had. Only the latest few are kept.
    void noteFired(const QString& line, const QDateTime& at);
    const QList<ReminderRules::Firing>& firings() const { return m_firings; }
    // Adds a one-shot reminder with `text`, due at `due`'s minute; false when it cannot be kept
    // (one held already is fine). The caller saves.
    bool snooze(const QString& text, const QDateTime& due);

    // Requests from outside the windows, in order: Remind, List, Cancel and Snooze are carried out
    // and answered; Show is the caller's and answered as done. Whatever they changed is saved once
    // before the answers; when that fails, every change is undone and answered with status 1,
    // so a request refused is never applied later.
    QList<ReminderReply> apply(const QList<ReminderRequest>& requests, const QDateTime& now);

signals:
    void changed();

private:
    ScheduleList m_list;
    std::unique_ptr<ScheduleFile> m_file;
    int m_cursor = 0;
    bool m_startupComplete = false;
    bool m_suspended = false;
    QList<ReminderRules::Firing> m_firings;
};
