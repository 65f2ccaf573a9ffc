#include "rules/settings/RegFileRegistry.h"

#include "ports/IFileStore.h"
#include "rules/settings/RegFile.h"

namespace {

// A settings file larger than this is not ours: it is neither read nor replaced.
constexpr qint64 MaxFileSize = 4 * 1024 * 1024;

QString fullPath(const QString& keyPath)
{
    return QStringLiteral("HKEY_CURRENT_USER\\") + keyPath;
}

} // namespace

RegFileRegistry::RegFileRegistry(IFileStore& files, const QString& filePath)
    : m_files(files), m_path(filePath)
{
    // Writes killed midway leave their temporary files; a write under way keeps its own.
    m_files.removeStaleTemporaries(m_path);
}

std::optional<RegValue> RegFileRegistry::queryValue(const QString& keyPath, const QString& name)
{
    QByteArray text;
    IFileStore::Fault fault;
    if (m_files.read(m_path, text, MaxFileSize, &fault) != FileReadStatus::Ok) {
        // Too large to be a settings file: somebody else's, and said so like any other.
        if (fault == IFileStore::Fault::TooLarge)
            m_notUnderstood = true;
        return std::nullopt;
    }
    if (!RegFile::understood(text)) {
        m_notUnderstood = true;
        return std::nullopt;
    }
    return RegFile::find(text, fullPath(keyPath), name);
}

RegWrite RegFileRegistry::setValue(const QString& keyPath, const QString& name,
                                   const RegValue& value)
{
    return setValues({{keyPath, name, value}});
}

RegWrite RegFileRegistry::setValues(const QList<RegEntry>& entries)
{
    // Held for the whole read-change-write. The lock lives on a file of its own,
    // because the settings file itself is replaced by every write. It is only tried: the GUI
    // thread must not stop while another copy of the program (or a user's flock) holds it.
    // When the lock file cannot be opened at all the write goes on unlocked, as before there
    // was a lock; the write itself finds out whether the folder can be used.
    const IFileStore::LockAttempt lock = m_files.tryLock(m_path + QStringLiteral(".lock"));
    switch (lock.state) {
    case IFileStore::LockState::Busy:
        return RegWrite::Busy;
    case IFileStore::LockState::NoResources:
        return RegWrite::NoResources;
    case IFileStore::LockState::Held:
        break;
    }
    QByteArray text;
    // A missing file is the first write; a file that exists but cannot be read is never
    // replaced by one holding only these values.
    IFileStore::Fault fault;
    if (m_files.read(m_path, text, MaxFileSize, &fault) == FileReadStatus::Failed) {
        if (fault == IFileStore::Fault::NoResources)
            return RegWrite::NoResources;
        if (fault == IFileStore::Fault::TooLarge)
            m_notUnderstood = true;
        return RegWrite::Refused;
    }
    // Nor is a file in a form we do not understand: it may be somebody else's.
    if (!RegFile::understood(text)) {
        m_notUnderstood = true;
        return RegWrite::Refused;
    }
    QByteArray updated = text;
    for (const RegEntry& e : entries)
        updated = RegFile::withValue(updated, fullPath(e.keyPath), e.name, e.value);
    // Every write costs two fsyncs; a file that holds the values already is left as it is.
    if (updated == text || m_files.write(m_path, updated, nullptr, &fault))
        return RegWrite::Stored;
    return fault == IFileStore::Fault::NoResources ? RegWrite::NoResources : RegWrite::Refused;
}
