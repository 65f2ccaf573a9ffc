#pragma once

#include <QPoint>
#include <QSize>
#include <QString>

struct MainState;
class SettingsStore;

// The rules of start-up and shutdown that do not need a window.
namespace Startup {

// The panel's designed place on the desktop.
inline constexpr QPoint DesignedPosition{10, 160};

// Where the panel starts: at `stored`, unless a panel of `size` there would lie wholly outside
// a desktop of `desktop` (from 0,0), where nobody could ever see or move it; then at its
// designed place. A panel partly off the desktop stays where it was.
QPoint panelStart(QPoint stored, QSize size, QSize desktop);

// "Good morning ", "Good afternoon " or "Good evening " followed by the name.
QString greeting(int hour, const QString& userName);

// Settings read at start-up that decide more than one state value.
struct WindowSettings {
    bool stayOnTop = false;
    bool taskIcon = false;
};

// Reads every "Settings" value of the main window into the state, in start-up order.
// `defaultDrive` is the monitored location used when none is stored. The calls that must
// happen in between (priority, drive size, display format) are the caller's.
WindowSettings readDisplaySettings(MainState& state, const SettingsStore& store);
qint32 readPriorityClass(const SettingsStore& store);
void readSoundAndDriveSettings(MainState& state, const SettingsStore& store,
                               const QString& defaultDrive);
void readTimeServerSettings(MainState& state, const SettingsStore& store);

// What shutdown stores: the paging ceiling, stay-on-top and automatic update check marks.
void writeOwnedSettings(const SettingsStore& store, qint32 pageFaultMax, bool stayOnTop,
                        bool autoUpdateChecked);

} // namespace Startup
