#pragma once

#include "rules/sched/ReminderNotices.h"

#include <QHash>
#include <QPointer>
#include <QString>

#include <functional>

struct ClockReading;
struct Platform;
struct SettingsInForce;
class Schedule;
class QWidget;
class TAlarmFrm;

// The scheduler's windows as the panel's controller uses them: performing a due item, and the
// quick reminder and scheduler menu commands.
class SchedulerUi {
public:
    SchedulerUi(Schedule& schedule, const ClockReading& clock, const SettingsInForce& settings,
                Platform& platform, QWidget* mainWindow);
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
    void showAlarm(quint64 firing, const QString& time, const QString& date, const QString& text);

    Schedule& m_schedule;
    const ClockReading& m_clock;
    const SettingsInForce& m_settings;
    Platform& m_platform;
    QWidget* m_mainWindow;
    // The open pop-ups by firing.
    QHash<quint64, QPointer<TAlarmFrm>> m_alarms;
    ReminderNotices m_notices;
};
