#pragma once

#include "app/DayNumber.h"
#include "sched/ScheduleList.h"

#include <QString>

// The program-wide state owned by the main window. One thread uses it; the areas read and
// write it directly. Values here are the ones before start-up; start-up fills them in.
struct MainState {
    // Files
    QString ScheduleFileName;
    QString ProgramDirectory;
    QString HelpFile;

    // Settings in force
    qint32 HideInterval = 4;
    bool Use12Hour = false;
    qint32 PageFaultMax = 100;
    qint32 UpdateInterval = 1;
    qint32 SampleCountdown = 1;
    QString MonitorDrive;
    qint32 ChimeMode = 0;
    QString ChimeSound;
    qint32 AlarmMode = 0;
    QString AlarmSound;
    bool AutoUpdate = false;
    QString InternetWindowTitle;
    QString TimeServerHost;

    // Decoded time of the last clock update
    DayNumber TodayDate = 0;
    quint16 CurrentHour = 0;
    quint16 CurrentMinute = 0;
    quint16 CurrentSecond = 0;
    quint16 CurrentMillisecond = 0;

    // Countdowns and display state of the tick
    qint32 DateLineCountdown = 10;
    DayNumber LastDateShown = 0;
    quint16 LastMinuteShown = 99;
    bool ColonShown = false;
    qint32 HideCountdown = -1;

    // Scheduler
    ::ScheduleList ScheduleList;
    qint32 ScheduleCursor = 0;
    bool StartupComplete = false;
    bool SchedulerSuspended = false;

    // Performance totals (tenths of a second, page faults per second, percent, KiB)
    qint32 RunningTime = 0;
    qint32 CpuLimitedTime = 0;
    qint32 MemoryLimitedTime = 0;
    qint32 PageFaultRateSum = 0;
    qint32 DiskUsagePercent = 0;
    qint64 DriveTotalKB = 0;
    qint32 LastPageFaults = 0;
    qint32 LastSampleStamp = 0;
};
