#include "platform/linux/SoundTheme.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStringList>

namespace SoundTheme {

namespace {

QString environmentOr(const char* name, const QString& fallback)
{
    const QString value = qEnvironmentVariable(name);
    return value.isEmpty() ? fallback : value;
}

// GTK desktops name their theme in their settings file.
QString desktopTheme()
{
    const QString user =
        environmentOr("XDG_CONFIG_HOME", QDir::homePath() + QStringLiteral("/.config"));
    for (const QString& file : {user + QStringLiteral("/gtk-3.0/settings.ini"),
                                QStringLiteral("/etc/gtk-3.0/settings.ini")}) {
        const QString theme = QSettings(file, QSettings::IniFormat)
                                  .value(QStringLiteral("Settings/gtk-sound-theme-name"))
                                  .toString();
        if (!theme.isEmpty())
            return theme;
    }
    return {};
}

} // namespace

QString find(const QString& name)
{
    QStringList folders{
        environmentOr("XDG_DATA_HOME", QDir::homePath() + QStringLiteral("/.local/share"))};
    folders += environmentOr("XDG_DATA_DIRS", QStringLiteral("/usr/local/share:/usr/share"))
                   .split(u':', Qt::SkipEmptyParts);
    for (const QString& theme : {desktopTheme(), QStringLiteral("freedesktop")}) {
        for (const QString& folder : std::as_const(folders)) {
            for (const QLatin1String type :
                 {QLatin1String(".oga"), QLatin1String(".ogg"), QLatin1String(".wav")}) {
                const QString file = folder + QStringLiteral("/sounds/") + theme +
                                     QStringLiteral("/stereo/") + name + type;
                if (!theme.isEmpty() && QFileInfo(file).isFile()) // the desktop may name none
                    return file;
            }
        }
    }
    return {};
}

} // namespace SoundTheme
