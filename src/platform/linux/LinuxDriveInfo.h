#pragma once

#include "ports/IDriveInfo.h"

#include <QByteArray>

// Mounted file systems from the mount table, sizes from statvfs.
class LinuxDriveInfo : public IDriveInfo {
public:
    explicit LinuxDriveInfo(const QString& mountTable = QStringLiteral("/proc/self/mounts"));

    QString defaultDrive() const override;
    bool driveSpace(const QString& root, DriveFigures& figures) const override;
    QStringList listDrives() const override;

    // The figures of a file system as df counts them: blocks reserved for the administrator
    // are neither used nor free, so the fullness is that of the space users can have.
    static DriveFigures figures(quint64 fragmentSize, quint64 blocks, quint64 freeBlocks,
                                quint64 availableBlocks);

    // Mount points of a mount table's text worth monitoring: "/" first, then the others in
    // table order, without pseudo, network and package-image file systems or repeats.
    static QStringList parseMountTable(const QByteArray& text);

private:
    QString m_mountTable;
};
