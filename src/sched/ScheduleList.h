#pragma once

#include "platform/FileReadStatus.h"

#include <QByteArray>
#include <QByteArrayList>
#include <QCollator>
#include <QString>
#include <QStringList>

// The sorted, duplicate-free list of schedule lines (case-insensitive, locale collation),
// mirrored in the schedule file.
class ScheduleList {
public:
    struct LoadResult {
        bool fileRead = false;   // false: no file or unreadable (the list is then left as it was)
        int setAside = 0;        // lines that do not follow the layout, kept aside, not scheduled
        QString setAsidePath;    // where they were kept
        QString setAsideError;   // why they could not be kept there yet (retried on each save)
        bool unreadable = false; // the file exists but could not be read
    };

    // Writes a whole file so that a failure leaves the old file (AtomicFile::write fits).
    using FileWriter = bool (*)(const QString& path, const QByteArray& data, QString* error);
    // The program installs its file reader and writer once at start; without a writer every
    // save fails, without a reader every file counts as unreadable.
    static void setFileWriter(FileWriter writer);
    static void setFileReader(FileReader reader);

    // A schedule file larger than this is unreadable: it holds a million lines of 130 bytes.
    static constexpr qint64 MaxFileBytes = 128 * 1024 * 1024;

    ScheduleList();

    int count() const;
    QString at(int index) const; // an empty text when the index is out of range
    // Adds at the sorted position; a line equal to one present (ignoring case) is not added,
    // nor is a line that does not follow the layout (see ScheduleEntry::isWellFormed).
    bool add(const QString& line);
    void removeAt(int index);               // out of range: nothing happens
    int indexOf(const QString& line) const; // exactly this line; -1 when absent
    void clear();
    QStringList lines() const;

    // Loads the file, sorting once. Lines that do not follow the layout are not scheduled.
    LoadResult load(const QString& path);
    // Replaces the file atomically; false (with a reason) when the file could not be written.
    bool save(const QString& path, QString* error = nullptr) const;

    // Takes out for good a line that can no longer be scheduled (its next date does not fit the
    // line): the next save of `path` keeps it, exactly as it stood, in the set-aside file.
    void setAside(const QString& line, const QString& path);

    // Where the lines of `path` that could not be scheduled are kept.
    static QString setAsidePathFor(const QString& path);
    // The date line's note that `count` lines were set aside.
    static QString setAsideNotice(int count);

private:
    bool keepSetAside(QString* error) const;

    QStringList m_lines;
    QCollator m_collator;
    // Raw lines not yet written to the set-aside file; a save writes them first.
    mutable QByteArrayList m_pendingSetAside;
    mutable QString m_pendingSetAsidePath;
};
