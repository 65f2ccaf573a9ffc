#pragma once

#include "app/ShutdownPath.h"
#include "ports/Platform.h"
#include "ports/ReminderRequest.h"
#include "rules/app/ClockTick.h"
#include "rules/app/MainState.h"
#include "rules/options/OptionsRules.h"
#include "rules/sched/Schedule.h"
#include "rules/sched/ScheduleScanner.h"
#include "rules/settings/DeferredRegistry.h"
#include "rules/settings/SettingsStore.h"
#include "windows/panel/PanelMenu.h"
#include "windows/panel/THoroluxMain.h"
#include "windows/ui/TOptionsFrm.h"

#include <QObject>
#include <QStringList>
#include <memory>

class PerfSampler;
class QTimer;
class SchedulerUi;
class TTaskIcon;
class TimeClient;

// The program behind the panel: it owns the program-wide state and the services, starts the
// run, ends it through the one shutdown path, carries out the menu's commands and does the
// work the tick hands on.
// The commands and the settings dialog's effects are in PanelControllerCommands.cpp.
class PanelController : public QObject,
                        public TickWork,
                        public ScanActions,
                        public OptionsEffects,
                        public TimePageActions {
    Q_OBJECT
public:
    // Runs the whole start-up; the panel is shown by the caller.
    explicit PanelController(Platform& platform, QObject* parent = nullptr);
    ~PanelController() override;

    THoroluxMain& panel() { return m_panel; }
    MainState& state() { return m_state; }
    Schedule& schedule() { return m_schedule; }
    const SettingsStore& settings() const { return m_store; }
    TTaskIcon* taskIcon() const { return m_taskIcon.get(); }

    // The end asked for from outside: a signal, the end of the session.
    void end() { m_shutdown.request(); }
    ShutdownPath& shutdown() { return m_shutdown; }
    // 0, or 1 when the shutdown could not save everything.
    int exitStatus() const { return m_exitStatus; }
    // What could not be saved at the end, for the box shown once every window has gone.
    QString shutdownNotice() const { return m_shutdownNotice; }
    // How long that box stays on the screen: the whole end stays within three seconds.
    static constexpr int ShutdownNoticeMs = 2000;
    static constexpr char NoTrayText[] = QT_TR_NOOP("No system tray: icon not shown");
    static inline const QString NoTrayNotice = QString::fromUtf8(NoTrayText); // the English

    // The menu's items.
    void SettingsItemClick();
    void SchedItemClick();
    void ReminderItemClick();
    void ReportItemClick();
    void StayOnTopItemClick();
    void AutoItemClick();
    void HelpItemClick();
    void ConnectItemClick();
    void AboutItemClick();
    // Ends the program in order through the one shutdown path.
    void CloseItemClick();

    // A request from outside the windows (a later start's command line, the session bus):
    // Show, or what the schedule makes of it (a reminder added, the list, an item cancelled),
    // saved before the answer.
    // In PanelControllerRequests.cpp.
    ReminderReply handleReminderRequest(const ReminderRequest& request);
    // Requests that arrived together: carried out in order, saved once, then answered.
    QList<ReminderReply> handleReminderRequests(const QList<ReminderRequest>& requests);

    void TaskIconClick();
    void TaskIconRightClick(QPoint at);
    void TimerTimer();
    // A message on the date line for the usual twenty ticks.
    void showStatus(const QString& text);

    // TickWork
    void UpdateStatus() override;
    void CheckSchedule() override;
    bool connectionWindowPresent(const QString& title) override;
    void BeginTimeUpdate() override;

    // ScanActions
    bool FireScheduleItem(const QString& detail) override;
    void ShowWarning(const QString& text) override;
    // Writes the schedule file; a failure is reported with the file's path.
    void SaveSchedule() override;
    void ReportSetAside(int count) override;
    bool closing() const override { return m_shutDown; }

    // OptionsEffects
    void SetDisplayFormat(bool use12Hour) override;
    void GetDriveSpace(const QString& drive) override;
    void setTrayIconShown(bool shown) override;
    bool SetPriorityClass(int priorityClass) override;

    // TimePageActions
    void btnSetClick(int hour, int minute, int second) override;
    void btnAutoClick(QWidget* dialog) override;
    void btnSetInternetClick() override;

private:
    void connectPanel();
    void MenuItemClick(PanelMenu::Item item);
    void PanelClick();
    void setTrayTip(const QString& tip);
    bool modalDialogOpen();
    void postTick();

    void FormCreate();
    void setFileNames();
    void restorePosition();
    void applyDisplaySettings();
    void setPriorityAndStartSampling();
    void loadScheduleAndShowTime();
    void readTimeServerAndGreet();
    void startTick();

    void FormDestroy();
    // Stops the tick and writes everything the run owns; returns the exit status.
    int saveEverything();
    // Settings writes kept while another process held the file, or lost, at the end.
    void finishSettingsWrites();
    void reportLostSettings();
    void reportSaveFailure(const QString& path);

    Platform& m_platform;
    THoroluxMain m_panel;
    MainState m_state;
    DeferredRegistry m_registry;
    SettingsStore m_store;
    Schedule m_schedule;
    ClockTick m_tick;
    std::unique_ptr<PerfSampler> m_sampler;
    std::unique_ptr<SchedulerUi> m_schedulerUi;
    std::unique_ptr<TTaskIcon> m_taskIcon;
    std::unique_ptr<TimeClient> m_timeClient;
    QTimer* m_timer = nullptr;

    QStringList m_pendingNotices; // shown on the date line once the greeting has gone
    QString m_shutdownNotice;
    ShutdownPath m_shutdown;
    bool m_noTraySaid = false;
    bool m_shutDown = false;
    bool m_tickPending = false;
    int m_exitStatus = 0;
};
