#pragma once

#include <QString>
#include <QStringList>

// Figures of one mounted file system, in the cluster terms the disk bar works with.
struct DriveFigures {
    quint64 sectorsPerCluster = 0;
    quint64 bytesPerSector = 0;
    quint64 freeClusters = 0;
    quint64 totalClusters = 0;
};

class IDriveInfo {
public:
    virtual ~IDriveInfo() = default;
    // The location monitored when nothing is stored: the root of the system's file system.
    virtual QString defaultDrive() const = 0;
    // False when the location cannot be queried (not mounted, does not exist).
    virtual bool driveSpace(const QString& root, DriveFigures& figures) const = 0;
    // Mount points of the local file systems that can be monitored.
    virtual QStringList listDrives() const = 0;
};
