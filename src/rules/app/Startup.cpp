#include "rules/app/Startup.h"

#include <QCoreApplication>

#include "rules/app/MainState.h"
#include "rules/nettime/TimeServers.h"
#include "rules/settings/SettingsTable.h"

namespace Startup {

QPoint panelStart(QPoint stored, QSize size, QSize desktop)
{
    // In 64 bits: an edited file can store positions where the far edge overflows.
    const bool across = stored.x() < desktop.width() && qint64(stored.x()) + size.width() > 0;
    const bool down = stored.y() < desktop.height() && qint64(stored.y()) + size.height() > 0;
    return across && down ? stored : DesignedPosition;
}

QString greeting(int hour, const QString& userName)
{
    QString text;
    if (hour < 12)
        text = QCoreApplication::translate("Startup", "Good morning %1");
    else if (hour < 18)
        text = QCoreApplication::translate("Startup", "Good afternoon %1");
    else
        text = QCoreApplication::translate("Startup", "Good evening %1");
    return text.arg(userName);
}

WindowSettings readDisplaySettings(MainState& s, const SettingsStore& store)
{
    WindowSettings w;
    w.stayOnTop = Settings::readFlag(store, Settings::StayOnTop);
    s.settings.HideInterval = Settings::readInt(store, Settings::HideInterval);
    // An indefinite hide period needs the tray icon to bring the panel back.
    w.taskIcon = s.settings.HideInterval < 0 || Settings::readFlag(store, Settings::TaskIcon);
    s.settings.Use12Hour = Settings::readFlag(store, Settings::TwelveHour);
    s.settings.PageFaultMax = Settings::readInt(store, Settings::PFMax);
    s.settings.UpdateInterval = Settings::readInt(store, Settings::UpdateInterval);
    s.tick.SampleCountdown = s.settings.UpdateInterval;
    return w;
}

qint32 readPriorityClass(const SettingsStore& store)
{
    return Settings::readInt(store, Settings::PriorityClass);
}

void readSoundAndDriveSettings(MainState& s, const SettingsStore& store,
                               const QString& defaultDrive)
{
    s.settings.MonitorDrive = Settings::readText(store, Settings::Drive, defaultDrive);
    s.settings.ChimeMode = Settings::readInt(store, Settings::Chime);
    s.settings.ChimeSound = Settings::readText(store, Settings::ChimeSound);
    s.settings.AlarmMode = Settings::readInt(store, Settings::Alarm);
    s.settings.AlarmSound = Settings::readText(store, Settings::AlarmSound);
    s.settings.NotificationOnly = Settings::readFlag(store, Settings::NotificationOnly);
    s.settings.AutoUpdate = Settings::readFlag(store, Settings::AutoUpdate);
}

void readTimeServerSettings(MainState& s, const SettingsStore& store)
{
    s.settings.InternetWindowTitle = Settings::readText(store, Settings::InternetWin);
    s.settings.TimeServerHost =
        TimeServers::StripCountryPrefix(Settings::readText(store, Settings::HostName));
}

void writeOwnedSettings(const SettingsStore& store, qint32 pageFaultMax, bool stayOnTop,
                        bool autoUpdateChecked)
{
    Settings::write(store, Settings::PFMax, pageFaultMax);
    Settings::write(store, Settings::StayOnTop, stayOnTop);
    Settings::write(store, Settings::AutoUpdate, autoUpdateChecked);
}

} // namespace Startup
