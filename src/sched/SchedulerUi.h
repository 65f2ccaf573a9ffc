#pragma once

#include <QList>
#include <QPointer>
#include <QString>

#include <functional>

struct MainState;
struct Platform;
class QWidget;
class TAlarmFrm;

// The scheduler's windows as the main window uses them: performing a due item, and the
// quick reminder and scheduler menu commands.
class SchedulerUi {
public:
    SchedulerUi(MainState& state, Platform& platform, QWidget* mainWindow);
    // Closes reminder pop-ups still open.
    ~SchedulerUi();
    SchedulerUi(const SchedulerUi&) = delete;
    SchedulerUi& operator=(const SchedulerUi&) = delete;

    // Performs one schedule item (reminder pop-up with sound, or a program run); true when
    // performed.
    bool FireScheduleItem(const QString& detail, const QString& dateLine);
    // Menu commands; saveSchedule writes ScheduleList to the schedule file and reports failure
    // itself.
    void ReminderItemClick(const std::function<void()>& saveSchedule);
    void SchedItemClick(const std::function<void()>& saveSchedule);

private:
    MainState& m_state;
    Platform& m_platform;
    QWidget* m_mainWindow;
    QList<QPointer<TAlarmFrm>> m_alarms;
};
