#include "platform/RegFileRegistry.h"

#include "platform/AtomicFile.h"
#include "settings/RegFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

// A settings file larger than this is not ours: it is neither read nor replaced.
constexpr qint64 MaxFileSize = 4 * 1024 * 1024;

QString fullPath(const QString& keyPath)
{
    return QStringLiteral("HKEY_CURRENT_USER\\") + keyPath;
}

// Held for the whole read-change-write of one value. The lock lives on a file of its own,
// because the settings file itself is replaced by every write.
class WriteLock {
public:
    explicit WriteLock(const QString& settingsPath)
    {
        const QByteArray lockPath = QFile::encodeName(settingsPath + QStringLiteral(".lock"));
        m_fd = ::open(lockPath.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (m_fd >= 0) {
            while (::flock(m_fd, LOCK_EX) != 0 && errno == EINTR) {
            }
        }
    }
    ~WriteLock()
    {
        if (m_fd >= 0)
            ::close(m_fd); // closing releases the lock
    }
    WriteLock(const WriteLock&) = delete;
    WriteLock& operator=(const WriteLock&) = delete;

private:
    int m_fd = -1;
};

} // namespace

RegFileRegistry::RegFileRegistry(const QString& filePath) : m_path(filePath)
{
    // Writes killed midway leave their temporary files; a write under way keeps its own.
    AtomicFile::removeStaleTemporaries(m_path);
}

std::optional<RegValue> RegFileRegistry::queryValue(const QString& keyPath, const QString& name)
{
    QByteArray text;
    if (AtomicFile::read(m_path, text, MaxFileSize) != AtomicFile::ReadStatus::Ok)
        return std::nullopt;
    if (!RegFile::understood(text)) {
        m_notUnderstood = true;
        return std::nullopt;
    }
    return RegFile::find(text, fullPath(keyPath), name);
}

bool RegFileRegistry::setValue(const QString& keyPath, const QString& name, const RegValue& value)
{
    if (!QDir().mkpath(QFileInfo(m_path).absolutePath()))
        return false;
    WriteLock lock(m_path);
    QByteArray text;
    // A missing file is the first write; a file that exists but cannot be read is never
    // replaced by one holding only this value.
    if (AtomicFile::read(m_path, text, MaxFileSize) == AtomicFile::ReadStatus::Failed)
        return false;
    // Nor is a file in a form we do not understand: it may be somebody else's.
    if (!RegFile::understood(text)) {
        m_notUnderstood = true;
        return false;
    }
    return AtomicFile::write(m_path, RegFile::withValue(text, fullPath(keyPath), name, value));
}
