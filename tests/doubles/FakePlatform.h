#pragma once

#include "doubles/FakeRegistry.h"
#include "doubles/FakeSound.h"
#include "platform/AppPaths.h"
#include "platform/IClock.h"
#include "platform/IDesktopWindow.h"
#include "platform/IDriveInfo.h"
#include "platform/ILauncher.h"
#include "platform/IPerfSource.h"
#include "platform/IProcessPriority.h"
#include "platform/IScreen.h"
#include "platform/ITrayShell.h"
#include "platform/IUserInfo.h"
#include "platform/IWindowFinder.h"
#include "platform/LinuxScheduleFile.h"
#include "platform/Platform.h"

#include <QStringList>

// A clock that stands still until a test moves it; sleeps only add up.
class FakeClock : public IClock {
public:
    QDateTime now() const override { return current; }
    quint32 tickCount() const override { return ticks; }
    void sleepMs(int ms) override
    {
        slept += ms;
        ticks += static_cast<quint32>(ms);
    }
    bool setSystemTimeUtc(const QDateTime& utc) override
    {
        setTo = utc;
        return allowSet;
    }
    QDateTime current{QDate(2000, 1, 3), QTime(9, 0)};
    quint32 ticks = 0;
    int slept = 0;
    bool allowSet = false;
    QDateTime setTo;
};

// Records programs instead of starting them.
class FakeLauncher : public ILauncher {
public:
    bool open(const QString& file, const QString& parameters, const QString& directory,
              int show) override
    {
        calls << QStringLiteral("%1|%2|%3|%4").arg(file, parameters, directory).arg(show);
        return result;
    }
    bool result = true;
    QStringList calls;
};

class FakePriority : public IProcessPriority {
public:
    bool setPriorityClass(int c) override
    {
        classes << c;
        return c == IdleClass || c == NormalClass;
    }
    QList<int> classes;
};

class FakeScreen : public IScreen {
public:
    int width() const override { return w; }
    int height() const override { return h; }
    int w = 1920, h = 1080;
};

class FakeUser : public IUserInfo {
public:
    QString userName() const override { return name; }
    QString name = QStringLiteral("Ann");
};

class FakeDrives : public IDriveInfo {
public:
    QString defaultDrive() const override { return QStringLiteral("/"); }
    bool driveSpace(const QString& root, DriveFigures& f) const override
    {
        queried << root;
        f = figures;
        return ok;
    }
    QStringList listDrives() const override { return {QStringLiteral("/")}; }
    DriveFigures figures{1, 1024, 250, 1000};
    bool ok = true;
    mutable QStringList queried;
};

class FakePerf : public IPerfSource {
public:
    qint32 readPerfStat(const QString& key, const QString& value) override
    {
        calls << key + QLatin1Char('|') + value;
        return value.contains(QLatin1String("CPU")) ? cpu : faults;
    }
    qint32 memoryLoad() override { return memory; }
    qint32 cpu = 50, faults = 1000, memory = 40;
    QStringList calls;
};

class FakeDesktop : public IDesktopWindow, public IWindowFinder {
public:
    void suppressTaskbarButton(QWidget*) override { ++suppressed; }
    void setStayOnTop(QWidget*, bool on) override { onTop << on; }
    bool findTopLevel(const QString& title) const override { return titles.contains(title); }
    int suppressed = 0;
    QList<bool> onTop;
    QStringList titles;
};

class FakeTray : public ITrayShell {
public:
    bool add(const TrayRecord& r) override
    {
        calls << QStringLiteral("add %1").arg(r.id);
        return available;
    }
    bool modify(const TrayRecord& r) override
    {
        calls << QStringLiteral("modify ") + r.tip;
        return true;
    }
    bool remove(const TrayRecord& r) override
    {
        calls << QStringLiteral("remove %1").arg(r.id);
        return true;
    }
    void setCallback(Callback c) override { callback = std::move(c); }
    void click(int id = 0)
    {
        if (callback)
            callback(id, Mouse::LeftUp, QPoint());
    }
    bool available = true;
    QStringList calls;
    Callback callback;
};

// Every service as a double, wired into one Platform; the schedule is a real file in the
// given folder.
struct FakePlatform {
    FakeRegistry registry;
    FakeClock clock;
    FakePriority priority;
    FakeScreen screen;
    FakeUser user;
    FakeDrives drives;
    FakePerf perf;
    FakeSound sound;
    FakeLauncher launcher;
    FakeDesktop desktop;
    FakeTray tray;
    LinuxScheduleFile schedule;
    Platform services;

    explicit FakePlatform(const QString& dataDirectory)
        : schedule(AppPaths::scheduleFile(dataDirectory))
    {
        services.registry = &registry;
        services.clock = &clock;
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
        services.schedule = &schedule;
        services.dataDirectory = dataDirectory;
    }
};
