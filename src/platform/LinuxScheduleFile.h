#pragma once

#include "platform/IScheduleFile.h"

#include <QtGlobal>

// The schedule file in the line format, replaced atomically by every save. Lines that cannot be
// scheduled are appended, byte for byte, to the file beside it named after it + ".rejected".
class LinuxScheduleFile : public IScheduleFile {
public:
    // A schedule file larger than this is unreadable: it holds a million lines of 130 bytes.
    static constexpr qint64 MaxFileBytes = 128 * 1024 * 1024;

    explicit LinuxScheduleFile(const QString& path);

    QString path() const override { return m_path; }
    LoadResult load(ScheduleList& list) override;
    SaveResult save(ScheduleList& list, QString* error = nullptr) override;

    QString setAsidePath() const;

private:
    bool keepSetAside(ScheduleList& list, QString* error);

    QString m_path;
    // The last load found a file it could not read.
    bool m_unreadable = false;
};
