#include "platform/RegFileRegistry.h"

#include "platform/AtomicFile.h"
#include "settings/RegFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
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

bool outOfDescriptors(int error)
{
    return error == EMFILE || error == ENFILE;
}

// Held for the whole read-change-write of one value. The lock lives on a file of its own,
// because the settings file itself is replaced by every write. It is only tried: the GUI thread
// must not stop while another copy of the program (or a user's flock) holds it.
class WriteLock {
public:
    enum class State { Held, Busy, NoResources };

    explicit WriteLock(const QString& settingsPath)
    {
        const QByteArray lockPath = QFile::encodeName(settingsPath + QStringLiteral(".lock"));
        m_fd = ::open(lockPath.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (m_fd < 0) {
            // Any other failure (a read-only lock file) leaves the write unlocked, as before
            // there was a lock; the save itself finds out whether the folder can be written.
            if (outOfDescriptors(errno))
                m_state = State::NoResources;
            return;
        }
        int r;
        while ((r = ::flock(m_fd, LOCK_EX | LOCK_NB)) != 0 && errno == EINTR) {
        }
        if (r != 0 && errno == EWOULDBLOCK)
            m_state = State::Busy;
    }
    ~WriteLock()
    {
        if (m_fd >= 0)
            ::close(m_fd); // closing releases the lock
    }
    WriteLock(const WriteLock&) = delete;
    WriteLock& operator=(const WriteLock&) = delete;

    State state() const { return m_state; }

private:
    int m_fd = -1;
    State m_state = State::Held;
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
    if (AtomicFile::read(m_path, text, MaxFileSize) != AtomicFile::ReadStatus::Ok) {
        // Too large to be a settings file: somebody else's, and said so like any other.
        if (errno == EFBIG)
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
    if (!QDir().mkpath(QFileInfo(m_path).absolutePath()))
        return RegWrite::Refused;
    WriteLock lock(m_path);
    switch (lock.state()) {
    case WriteLock::State::Busy:
        return RegWrite::Busy;
    case WriteLock::State::NoResources:
        return RegWrite::NoResources;
    case WriteLock::State::Held:
        break;
    }
    QByteArray text;
    // A missing file is the first write; a file that exists but cannot be read is never
    // replaced by one holding only this value.
    if (AtomicFile::read(m_path, text, MaxFileSize) == AtomicFile::ReadStatus::Failed) {
        if (outOfDescriptors(errno))
            return RegWrite::NoResources;
        if (errno == EFBIG)
            m_notUnderstood = true;
        return RegWrite::Refused;
    }
    // Nor is a file in a form we do not understand: it may be somebody else's.
    if (!RegFile::understood(text)) {
        m_notUnderstood = true;
        return RegWrite::Refused;
    }
    if (AtomicFile::write(m_path, RegFile::withValue(text, fullPath(keyPath), name, value)))
        return RegWrite::Stored;
    return outOfDescriptors(errno) ? RegWrite::NoResources : RegWrite::Refused;
}
