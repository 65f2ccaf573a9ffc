#include "platform/linux/AtomicFile.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Every temporary is the target's name plus this and mkstemp's six characters, so the ones a
// killed save left can be told from anything the user keeps beside the file.
constexpr char TempMark[] = ".save-";
constexpr int TempRandomLength = 6;

// Leaves errno as it found it, so the caller can still tell why.
bool fail(QString* error, const QString& what)
{
    const int saved = errno;
    if (error)
        *error = what + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(saved));
    errno = saved;
    return false;
}

bool writeAll(int fd, const char* data, qint64 size)
{
    while (size > 0) {
        ssize_t n = ::write(fd, data, static_cast<size_t>(size));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (n == 0) {
            errno = ENOSPC;
            return false;
        }
        data += n;
        size -= n;
    }
    return true;
}

// Whether the user may write `path`. Root passes access(2) for everything, so for root the
// mode must also carry a write bit: a read-only file stays read-only for every user.
bool mayWrite(const QByteArray& path, const struct stat& st)
{
    if (::faccessat(AT_FDCWD, path.constData(), W_OK, AT_EACCESS) != 0)
        return false;
    if (::geteuid() == 0 && (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
        errno = EACCES;
        return false;
    }
    return true;
}

// The file a save of `name` replaces: `name` itself, or the file a link there leads to.
// False when the link leads nowhere.
bool resolveTarget(const QByteArray& name, QByteArray& target)
{
    struct stat st {};
    if (::lstat(name.constData(), &st) != 0 || !S_ISLNK(st.st_mode)) {
        target = name;
        return true;
    }
    char* real = ::realpath(name.constData(), nullptr);
    if (!real)
        return false;
    target = real;
    std::free(real);
    return true;
}

QByteArray folderOf(const QByteArray& path)
{
    const qsizetype slash = path.lastIndexOf('/');
    if (slash < 0)
        return ".";
    return slash == 0 ? QByteArray("/") : path.left(slash);
}

bool isTempName(const char* entry, const QByteArray& prefix)
{
    if (std::strncmp(entry, prefix.constData(), size_t(prefix.size())) != 0)
        return false;
    const char* rest = entry + prefix.size();
    if (std::strlen(rest) != TempRandomLength)
        return false;
    for (const char* c = rest; *c; ++c) {
        const bool alnum =
            (*c >= 'a' && *c <= 'z') || (*c >= 'A' && *c <= 'Z') || (*c >= '0' && *c <= '9');
        if (!alnum)
            return false;
    }
    return true;
}

} // namespace

namespace AtomicFile {

bool write(const QString& path, const QByteArray& data, QString* error)
{
    const QByteArray name = QFile::encodeName(path);
    QByteArray target;
    // A file kept elsewhere through a symbolic link is replaced there; the link stays.
    if (!resolveTarget(name, target))
        return fail(error, QStringLiteral("cannot follow the link ") + path);
    const QString shown = QFile::decodeName(target);

    struct stat old {};
    const bool exists = ::stat(target.constData(), &old) == 0;
    if (!exists && errno != ENOENT)
        return fail(error, QStringLiteral("cannot examine ") + shown);
    if (exists) {
        // Renaming over a device or a FIFO would put a plain file in its place.
        if (!S_ISREG(old.st_mode)) {
            errno = EINVAL;
            return fail(error, shown + QStringLiteral(" is not a regular file"));
        }
        if (!mayWrite(target, old))
            return fail(error, QStringLiteral("cannot write ") + shown);
    }
    const QByteArray dir = folderOf(target);
    struct stat folder {};
    if (::stat(dir.constData(), &folder) != 0 || !mayWrite(dir, folder))
        return fail(error, QStringLiteral("cannot create a file in ") + QFile::decodeName(dir));

    QByteArray temp = target + TempMark + QByteArray(TempRandomLength, 'X');
    int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0)
        return fail(error, QStringLiteral("cannot create a file in ") + QFile::decodeName(dir));
    // Held until the rename, so that a start-up clean-up knows the file is being written.
    ::flock(fd, LOCK_EX);

    // Keep the old file's permissions; a new file is the user's alone, since reminders and
    // settings are private.
    ::fchmod(fd, exists ? old.st_mode & 07777 : 0600);

    bool ok = writeAll(fd, data.constData(), data.size()) && ::fsync(fd) == 0 &&
              ::rename(temp.constData(), target.constData()) == 0;
    const int saved = errno;
    if (!ok)
        ::unlink(temp.constData());
    // The data is already on disk through fsync; closing after the rename keeps the lock
    // until the temporary name is gone.
    ::close(fd);
    if (!ok) {
        errno = saved;
        return fail(error, QStringLiteral("cannot write ") + shown);
    }
    int dfd = ::open(dir.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd >= 0) {
        ::fsync(dfd);
        ::close(dfd);
    }
    return true;
}

ReadStatus read(const QString& path, QByteArray& data, qint64 maxBytes)
{
    data.clear();
    const QByteArray name = QFile::encodeName(path);
    struct stat st {};
    if (::stat(name.constData(), &st) != 0) {
        // Nothing there is a first run; a link that leads nowhere (a mount not ready yet) is
        // a file that cannot be read, not one to replace.
        struct stat link {};
        const bool nothing =
            (errno == ENOENT || errno == ENOTDIR) && ::lstat(name.constData(), &link) != 0;
        return nothing ? ReadStatus::Missing : ReadStatus::Failed;
    }
    // Anything but a regular file is never opened: a FIFO could block, a device never end,
    // and opening some devices does something by itself.
    if (!S_ISREG(st.st_mode)) {
        errno = EINVAL;
        return ReadStatus::Failed;
    }
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return ReadStatus::Failed;
    // The name may have been replaced between the check and the open.
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        errno = EINVAL;
        return ReadStatus::Failed;
    }
    // The size is only a hint (files under /proc say 0, a file may grow): read until the end,
    // one byte past the limit at most.
    const qint64 limit = maxBytes + 1;
    qint64 capacity = qMin(qMax<qint64>(4096, qint64(st.st_size) + 1), limit);
    QByteArray buffer(capacity, Qt::Uninitialized);
    qint64 total = 0;
    for (;;) {
        if (total == capacity) {
            if (capacity >= limit)
                break;
            capacity = qMin(capacity * 2, limit);
            buffer.resize(capacity);
        }
        const ssize_t n = ::read(fd, buffer.data() + total, size_t(capacity - total));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            const int saved = errno;
            ::close(fd);
            errno = saved;
            return ReadStatus::Failed;
        }
        if (n == 0)
            break;
        total += n;
    }
    ::close(fd);
    if (total > maxBytes) {
        errno = EFBIG;
        return ReadStatus::Failed;
    }
    buffer.truncate(total);
    data = std::move(buffer);
    return ReadStatus::Ok;
}

bool moveAside(const QString& path, const QString& suffix, QString* newPath)
{
    QString target = path + suffix;
    for (int n = 1; QFileInfo::exists(target) || QFileInfo(target).isSymLink(); ++n)
        target = path + suffix + QLatin1Char('.') + QString::number(n);
    if (::rename(QFile::encodeName(path).constData(), QFile::encodeName(target).constData()) != 0)
        return false;
    if (newPath)
        *newPath = target;
    return true;
}

int removeStaleTemporaries(const QString& path)
{
    QByteArray target;
    struct stat st {};
    // Only where a save could have gone: beside a regular file or where none is yet.
    if (!resolveTarget(QFile::encodeName(path), target) ||
        (::stat(target.constData(), &st) == 0 && !S_ISREG(st.st_mode)))
        return 0;
    const QByteArray dir = folderOf(target);
    const QByteArray prefix = target.mid(dir == "/" ? 1 : dir.size() + 1) + TempMark;
    DIR* listing = ::opendir(dir.constData());
    if (!listing)
        return 0;
    const int dfd = ::dirfd(listing);
    int removed = 0;
    while (const dirent* entry = ::readdir(listing)) {
        if (!isTempName(entry->d_name, prefix))
            continue;
        const int fd =
            ::openat(dfd, entry->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
        if (fd < 0)
            continue;
        // Only our own plain files, and only when no save holds them.
        if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == ::geteuid() &&
            ::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::unlinkat(dfd, entry->d_name, 0) == 0)
            ++removed;
        ::close(fd);
    }
    ::closedir(listing);
    return removed;
}

} // namespace AtomicFile
