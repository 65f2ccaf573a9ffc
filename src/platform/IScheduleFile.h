#pragma once

#include <QString>

class ScheduleList;

// The schedule file, and beside it the file that keeps the lines that cannot be scheduled.
class IScheduleFile {
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

    virtual ~IScheduleFile() = default;

    virtual QString path() const = 0;
    // Adds the file's lines to `list`; lines that cannot be scheduled go to the set-aside file.
    virtual LoadResult load(ScheduleList& list) = 0;
    // Replaces the file with `list`, after keeping its set-aside lines. A file found unreadable
    // is moved aside first, never overwritten; a link found unreadable is read again and
    // written only once it can be. `error` says why when the save failed.
    virtual SaveResult save(ScheduleList& list, QString* error = nullptr) = 0;
};
