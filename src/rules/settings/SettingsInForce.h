#pragma once

#include <QString>
#include <QtGlobal>

// The settings the running clock works with. Start-up fills them in from the store and
// shutdown writes them back; these values are the ones before start-up.
struct SettingsInForce {
    qint32 HideInterval = 4;
    // The tray icon as chosen (or forced by an indefinite hide period), whether or not the
    // desktop has a tray to show it in.
    bool TaskIcon = false;
    bool Use12Hour = false;
    // The highest page fault rate seen; the sampler raises it while running.
    qint32 PageFaultMax = 100;
    qint32 UpdateInterval = 1;
    QString MonitorDrive;
    qint32 ChimeMode = 0;
    QString ChimeSound;
    qint32 AlarmMode = 0;
    QString AlarmSound;
    bool NotificationOnly = false;
    bool AutoUpdate = false;
    QString InternetWindowTitle;
    QString TimeServerHost;
};
