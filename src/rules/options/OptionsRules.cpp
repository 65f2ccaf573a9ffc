#include "rules/options/OptionsRules.h"

#include <QCoreApplication>

#include "core/ClockReading.h"
#include "ports/IProcessPriority.h"
#include "rules/settings/SettingsInForce.h"
#include "rules/settings/SettingsStore.h"
#include "rules/settings/SettingsTable.h"

#include <algorithm>

namespace OptionsRules {

namespace {

// Off, Beep or Play sound: which radio button a stored mode checks; none for anything else.
int modeButton(qint32 mode)
{
    return mode >= Settings::SoundMode::Off && mode <= Settings::SoundMode::File ? mode : -1;
}

// Nothing checked stores Off.
qint32 storedMode(int button)
{
    return button == Settings::SoundMode::File || button == Settings::SoundMode::Beep
               ? button
               : Settings::SoundMode::Off;
}

} // namespace

OptionsValues fill(const SettingsInForce& settings, const ClockReading& clock,
                   const SettingsStore& store, const QStringList& drives)
{
    OptionsValues v;
    v.use12Hour = settings.Use12Hour;
    v.hidePeriod = std::clamp(settings.HideInterval, HideMin, HideMax);
    v.updateInterval = std::clamp(settings.UpdateInterval, UpdIntMin, UpdIntMax);
    v.drives = drives;
    v.drive = int(v.drives.indexOf(settings.MonitorDrive));
    if (v.drive < 0 && !settings.MonitorDrive.isEmpty()) {
        v.drives.prepend(settings.MonitorDrive);
        v.drive = 0;
    }
    v.chimeMode = modeButton(settings.ChimeMode);
    v.chimeFile = settings.ChimeSound;
    v.alarmMode = modeButton(settings.AlarmMode);
    v.alarmFile = settings.AlarmSound;
    v.notificationOnly = settings.NotificationOnly;
    v.taskIcon = settings.TaskIcon;
    // The stored class, not the one in force: a refused class still shows as chosen.
    v.idlePriority =
        Settings::readInt(store, Settings::PriorityClass) == IProcessPriority::IdleClass;
    v.hour = clock.CurrentHour;
    v.minute = clock.CurrentMinute;
    v.second = clock.CurrentSecond;
    return v;
}

void apply(const OptionsValues& v, SettingsInForce& s, const SettingsStore& store,
           OptionsEffects& effects)
{
    if (v.use12Hour != s.Use12Hour) {
        s.Use12Hour = v.use12Hour;
        Settings::write(store, Settings::TwelveHour, s.Use12Hour);
        effects.SetDisplayFormat(s.Use12Hour);
    }

    // Countdowns already running keep going with the old values.
    s.HideInterval = std::clamp(v.hidePeriod, HideMin, HideMax);
    Settings::write(store, Settings::HideInterval, s.HideInterval);
    s.UpdateInterval = std::clamp(v.updateInterval, UpdIntMin, UpdIntMax);
    Settings::write(store, Settings::UpdateInterval, s.UpdateInterval);

    if (v.drive >= 0 && v.drive < v.drives.size())
        s.MonitorDrive = v.drives.at(v.drive);
    effects.GetDriveSpace(s.MonitorDrive);
    Settings::write(store, Settings::Drive, s.MonitorDrive);

    // The files are kept whatever the mode, ready for when "Play sound:" is chosen again.
    s.ChimeMode = storedMode(v.chimeMode);
    s.ChimeSound = v.chimeFile;
    Settings::write(store, Settings::Chime, s.ChimeMode);
    Settings::write(store, Settings::ChimeSound, s.ChimeSound);
    s.AlarmMode = storedMode(v.alarmMode);
    s.AlarmSound = v.alarmFile;
    Settings::write(store, Settings::Alarm, s.AlarmMode);
    Settings::write(store, Settings::AlarmSound, s.AlarmSound);
    // Written only once changed, so files of users who never use it stay as they were.
    if (v.notificationOnly != s.NotificationOnly) {
        s.NotificationOnly = v.notificationOnly;
        Settings::write(store, Settings::NotificationOnly, s.NotificationOnly);
    }

    // A panel hidden until the tray icon is clicked needs the tray icon.
    bool trayShown = v.taskIcon;
    if (s.HideInterval < 0 && !v.taskIcon) {
        effects.ShowWarning(QCoreApplication::translate("OptionsRules", TrayWarningText));
        trayShown = true;
    }
    s.TaskIcon = trayShown;
    effects.setTrayIconShown(trayShown);
    Settings::write(store, Settings::TaskIcon, trayShown);

    // Stored only once in force: the dialog shows the stored class, so a refused change would
    // otherwise look made while the program runs on as before.
    const int priorityClass =
        v.idlePriority ? IProcessPriority::IdleClass : IProcessPriority::NormalClass;
    if (effects.SetPriorityClass(priorityClass))
        Settings::write(store, Settings::PriorityClass, priorityClass);
}

QString priorityStatus(IProcessPriority::Result result)
{
    switch (result) {
    case IProcessPriority::Result::Set:
        return QString();
    case IProcessPriority::Result::NotPermitted:
        return QCoreApplication::translate("OptionsRules", "Priority not changed: not permitted");
    case IProcessPriority::Result::Failed:
    case IProcessPriority::Result::UnknownClass:
        break;
    }
    return QCoreApplication::translate("OptionsRules", "Priority not changed");
}

QString clockSyncLine(IClockSync::State state)
{
    switch (state) {
    case IClockSync::State::Synchronised:
        return QCoreApplication::translate("OptionsRules", "Synchronised by the system (NTP).");
    case IClockSync::State::Synchronising:
        return QCoreApplication::translate("OptionsRules", "The system is synchronising (NTP).");
    case IClockSync::State::Off:
    case IClockSync::State::Unknown:
        break;
    }
    return QString();
}

QString hideLabel(int position)
{
    if (position == 0)
        return QCoreApplication::translate("OptionsRules", "Off");
    if (position < 0)
        return QCoreApplication::translate("OptionsRules", "Indefinite");
    return QCoreApplication::translate("OptionsRules", "%n secs", nullptr, position);
}

QString updateIntervalLabel(int position)
{
    return QCoreApplication::translate("OptionsRules", "%n secs", nullptr, position);
}

QString fileNamePart(const QString& path)
{
    return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
}

QString helpTopic(const QString& pageCaption)
{
    return QStringLiteral("settings_") + pageCaption.left(4);
}

} // namespace OptionsRules
