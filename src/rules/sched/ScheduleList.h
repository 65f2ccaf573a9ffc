#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <QByteArrayView>
#include <QCollator>
#include <QString>
#include <QStringList>

// The sorted, duplicate-free list of schedule lines (case-insensitive, locale collation), and
// the schedule file's line format. Reading and writing the file is the platform's.
class ScheduleList {
public:
    ScheduleList();

    int count() const;
    QString at(int index) const; // an empty text when the index is out of range
    // Adds at the sorted position; a line equal to one present (ignoring case) is not added,
    // nor is a line that does not follow the layout (see ScheduleEntry::isWellFormed).
    bool add(const QString& line);
    void removeAt(int index);               // out of range: nothing happens
    int indexOf(const QString& line) const; // exactly this line; -1 when absent
    // The line held that equals `line` but for letter case (or is it); -1 when none does.
    int find(const QString& line) const;
    void clear();
    QStringList lines() const;

    // Adds the lines of a schedule file's content, sorting once; among lines equal but for
    // letter case the one held, else the first read, stays. Lines that do not follow the layout
    // are not scheduled: they wait, in their bytes, to be kept in the set-aside file. Returns
    // how many were set aside.
    int parse(QByteArrayView content);
    // The schedule file's content: every line in the bytes it was read as, each ended by CR LF.
    QByteArray format() const;

    // Takes out for good a line that can no longer be scheduled (its next date does not fit the
    // line): the next save keeps it, exactly as it stood, in the set-aside file.
    void setAside(const QString& line);
    // Lines set aside and not yet kept, in their bytes.
    const QByteArrayList& setAsideLines() const { return m_pendingSetAside; }
    // Called once they are kept.
    void clearSetAside() { m_pendingSetAside.clear(); }

    // The set-aside file's content with `lines` added at its end, leaving out lines it holds
    // already (the same bad lines are met again when the program stops before its next save).
    // Empty when there is nothing to add.
    static QByteArray withSetAside(const QByteArray& file, const QByteArrayList& lines);
    // The date line's note that `count` lines were set aside.
    static QString setAsideNotice(int count);

private:
    QStringList m_lines;
    QCollator m_collator;
    // Raw lines not yet written to the set-aside file; a save writes them first.
    QByteArrayList m_pendingSetAside;
};
