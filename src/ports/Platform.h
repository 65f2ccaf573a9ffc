#pragma once

#include <QString>

class IRegistry;
class IReminderService;
class IClock;
class IClockSetter;
class IClockSync;
class IProcessPriority;
class IScreen;
class IUserInfo;
class IDriveInfo;
class IPerfSource;
class INotifier;
class ISound;
class ILauncher;
class IWindowFinder;
class IDesktopWindow;
class ITrayShell;
class IFileStore;
class ISocketApi;

// Every operating-system service the program uses, handed to the main window at start.
// The program builds the Linux set; tests build doubles.
struct Platform {
    IRegistry* registry = nullptr;
    IClock* clock = nullptr;
    IClockSetter* clockSetter = nullptr;
    IClockSync* clockSync = nullptr;
    IProcessPriority* priority = nullptr;
    IScreen* screen = nullptr;
    IUserInfo* user = nullptr;
    IDriveInfo* drives = nullptr;
    IPerfSource* perf = nullptr;
    ISound* sound = nullptr;
    // Desktop notifications; none where the program runs without them.
    INotifier* notifier = nullptr;
    ILauncher* launcher = nullptr;
    IWindowFinder* windowFinder = nullptr;
    IDesktopWindow* desktop = nullptr;
    ITrayShell* tray = nullptr;
    // The clock's service on the session bus; none in the tests that do not publish one.
    IReminderService* reminderService = nullptr;
    IFileStore* files = nullptr;
    // The socket layer the time client's socket component is installed over.
    ISocketApi* sockets = nullptr;
    // Folder of the schedule file, with its trailing separator.
    QString dataDirectory;
    // Where the settings and the schedule are kept.
    QString settingsFile;
    QString scheduleFile;
};
