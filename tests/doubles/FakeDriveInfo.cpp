#include "doubles/FakeDriveInfo.h"

QString FakeDriveInfo::defaultDrive() const
{
    return "/";
}

bool FakeDriveInfo::driveSpace(const QString& root, DriveFigures& f) const
{
    asked << root;
    if (ok)
        f = figures;
    return ok;
}

QStringList FakeDriveInfo::listDrives() const
{
    return {"/"};
}
