#pragma once

#include "ports/IProcessPriority.h"

#include <QLatin1String>
#include <QString>

#include <array>
#include <limits>

class SettingsStore;

// Every value the program keeps in its settings, with the section it lives in, its default and
// the values it accepts. Names and numbers here are what users' settings files hold: never
// rename a value or renumber a mode.
namespace Settings {

inline constexpr QLatin1String SettingsSection{"Settings"};
inline constexpr QLatin1String WindowSection{"Window"};

// What a read does with a stored number outside [min, max].
enum class Range {
    AsStored,       // keep it: the range is only what the settings dialog offers
    DefaultOutside, // replace it with the default
};

struct IntSetting {
    QLatin1String section;
    QLatin1String name;
    qint32 defaultValue;
    qint32 min;
    qint32 max;
    Range range;
};

// Stored as the integer 0 or 1; on only when exactly 1.
struct FlagSetting {
    QLatin1String section;
    QLatin1String name;
    bool defaultValue;
};

struct TextSetting {
    QLatin1String section;
    QLatin1String name;
    QLatin1String defaultValue;
    // A file name: bytes that are not UTF-8 still name the file, so they are kept as they were.
    bool fileName = false;
};

// The hourly chime and the reminders' sound, as "Chime" and "Alarm" store them.
namespace SoundMode {
enum : qint32 { Off = 0, Beep = 1, File = 2 };
}

inline constexpr qint32 AnyInt = std::numeric_limits<qint32>::min();
inline constexpr qint32 AnyIntMax = std::numeric_limits<qint32>::max();

// clang-format off
inline constexpr FlagSetting StayOnTop{SettingsSection, QLatin1String("StayOnTop"), false};
// Seconds the panel hides after a click; 0 never; negative: until the tray icon is clicked.
inline constexpr IntSetting HideInterval{SettingsSection, QLatin1String("Hide Interval"), 4, -1, 15, Range::AsStored};
inline constexpr FlagSetting TaskIcon{SettingsSection, QLatin1String("TaskIcon"), false};
inline constexpr FlagSetting TwelveHour{SettingsSection, QLatin1String("12Hr Format"), false};
// The paging ceiling; the sampler may raise it past the range while running.
inline constexpr IntSetting PFMax{SettingsSection, QLatin1String("PFMax"), 100, 100, 10000, Range::DefaultOutside};
// Ticks between performance samples.
inline constexpr IntSetting UpdateInterval{SettingsSection, QLatin1String("UpdateInterval"), 1, 1, 30, Range::AsStored};
// Passed to the system as stored; it refuses anything but the two classes.
inline constexpr IntSetting PriorityClass{SettingsSection, QLatin1String("PriorityClass"), IProcessPriority::IdleClass, IProcessPriority::NormalClass, IProcessPriority::IdleClass, Range::AsStored};
// The monitored location; its default is the platform's (see readText with a fallback).
inline constexpr TextSetting Drive{SettingsSection, QLatin1String("Drive"), QLatin1String("")};
inline constexpr IntSetting Chime{SettingsSection, QLatin1String("Chime"), SoundMode::Off, SoundMode::Off, SoundMode::File, Range::AsStored};
inline constexpr TextSetting ChimeSound{SettingsSection, QLatin1String("ChimeSound"), QLatin1String(""), true};
inline constexpr IntSetting Alarm{SettingsSection, QLatin1String("Alarm"), SoundMode::Off, SoundMode::Off, SoundMode::File, Range::AsStored};
inline constexpr TextSetting AlarmSound{SettingsSection, QLatin1String("AlarmSound"), QLatin1String(""), true};
// Reminders as desktop notifications only, without their pop-up.
inline constexpr FlagSetting NotificationOnly{SettingsSection, QLatin1String("NotificationOnly"), false};
// The reminder pop-up's last Snooze choice: 5, 10, 30 minutes, 1 hour, tomorrow at this time.
inline constexpr IntSetting SnoozeChoice{SettingsSection, QLatin1String("SnoozeChoice"), 1, 0, 4, Range::DefaultOutside};
inline constexpr FlagSetting AutoUpdate{SettingsSection, QLatin1String("AutoUpdate"), false};
inline constexpr TextSetting InternetWin{SettingsSection, QLatin1String("InternetWin"), QLatin1String("Connected to Internet")};
// Stored without a country prefix, but an older or edited one may carry it. The default is the
// host of the server list's "UK: " entry.
inline constexpr TextSetting HostName{SettingsSection, QLatin1String("HostName"), QLatin1String("ptbtime1.ptb.de")};

// Window placement. The state's low byte counts; a state other than 0 normal, 1 minimised,
// 2 maximised is taken as normal. Top and left are kept only when on the screen, which only
// the placement knows; width and height only above 100, and only for windows placed with
// their size (the main window is not).
inline constexpr IntSetting WindowState{WindowSection, QLatin1String("State"), 0, 0, 2, Range::AsStored};
inline constexpr IntSetting WindowTop{WindowSection, QLatin1String("Top"), 9999, AnyInt, AnyIntMax, Range::AsStored};
inline constexpr IntSetting WindowLeft{WindowSection, QLatin1String("Left"), 0, AnyInt, AnyIntMax, Range::AsStored};
inline constexpr IntSetting WindowWidth{WindowSection, QLatin1String("Width"), 0, 101, AnyIntMax, Range::AsStored};
inline constexpr IntSetting WindowHeight{WindowSection, QLatin1String("Height"), 0, 101, AnyIntMax, Range::AsStored};
// clang-format on

// One row of the whole table, whatever the type, for code that walks every value.
struct Row {
    enum class Type { Integer, Flag, Text };
    QLatin1String section;
    QLatin1String name;
    Type type;
    qint32 defaultInt; // integers and flags
    QLatin1String defaultText;
    qint32 min;
    qint32 max;
    Range range;
};

constexpr Row row(const IntSetting& s)
{
    return {s.section, s.name, Row::Type::Integer, s.defaultValue, QLatin1String(""), s.min,
            s.max,     s.range};
}
constexpr Row row(const FlagSetting& s)
{
    return {s.section, s.name, Row::Type::Flag, s.defaultValue ? 1 : 0, QLatin1String(""),
            0,         1,      Range::AsStored};
}
constexpr Row row(const TextSetting& s)
{
    return {s.section, s.name, Row::Type::Text, 0, s.defaultValue, 0, 0, Range::AsStored};
}

// clang-format off
inline constexpr std::array All{
    row(StayOnTop),      row(HideInterval),  row(TaskIcon),   row(TwelveHour),  row(PFMax),
    row(UpdateInterval), row(PriorityClass), row(Drive),      row(Chime),       row(ChimeSound),
    row(Alarm),          row(AlarmSound),    row(AutoUpdate), row(InternetWin), row(HostName),
    row(WindowState),    row(WindowTop),     row(WindowLeft), row(WindowWidth), row(WindowHeight),
    row(NotificationOnly), row(SnoozeChoice),
};
// clang-format on

// Reads apply the default to a missing value or one of another type, and the range rule.
qint32 readInt(const SettingsStore& store, const IntSetting& setting);
bool readFlag(const SettingsStore& store, const FlagSetting& setting);
QString readText(const SettingsStore& store, const TextSetting& setting);
// For a value whose default only the platform knows.
QString readText(const SettingsStore& store, const TextSetting& setting, const QString& fallback);

// Writes store what they are given: a value outside the range is the reader's to judge.
void write(const SettingsStore& store, const IntSetting& setting, qint32 value);
void write(const SettingsStore& store, const FlagSetting& setting, bool on);
void write(const SettingsStore& store, const TextSetting& setting, const QString& value);

} // namespace Settings
