#include "platform/linux/LinuxPlatform.h"

#include "platform/linux/AppPaths.h"
#include "platform/linux/DBusNotifier.h"
#include "platform/linux/DBusReminderService.h"
#include "platform/linux/LinuxClock.h"
#include "platform/linux/LinuxClockSetter.h"
#include "platform/linux/LinuxClockSync.h"
#include "platform/linux/LinuxDriveInfo.h"
#include "platform/linux/LinuxFileStore.h"
#include "platform/linux/LinuxLauncher.h"
#include "platform/linux/LinuxPriority.h"
#include "platform/linux/LinuxSocketApi.h"
#include "platform/linux/PasswdUserInfo.h"
#include "platform/linux/ProcPerfSource.h"
#include "platform/linux/QtScreen.h"
#include "platform/linux/QtSound.h"
#include "platform/linux/QtTrayShell.h"
#include "platform/linux/X11Desktop.h"

struct LinuxPlatform::Impl {
    LinuxClock clock;
    LinuxClockSetter clockSetter{LinuxClockSetter::DefaultTimeoutMs, &clock};
    LinuxClockSync clockSync;
    LinuxPriority priority;
    QtScreen screen;
    PasswdUserInfo user;
    LinuxDriveInfo drives;
    ProcPerfSource perf;
    QtSound sound;
    DBusNotifier notifier;
    DBusReminderService reminderService;
    LinuxLauncher launcher;
    X11Desktop desktop;
    QtTrayShell tray;
    LinuxFileStore files;
    LinuxSocketApi sockets;
};

LinuxPlatform::LinuxPlatform() : m_impl(std::make_unique<Impl>())
{
    Impl& i = *m_impl;
    m_services.clock = &i.clock;
    m_services.clockSetter = &i.clockSetter;
    m_services.clockSync = &i.clockSync;
    m_services.priority = &i.priority;
    m_services.screen = &i.screen;
    m_services.user = &i.user;
    m_services.drives = &i.drives;
    m_services.perf = &i.perf;
    m_services.sound = &i.sound;
    m_services.notifier = &i.notifier;
    m_services.reminderService = &i.reminderService;
    m_services.launcher = &i.launcher;
    m_services.windowFinder = &i.desktop;
    m_services.desktop = &i.desktop;
    m_services.tray = &i.tray;
    m_services.files = &i.files;
    m_services.dataDirectory = AppPaths::dataDirectory();
    m_services.settingsFile = AppPaths::settingsFile();
    m_services.scheduleFile = AppPaths::scheduleFile(m_services.dataDirectory);
    m_services.sockets = &i.sockets;
}

LinuxPlatform::~LinuxPlatform() = default;
