#include "doubles/FakePlatform.h"

#include "platform/linux/AppPaths.h"

bool FakeLauncher::open(const QString& file, const QString& parameters, const QString& directory,
                        int show)
{
    calls << QString("%1|%2|%3|%4").arg(file, parameters, directory).arg(show);
    return result;
}

IProcessPriority::Result FakePriority::setPriorityClass(int c)
{
    classes << c;
    return c == IdleClass || c == NormalClass ? result : Result::UnknownClass;
}

FakePlatform::FakePlatform(const QString& dataDirectory)
{
    drives.figures = {1, 1024, 250, 1000};
    perf.cpu = 50;
    perf.faults = 1000;
    perf.load = 40;

    services.registry = &registry;
    services.clock = &clock;
    services.clockSetter = &clockSetter;
    services.priority = &priority;
    services.screen = &screen;
    services.user = &user;
    services.drives = &drives;
    services.perf = &perf;
    services.sound = &sound;
    services.launcher = &launcher;
    services.windowFinder = &desktop;
    services.desktop = &desktop;
    services.tray = &tray;
    services.files = &files;
    services.scheduleFile = AppPaths::scheduleFile(dataDirectory);
    services.dataDirectory = dataDirectory;
}
