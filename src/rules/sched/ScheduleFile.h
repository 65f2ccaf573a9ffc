#pragma once

#include <QString>
#include <QtGlobal>

class IFileStore;
class ScheduleList;

// The schedule file in the line format, replaced atomically by every save. Lines that cannot be
// scheduled are appended, byte for byte, to the file beside it named after it + ".rejected".
class ScheduleFile {
public:
    struct LoadResult {
        bool fileRead = false;   // false: no file or unreadable (the list is then left as it was)
        int setAside = 0;        // lines that do not follow the layout, kept aside, not scheduled
        QString setAsidePath;    // where they were kept
        QString setAsideError;   // why they could not be kept there yet (retried on each save)
        bool unreadable = false; // the file exists but could not be read
        bool behindLink = false; // unreadable through a link: not saved until it can be read
    };

    enum class SaveResult {
        Saved,
        Failed,
        // The file is a link whose target cannot be read: nothing was written, so that what it
        // leads to is not replaced by the items held.
        HeldBack,
    };

    // A schedule file larger than this is unreadable: it holds a million lines of 130 bytes.
    static constexpr qint64 MaxFileBytes = 128 * 1024 * 1024;

    ScheduleFile(IFileStore& files, const QString& path);

    QString path() const { return m_path; }
    QString setAsidePath() const;
    // Adds the file's lines to `list`; lines that cannot be scheduled go to the set-aside file.
    LoadResult load(ScheduleList& list);
    // Replaces the file with `list`, after keeping its set-aside lines; a file that already
    // holds exactly these bytes is left alone, so an unchanged list costs no rewrite. A file found
    // unreadable is moved aside first, never overwritten; a link found unreadable is read again and
    // written only once it can be. `error` says why when the save failed.
    SaveResult save(ScheduleList& list, QString* error = nullptr);

private:
    bool keepSetAside(ScheduleList& list, QString* error);

    IFileStore& m_files;
    QString m_path;
    // The last load found a file it could not read.
    bool m_unreadable = false;
};
