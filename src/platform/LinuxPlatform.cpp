#include "platform/LinuxPlatform.h"

#include "net/SocketApi.h"
#include "platform/AppPaths.h"
#include "platform/LinuxClock.h"
#include "platform/LinuxClockSetter.h"
#include "platform/LinuxDriveInfo.h"
#include "platform/LinuxLauncher.h"
#include "platform/LinuxPriority.h"
#include "platform/LinuxScheduleFile.h"
#include "platform/LinuxSocketApi.h"
#include "platform/PasswdUserInfo.h"
#include "platform/ProcPerfSource.h"
#include "platform/QtScreen.h"
#include "platform/QtSound.h"
#include "platform/QtTrayShell.h"
#include "platform/RegFileRegistry.h"
#include "platform/X11Desktop.h"

struct LinuxPlatform::Impl {
    RegFileRegistry registry{AppPaths::settingsFile()};
    LinuxClock clock;
    LinuxClockSetter clockSetter{LinuxClockSetter::DefaultTimeoutMs, &clock};
    LinuxPriority priority;
    QtScreen screen;
    PasswdUserInfo user;
    LinuxDriveInfo drives;
    ProcPerfSource perf;
    QtSound sound;
    LinuxLauncher launcher;
    X11Desktop desktop;
    QtTrayShell tray;
    LinuxScheduleFile schedule{AppPaths::scheduleFile(AppPaths::dataDirectory())};
    LinuxSocketApi sockets;
};

LinuxPlatform::LinuxPlatform() : m_impl(std::make_unique<Impl>())
{
    Impl& i = *m_impl;
    m_services.registry = &i.registry;
    m_services.clock = &i.clock;
    m_services.clockSetter = &i.clockSetter;
    m_services.priority = &i.priority;
    m_services.screen = &i.screen;
    m_services.user = &i.user;
    m_services.drives = &i.drives;
    m_services.perf = &i.perf;
    m_services.sound = &i.sound;
    m_services.launcher = &i.launcher;
    m_services.windowFinder = &i.desktop;
    m_services.desktop = &i.desktop;
    m_services.tray = &i.tray;
    m_services.schedule = &i.schedule;
    m_services.dataDirectory = AppPaths::dataDirectory();
    InstallSocketApi(&i.sockets);
}

LinuxPlatform::~LinuxPlatform()
{
    InstallSocketApi(nullptr);
}
