#include "platform/linux/AppPaths.h"

#include <QDir>

namespace {

QString baseDir(const char* variable, const char* fallback)
{
    const QString value = QString::fromLocal8Bit(qgetenv(variable));
    // Relative values are invalid and are ignored, as the XDG rules say.
    if (!value.isEmpty() && QDir::isAbsolutePath(value))
        return value;
    return QDir::homePath() + QLatin1Char('/') + QLatin1String(fallback);
}

} // namespace

namespace AppPaths {

QString settingsFile()
{
    return baseDir("XDG_CONFIG_HOME", ".config") + QStringLiteral("/horolux/settings.reg");
}

QString dataDirectory()
{
    return baseDir("XDG_DATA_HOME", ".local/share") + QStringLiteral("/horolux/");
}

QString scheduleFile(const QString& dataDirectory)
{
    return dataDirectory + QStringLiteral("horolux.dat");
}

} // namespace AppPaths
