#pragma once

#include "ports/IClockSync.h"
#include "ports/IProcessPriority.h"

#include <QString>
#include <QStringList>

struct ClockReading;
struct SettingsInForce;
class SettingsStore;

// What the settings dialog shows and collects, one field per control, free of widgets.
struct OptionsValues {
    bool use12Hour = false; // rb12hr, else rb24hr
    int hidePeriod = 0;     // tbHidePeriod, -1..15
    int updateInterval = 1; // tbUpdInt, 1..30
    QStringList drives;     // cbDrv's list
    int drive = -1;         // cbDrv's selection; -1 none
    int chimeMode = -1;     // which of rbNoChime, rbBeepChime, rbWavChime; -1 none
    QString chimeFile;      // the working copies, changed only by the Browse buttons
    int alarmMode = -1;     // rbNoAlarm, rbBeepAlarm, rbWavAlarm; -1 none
    QString alarmFile;
    bool notificationOnly = false; // cbNotificationOnly
    bool taskIcon = false;         // cbTaskIcon
    bool idlePriority = true;      // rbIdle, else rbNormal
    int hour = 0;                  // seHr, seMin, seSec
    int minute = 0;
    int second = 0;
};

// What applying the dialog changes outside the settings: the face, the disk bar, the tray
// icon, the scheduling class and the one warning.
class OptionsEffects {
public:
    virtual ~OptionsEffects() = default;
    // New hour format; the digits are redrawn (with the other minute steps) at the next tick.
    virtual void SetDisplayFormat(bool use12Hour) = 0;
    virtual void GetDriveSpace(const QString& drive) = 0;
    virtual void setTrayIconShown(bool shown) = 0;
    // True when the class is in force now for the whole program.
    virtual bool SetPriorityClass(int priorityClass) = 0;
    virtual void ShowWarning(const QString& text) = 0;
};

// Filling the settings dialog from the running values and applying what the user confirmed.
namespace OptionsRules {

inline constexpr int HideMin = -1, HideMax = 15;
inline constexpr int UpdIntMin = 1, UpdIntMax = 30;

// `drives` are the locations that can be monitored now; a stored one that is not among them
// (unmounted since) is offered first, so that confirming the dialog keeps it.
// The tray box shows the icon as chosen, not whether a tray shows it.
OptionsValues fill(const SettingsInForce& settings, const ClockReading& clock,
                   const SettingsStore& store, const QStringList& drives);

// Applies and stores a confirmed dialog in the order the settings depend on each other.
void apply(const OptionsValues& values, SettingsInForce& settings, const SettingsStore& store,
           OptionsEffects& effects);

// The texts beside the track bars and under the Browse buttons.
QString hideLabel(int position);
QString updateIntervalLabel(int position);
QString fileNamePart(const QString& path);

// The date line's word on a class the system did not put in force; empty when it did.
QString priorityStatus(IProcessPriority::Result result);

// The time page's line on the system's own synchronisation, under which its time service
// refuses a manual set; empty when it is off or unknown.
QString clockSyncLine(IClockSync::State state);

// The help topic of a page, from its caption.
QString helpTopic(const QString& pageCaption);

// Shown translated; TrayWarning is the English.
inline constexpr char TrayWarningText[] =
    QT_TRANSLATE_NOOP("OptionsRules", "Task Bar icon enabled because hide period was set to "
                                      "indefinite. (See online help for explanation.)");
inline const QString TrayWarning = QString::fromUtf8(TrayWarningText);

} // namespace OptionsRules
