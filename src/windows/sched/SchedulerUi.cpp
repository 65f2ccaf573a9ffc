#include "windows/sched/SchedulerUi.h"

#include "core/ClockReading.h"
#include "ports/IClock.h"
#include "ports/ISound.h"
#include "ports/Platform.h"
#include "rules/sched/EditorRules.h"
#include "rules/sched/ReminderRules.h"
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
                         const SettingsInForce& settings, Platform& platform, QWidget* mainWindow,
                         const SettingsStore* store, std::function<void()> saveSchedule)
    : m_schedule(schedule), m_clock(clock), m_settings(settings), m_platform(platform),
      m_mainWindow(mainWindow), m_store(store), m_saveSchedule(std::move(saveSchedule)),
      m_notices(
          platform.notifier,
          [this](quint64 firing) {
              if (TAlarmFrm* alarm = m_alarms.value(firing))
                  alarm->close();
          },
          [this](quint64 firing) { showAlarm(firing); },
          // The notification offers the ten minutes of the pop-up's default choice.
          [this](quint64 firing) { snooze(firing, 1); })
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
        // A pop-up may still be opened from a notification the desktop keeps; the oldest
        // firings are forgotten first.
        constexpr qsizetype KeptFirings = 64;
        if (m_fired.size() >= KeptFirings)
            m_fired.remove(*std::min_element(m_fired.keyBegin(), m_fired.keyEnd()));
        const Fired fired{time, dateLine, text,
                          QDateTime(DayNumbers::toDate(m_clock.TodayDate),
                                    QTime(m_clock.CurrentHour, m_clock.CurrentMinute))};
        const quint64 firing =
            m_notices.fire(detail, text, m_settings.NotificationOnly, [this, fired](quint64 f) {
                m_fired.insert(f, fired);
                showAlarm(f);
            });
        m_fired.insert(firing, fired);
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

void SchedulerUi::showAlarm(quint64 firing)
{
    if (TAlarmFrm* open = m_alarms.value(firing)) {
        open->raise();
        open->activateWindow();
        return;
    }
    const auto fired = m_fired.constFind(firing);
    if (fired == m_fired.cend())
        return;
    // Every reminder gets its own window; it belongs to the application, not to us.
    auto* alarm = new TAlarmFrm;
    alarm->setTimeText(fired->time);
    alarm->setDateText(fired->date);
    alarm->setReminderText(fired->text);
    if (m_store)
        alarm->setSnoozeChoice(Settings::readInt(*m_store, Settings::SnoozeChoice));
    QObject::connect(alarm, &QDialog::finished, alarm,
                     [this, firing] { m_notices.popupClosed(firing); });
    QObject::connect(alarm, &TAlarmFrm::snoozeChosen, alarm, [this, firing](int choice) {
        if (m_store)
            Settings::write(*m_store, Settings::SnoozeChoice, choice);
        snooze(firing, choice);
    });
    alarm->show();
    m_alarms.insert(firing, alarm);
}

void SchedulerUi::snooze(quint64 firing, int choice)
{
    const auto fired = m_fired.constFind(firing);
    if (fired == m_fired.cend())
        return;
    const QDateTime now = m_platform.clock ? m_platform.clock->now() : QDateTime::currentDateTime();
    if (!m_schedule.snooze(fired->text, ReminderRules::snoozeDue(choice, now, fired->at)))
        return;
    if (m_saveSchedule)
        m_saveSchedule();
    else
        m_schedule.save();
    m_fired.erase(fired);
    if (TAlarmFrm* alarm = m_alarms.value(firing))
        alarm->close();
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
