#pragma once

#include "rules/sched/ReminderNotices.h"

#include <QDateTime>
#include <QHash>
#include <QPointer>
#include <QString>

#include <functional>

struct ClockReading;
struct Platform;
struct SettingsInForce;
class Schedule;
class SettingsStore;
class QWidget;
class TAlarmFrm;

// The scheduler's windows as the panel's controller uses them: performing a due item, and the
// quick reminder and scheduler menu commands, and snoozing a reminder from its pop-up or its
// notification.
class SchedulerUi {
public:
    // `store` keeps the pop-up's last Snooze choice; `saveSchedule` writes the schedule after a
    // snooze and reports failure itself (without it, the schedule saves quietly).
    SchedulerUi(Schedule& schedule, const ClockReading& clock, const SettingsInForce& settings,
                Platform& platform, QWidget* mainWindow, const SettingsStore* store = nullptr,
                std::function<void()> saveSchedule = {});
    // Closes reminder pop-ups still open.
    ~SchedulerUi();
    SchedulerUi(const SchedulerUi&) = delete;
    SchedulerUi& operator=(const SchedulerUi&) = delete;

    // Performs one schedule item (reminder pop-up and notification with sound, or a program
    // run); true when performed.
    bool FireScheduleItem(const QString& detail, const QString& dateLine);
    // Menu commands; saveSchedule writes the schedule file and reports failure itself.
    void ReminderItemClick(const std::function<void()>& saveSchedule);
    void SchedItemClick(const std::function<void()>& saveSchedule);

private:
    struct Fired {
        QString time;
        QString date;
        QString text;
        QDateTime at;
    };
    // Shows the firing's pop-up, or brings it to the front when it is open.
    void showAlarm(quint64 firing);
    // Adds the firing's reminder again as the snooze `choice` says, and closes its pop-up.
    void snooze(quint64 firing, int choice);

    Schedule& m_schedule;
    const ClockReading& m_clock;
    const SettingsInForce& m_settings;
    Platform& m_platform;
    QWidget* m_mainWindow;
    const SettingsStore* m_store;
    std::function<void()> m_saveSchedule;
    // The open pop-ups by firing.
    QHash<quint64, QPointer<TAlarmFrm>> m_alarms;
    // What each recent firing showed, for its pop-up opened later and for its snooze.
    QHash<quint64, Fired> m_fired;
    ReminderNotices m_notices;
};
