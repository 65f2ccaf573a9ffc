#pragma once

#include "ports/IDriveInfo.h"

#include <QStringList>

// One drive, "/", with the figures set; a refusal leaves the caller's figures alone.
class FakeDriveInfo : public IDriveInfo {
public:
    QString defaultDrive() const override;
    bool driveSpace(const QString& root, DriveFigures& f) const override;
    QStringList listDrives() const override;

    bool ok = true;
    DriveFigures figures;
    mutable QStringList asked;
};
