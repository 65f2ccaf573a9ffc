#pragma once

#include "doubles/FakeClock.h"
#include "doubles/FakeClockSetter.h"
#include "doubles/FakeDriveInfo.h"
#include "doubles/FakePerfSource.h"
#include "doubles/FakeRegistry.h"
#include "doubles/FakeScreen.h"
#include "doubles/FakeSound.h"
#include "doubles/FakeTrayShell.h"
#include "platform/linux/LinuxFileStore.h"
#include "ports/IDesktopWindow.h"
#include "ports/ILauncher.h"
#include "ports/IProcessPriority.h"
#include "ports/IUserInfo.h"
#include "ports/IWindowFinder.h"
#include "ports/Platform.h"

#include <QStringList>

// Records programs instead of starting them.
class FakeLauncher : public ILauncher {
public:
    bool open(const QString& file, const QString& parameters, const QString& directory,
              int show) override;
    bool result = true;
    QStringList calls;
};

class FakePriority : public IProcessPriority {
public:
    Result setPriorityClass(int c) override;
    QList<int> classes;
    Result result = Result::Set; // for the two known classes
};

class FakeUser : public IUserInfo {
public:
    QString userName() const override { return name; }
    QString name = "Ann";
};

class FakeDesktop : public IDesktopWindow, public IWindowFinder {
public:
    void suppressTaskbarButton(QWidget*) override { ++suppressed; }
    void setStayOnTop(QWidget*, bool on) override { onTop << on; }
    void showOnAllWorkspaces(QWidget*) override { allWorkspaces = true; }
    bool findTopLevel(const QString& title) const override { return titles.contains(title); }
    int suppressed = 0;
    QList<bool> onTop;
    bool allWorkspaces = false;
    QStringList titles;
};

// Every service as a double, wired into one Platform; the machine's figures look ordinary and
// the schedule is a real file in the given folder.
struct FakePlatform {
    FakeRegistry registry;
    FakeClock clock;
    FakeClockSetter clockSetter;
    FakePriority priority;
    FakeScreen screen;
    FakeUser user;
    FakeDriveInfo drives;
    FakePerfSource perf;
    FakeSound sound;
    FakeLauncher launcher;
    FakeDesktop desktop;
    FakeTrayShell tray;
    LinuxFileStore files;
    Platform services;

    explicit FakePlatform(const QString& dataDirectory);
};
