#include "platform/linux/LinuxDriveInfo.h"

#include <QFile>
#include <QSet>

#include <sys/statvfs.h>

namespace {

// File systems that hold no user data on a local disk: kernel interfaces, memory-backed
// ones, network shares (a query could hang) and read-only package images.
bool isMonitorable(const QByteArray& type)
{
    static const QSet<QByteArray> excluded = {
        "proc",   "sysfs",     "devtmpfs",   "devpts",    "tmpfs",   "ramfs",       "rootfs",
        "cgroup", "cgroup2",   "securityfs", "debugfs",   "tracefs", "pstore",      "bpf",
        "mqueue", "hugetlbfs", "configfs",   "fusectl",   "autofs",  "binfmt_misc", "rpc_pipefs",
        "nsfs",   "efivarfs",  "selinuxfs",  "nfsd",      "devfs",   "usbfs",       "squashfs",
        "fuse",   "nfs",       "nfs4",       "cifs",      "smb3",    "smbfs",       "ncpfs",
        "afs",    "ceph",      "9p",         "glusterfs", "lustre",  "sshfs",       "davfs",
        "erofs",  "cramfs",    "overlay",    "aufs",      "virtiofs"};
    if (excluded.contains(type))
        return false;
    // FUSE file systems are user-space services (sshfs, gvfs); only fuseblk sits on a disk.
    return !type.startsWith("fuse.");
}

// Mount table fields escape blanks, tabs, newlines and backslashes as three octal digits.
QByteArray unescape(const QByteArray& field)
{
    QByteArray out;
    out.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        const char c = field[i];
        if (c == '\\' && i + 3 < field.size()) {
            const QByteArray digits = field.mid(i + 1, 3);
            bool ok = true;
            for (char d : digits)
                ok = ok && d >= '0' && d <= '7';
            if (ok) {
                out.append(char(digits.toInt(nullptr, 8)));
                i += 3;
                continue;
            }
        }
        out.append(c);
    }
    return out;
}

} // namespace

LinuxDriveInfo::LinuxDriveInfo(const QString& mountTable) : m_mountTable(mountTable) {}

QString LinuxDriveInfo::defaultDrive() const
{
    return QStringLiteral("/");
}

bool LinuxDriveInfo::driveSpace(const QString& root, DriveFigures& figures) const
{
    if (root.isEmpty())
        return false;
    struct statvfs st;
    if (::statvfs(QFile::encodeName(root).constData(), &st) != 0)
        return false;
    figures = LinuxDriveInfo::figures(st.f_frsize ? st.f_frsize : st.f_bsize, st.f_blocks,
                                      st.f_bfree, st.f_bavail);
    return true;
}

DriveFigures LinuxDriveInfo::figures(quint64 fragmentSize, quint64 blocks, quint64 freeBlocks,
                                     quint64 availableBlocks)
{
    // Some file systems report more available than free; then nothing is reserved.
    const quint64 reserved = freeBlocks > availableBlocks ? freeBlocks - availableBlocks : 0;
    DriveFigures f;
    f.sectorsPerCluster = 1;
    f.bytesPerSector = fragmentSize;
    f.totalClusters = blocks > reserved ? blocks - reserved : 0;
    f.freeClusters = qMin(availableBlocks, f.totalClusters);
    return f;
}

QStringList LinuxDriveInfo::listDrives() const
{
    QFile file(m_mountTable);
    if (!file.open(QIODevice::ReadOnly))
        return {defaultDrive()};
    QStringList points = parseMountTable(file.readAll());
    // As df leaves them out: a file system without blocks is a kernel interface, whatever
    // its type is called (the root stays, so the list is never empty).
    points.removeIf([](const QString& point) {
        struct statvfs st;
        return point != QStringLiteral("/") &&
               ::statvfs(QFile::encodeName(point).constData(), &st) == 0 && st.f_blocks == 0;
    });
    return points;
}

QStringList LinuxDriveInfo::parseMountTable(const QByteArray& text)
{
    QStringList points;
    bool haveRoot = false;
    for (const QByteArray& line : text.split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() < 3)
            continue;
        const QString point = QFile::decodeName(unescape(fields[1]));
        // An overlay is a container's root: the one worth watching when it is the system's.
        if (!isMonitorable(fields[2]) && !(fields[2] == "overlay" && point == QStringLiteral("/")))
            continue;
        // Namespace handles (ip netns) are bound over files in a tmpfs under /run.
        if (point.startsWith(QStringLiteral("/run/netns/")) ||
            point == QStringLiteral("/run/netns"))
            continue;
        if (!point.startsWith(u'/') || points.contains(point))
            continue;
        if (point == QStringLiteral("/"))
            haveRoot = true;
        else
            points.append(point);
    }
    if (haveRoot)
        points.prepend(QStringLiteral("/"));
    return points;
}
