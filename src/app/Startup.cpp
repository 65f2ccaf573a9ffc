#include "app/Startup.h"

#include "app/MainState.h"
#include "settings/SettingsStore.h"

namespace {
const QString Settings = QStringLiteral("Settings");
}

namespace Startup {

QPoint panelStart(QPoint stored, QSize size, QSize desktop)
{
    // In 64 bits: an edited file can store positions where the far edge overflows.
    const bool across = stored.x() < desktop.width() && qint64(stored.x()) + size.width() > 0;
    const bool down = stored.y() < desktop.height() && qint64(stored.y()) + size.height() > 0;
    return across && down ? stored : DesignedPosition;
}

QString StripCountryPrefix(const QString& host)
{
    const int colon = host.indexOf(QLatin1Char(':'));
    if (colon < 0)
        return host;
    return host.mid(colon + 2);
}

QString greeting(int hour, const QString& userName)
{
    QString text;
    if (hour < 12)
        text = QStringLiteral("Good morning ");
    else if (hour < 18)
        text = QStringLiteral("Good afternoon ");
    else
        text = QStringLiteral("Good evening ");
    return text + userName;
}

qint32 clampPageFaultMax(qint32 stored)
{
    return (stored < 100 || stored > 10000) ? 100 : stored;
}

WindowSettings readDisplaySettings(MainState& s, const SettingsStore& store)
{
    WindowSettings w;
    w.stayOnTop = store.ReadRegInt(Settings, QStringLiteral("StayOnTop"), 0) == 1;
    s.HideInterval = store.ReadRegInt(Settings, QStringLiteral("Hide Interval"), 4);
    // An indefinite hide period needs the tray icon to bring the panel back.
    w.taskIcon =
        s.HideInterval < 0 || store.ReadRegInt(Settings, QStringLiteral("TaskIcon"), 0) == 1;
    s.Use12Hour = store.ReadRegInt(Settings, QStringLiteral("12Hr Format"), 0) == 1;
    s.PageFaultMax = clampPageFaultMax(store.ReadRegInt(Settings, QStringLiteral("PFMax"), 100));
    s.UpdateInterval = store.ReadRegInt(Settings, QStringLiteral("UpdateInterval"), 1);
    s.SampleCountdown = s.UpdateInterval;
    return w;
}

qint32 readPriorityClass(const SettingsStore& store)
{
    return store.ReadRegInt(Settings, QStringLiteral("PriorityClass"), 64);
}

void readSoundAndDriveSettings(MainState& s, const SettingsStore& store,
                               const QString& defaultDrive)
{
    s.MonitorDrive = store.ReadRegString(Settings, QStringLiteral("Drive"), defaultDrive);
    s.ChimeMode = store.ReadRegInt(Settings, QStringLiteral("Chime"), 0);
    s.ChimeSound = store.ReadRegString(Settings, QStringLiteral("ChimeSound"), QString());
    s.AlarmMode = store.ReadRegInt(Settings, QStringLiteral("Alarm"), 0);
    s.AlarmSound = store.ReadRegString(Settings, QStringLiteral("AlarmSound"), QString());
    s.AutoUpdate = store.ReadRegInt(Settings, QStringLiteral("AutoUpdate"), 0) == 1;
}

void readTimeServerSettings(MainState& s, const SettingsStore& store)
{
    s.InternetWindowTitle =
        store.ReadRegString(Settings, QStringLiteral("InternetWin"), DefaultInternetWindowTitle);
    s.TimeServerHost = StripCountryPrefix(
        store.ReadRegString(Settings, QStringLiteral("HostName"), DefaultTimeServerHost));
}

void writeOwnedSettings(const SettingsStore& store, qint32 pageFaultMax, bool stayOnTop,
                        bool autoUpdateChecked)
{
    store.WriteRegInt(Settings, QStringLiteral("PFMax"), pageFaultMax);
    store.WriteRegInt(Settings, QStringLiteral("StayOnTop"), stayOnTop ? 1 : 0);
    store.WriteRegInt(Settings, QStringLiteral("AutoUpdate"), autoUpdateChecked ? 1 : 0);
}

} // namespace Startup
