#include "windows/sched/SchedulerUi.h"

#include "core/ClockReading.h"
#include "ports/IClock.h"
#include "ports/ISound.h"
#include "ports/Platform.h"
#include "rules/sched/EditorRules.h"
#include "rules/sched/Schedule.h"
#include "rules/sched/ScheduleEntry.h"
#include "rules/settings/SettingsInForce.h"
#include "rules/settings/SettingsTable.h"
#include "windows/sched/TAlarmFrm.h"
#include "windows/sched/TReminderFrm.h"
#include "windows/sched/TSchedMain.h"
#include "windows/ui/SharedRoutines.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <QWindow>

namespace {

// Keeps the scan paused while the scheduler list is open, however the command ends.
class SuspendScan {
public:
    explicit SuspendScan(Schedule& schedule) : m_schedule(schedule), m_before(schedule.suspended())
    {
        m_schedule.setSuspended(true);
    }
    ~SuspendScan() { m_schedule.setSuspended(m_before); }
    SuspendScan(const SuspendScan&) = delete;
    SuspendScan& operator=(const SuspendScan&) = delete;

private:
    Schedule& m_schedule;
    bool m_before;
};

} // namespace

SchedulerUi::SchedulerUi(Schedule& schedule, const ClockReading& clock,
                         const SettingsInForce& settings, Platform& platform, QWidget* mainWindow)
    : m_schedule(schedule), m_clock(clock), m_settings(settings), m_platform(platform),
      m_mainWindow(mainWindow), m_notices(platform.notifier, [this](quint64 firing) {
          if (TAlarmFrm* alarm = m_alarms.value(firing))
              alarm->close();
      })
{
}

SchedulerUi::~SchedulerUi()
{
    for (const QPointer<TAlarmFrm>& alarm : std::as_const(m_alarms))
        delete alarm.data();
}

bool SchedulerUi::FireScheduleItem(const QString& detail, const QString& dateLine)
{
    bool performed = false;
    const ScheduleEntry::ItemKind kind = ScheduleEntry::detailKind(detail);
    if (kind == ScheduleEntry::ReminderItem) {
        const QString time =
            QString::asprintf("%2d:%2.2d", int(m_clock.CurrentHour), int(m_clock.CurrentMinute));
        const QString text = ScheduleEntry::detailText(detail);
        if (m_platform.sound) {
            if (m_settings.AlarmMode == Settings::SoundMode::Beep)
                m_platform.sound->beep();
            else if (m_settings.AlarmMode == Settings::SoundMode::File)
                m_platform.sound->playAsync(m_settings.AlarmSound);
        }
        m_alarms.removeIf([](const auto& open) { return open.value().isNull(); });
        const quint64 firing = m_notices.fire(
            detail, text, m_settings.NotificationOnly,
            [this, time, dateLine, text](quint64 f) { showAlarm(f, time, dateLine, text); });
        performed = true;
        // A window manager maps the pop-up a moment later: wait for that (briefly), so it
        // is painted before the pause.
        const QPointer<TAlarmFrm> shown = m_alarms.value(firing);
        QElapsedTimer waited;
        waited.start();
        while (shown && shown->windowHandle() && !shown->windowHandle()->isExposed() &&
               waited.elapsed() < 200)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    } else if (kind == ScheduleEntry::RunItem && m_platform.launcher) {
        const ScheduleEntry::RunDetail run = ScheduleEntry::ParseRunDetail(detail);
        performed =
            SharedRoutines::LaunchProgram(*m_platform.launcher, run.program, run.parameters,
                                          run.directory, static_cast<quint16>(run.showState));
    }
    // Let a new pop-up paint, then hold one second between items.
    QCoreApplication::processEvents();
    if (m_platform.clock)
        m_platform.clock->sleepMs(1000);
    return performed;
}

void SchedulerUi::showAlarm(quint64 firing, const QString& time, const QString& date,
                            const QString& text)
{
    // Every reminder gets its own window; it belongs to the application, not to us.
    auto* alarm = new TAlarmFrm;
    alarm->setTimeText(time);
    alarm->setDateText(date);
    alarm->setReminderText(text);
    QObject::connect(alarm, &QDialog::finished, alarm,
                     [this, firing] { m_notices.popupClosed(firing); });
    alarm->show();
    m_alarms.insert(firing, alarm);
}

void SchedulerUi::ReminderItemClick(const std::function<void()>& saveSchedule)
{
    TReminderFrm dialog(m_mainWindow);
    dialog.setTime(m_clock.CurrentHour, m_clock.CurrentMinute);
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_schedule.add(EditorRules::quickReminderLine(dialog.hour(), dialog.minute(), m_clock.TodayDate,
                                                  dialog.text()));
    if (saveSchedule)
        saveSchedule();
}

void SchedulerUi::SchedItemClick(const std::function<void()>& saveSchedule)
{
    SuspendScan suspend(m_schedule);
    TSchedMain dialog(m_schedule, m_clock, m_mainWindow);
    if (dialog.exec() == QDialog::Accepted && saveSchedule)
        saveSchedule();
}
