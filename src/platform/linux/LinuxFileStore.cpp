#include "platform/linux/LinuxFileStore.h"

#include "platform/linux/AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

IFileStore::Fault faultOf(int error)
{
    switch (error) {
    case EFBIG:
        return IFileStore::Fault::TooLarge;
    case EMFILE:
    case ENFILE:
        return IFileStore::Fault::NoResources;
    default:
        return IFileStore::Fault::Other;
    }
}

// Closing the descriptor releases the lock.
class FlockLock : public IFileStore::Lock {
public:
    explicit FlockLock(int fd) : m_fd(fd) {}
    ~FlockLock() override { ::close(m_fd); }
    FlockLock(const FlockLock&) = delete;
    FlockLock& operator=(const FlockLock&) = delete;

private:
    int m_fd;
};

} // namespace

FileReadStatus LinuxFileStore::read(const QString& path, QByteArray& data, qint64 maxBytes,
                                    Fault* fault)
{
    const FileReadStatus status = AtomicFile::read(path, data, maxBytes);
    if (fault)
        *fault = status == FileReadStatus::Failed ? faultOf(errno) : Fault::None;
    return status;
}

bool LinuxFileStore::write(const QString& path, const QByteArray& data, QString* error,
                           Fault* fault)
{
    if (fault)
        *fault = Fault::None;
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder)) {
        if (error)
            *error = QStringLiteral("cannot make the folder ") + folder;
        if (fault)
            *fault = Fault::Other;
        return false;
    }
    if (AtomicFile::write(path, data, error))
        return true;
    if (fault)
        *fault = faultOf(errno);
    return false;
}

bool LinuxFileStore::moveAside(const QString& path, const QString& suffix)
{
    return AtomicFile::moveAside(path, suffix);
}

bool LinuxFileStore::isLink(const QString& path) const
{
    return QFileInfo(path).isSymLink();
}

void LinuxFileStore::removeStaleTemporaries(const QString& path)
{
    AtomicFile::removeStaleTemporaries(path);
}

IFileStore::LockAttempt LinuxFileStore::tryLock(const QString& lockPath)
{
    LockAttempt attempt;
    QDir().mkpath(QFileInfo(lockPath).absolutePath());
    const QByteArray name = QFile::encodeName(lockPath);
    const int fd = ::open(name.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) {
        if (errno == EMFILE || errno == ENFILE)
            attempt.state = LockState::NoResources;
        return attempt;
    }
    int r;
    while ((r = ::flock(fd, LOCK_EX | LOCK_NB)) != 0 && errno == EINTR) {
    }
    if (r != 0 && errno == EWOULDBLOCK) {
        ::close(fd);
        attempt.state = LockState::Busy;
        return attempt;
    }
    attempt.lock = std::make_unique<FlockLock>(fd);
    return attempt;
}
