#include "platform/AtomicFile.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool fail(QString* error, const QString& what)
{
    if (error)
        *error = what + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(errno));
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

} // namespace

namespace AtomicFile {

bool write(const QString& path, const QByteArray& data, QString* error)
{
    // A file kept elsewhere through a symbolic link is replaced there; the link stays.
    QFileInfo info(path);
    if (info.isSymLink() && info.exists())
        info = QFileInfo(info.canonicalFilePath());
    const QByteArray dir = QFile::encodeName(info.absolutePath());
    const QByteArray target = QFile::encodeName(info.absoluteFilePath());
    QByteArray temp = target + ".XXXXXX";

    int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0)
        return fail(error, QStringLiteral("cannot create a file in ") + info.absolutePath());

    // Keep the old file's permissions; a new file gets the usual ones.
    struct stat old {};
    mode_t mode = 0644;
    if (::stat(target.constData(), &old) == 0)
        mode = old.st_mode & 07777;
    else {
        mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    ::fchmod(fd, mode);

    bool ok = writeAll(fd, data.constData(), data.size()) && ::fsync(fd) == 0;
    int saved = errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        saved = errno;
    }
    if (ok && ::rename(temp.constData(), target.constData()) != 0) {
        ok = false;
        saved = errno;
    }
    if (!ok) {
        ::unlink(temp.constData());
        errno = saved;
        return fail(error, QStringLiteral("cannot write ") + info.absoluteFilePath());
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
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return f.exists() ? ReadStatus::Failed : ReadStatus::Missing;
    if (f.size() > maxBytes)
        return ReadStatus::Failed;
    data = f.readAll();
    return f.error() == QFileDevice::NoError ? ReadStatus::Ok : ReadStatus::Failed;
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

} // namespace AtomicFile
