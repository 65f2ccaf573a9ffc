#pragma once

#include "ports/IRegistry.h"

class IFileStore;

// The settings tree kept in one REGEDIT4 text file. Reads parse the file afresh, without the
// lock: the file is only ever replaced by a rename, so a read sees the old or the new one. A
// write takes an advisory lock, re-reads the file, changes the one value and replaces the file
// atomically, so two running copies lose nothing but a value they both wrote; when another
// process holds the lock the write answers Busy at once instead of waiting. A file that is not
// a settings file as a whole (or is larger than one can be) is neither read nor replaced.
class RegFileRegistry : public IRegistry {
public:
    RegFileRegistry(IFileStore& files, const QString& filePath);

    std::optional<RegValue> queryValue(const QString& keyPath, const QString& name) override;
    RegWrite setValue(const QString& keyPath, const QString& name, const RegValue& value) override;
    // All of them in one read-change-write under the lock: the file is replaced once, or not
    // at all when it already holds every value.
    RegWrite setValues(const QList<RegEntry>& entries) override;
    bool foundNotUnderstood() const override { return m_notUnderstood; }
    QString location() const override { return m_path; }

    QString filePath() const { return m_path; }

private:
    IFileStore& m_files;
    QString m_path;
    bool m_notUnderstood = false;
};
