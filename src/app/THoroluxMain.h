#pragma once

#include "rules/app/ClockTick.h"
#include "rules/app/MainState.h"
#include "app/ShutdownPath.h"
#include "rules/perf/IndicatorSink.h"
#include "ports/Platform.h"
#include "rules/sched/ScheduleFile.h"
#include "rules/sched/ScheduleScanner.h"
#include "rules/settings/DeferredRegistry.h"
#include "rules/settings/SettingsStore.h"
#include "rules/options/OptionsRules.h"
#include "windows/ui/TOptionsFrm.h"

#include <QStringList>
#include <QWidget>
#include <memory>

class IndicatorBar;
class PerfSampler;
class QAction;
class QLabel;
class QMenu;
class QTimer;
class SchedulerUi;
class TBitmapDigits;
class TTaskIcon;
class TimeClient;

// The clock panel: the resident main window that owns all program-wide state.
class THoroluxMain : public QWidget,
                     public ClockFace,
                     public IndicatorSink,
                     public ScanActions,
                     public OptionsEffects,
                     public TimePageActions {
    Q_OBJECT
public:
    // Runs the whole start-up; the window is shown by the caller.
    explicit THoroluxMain(Platform& platform, QWidget* parent = nullptr);
    ~THoroluxMain() override;

    MainState& state() { return m_state; }
    const SettingsStore& settings() const { return m_store; }

    // Ends the program in order through the one shutdown path.
    void CloseItemClick();
    // The end asked for from outside: a signal, the end of the session.
    void end() { m_shutdown.request(); }
    ShutdownPath& shutdown() { return m_shutdown; }
    void SettingsItemClick();
    void StayOnTopItemClick();
    void AutoItemClick();
    void HelpItemClick();
    void ConnectItemClick();
    void AboutItemClick();
    void TaskIconClick();
    void TaskIconRightClick(QPoint at);
    void SchedItemClick();
    void ReminderItemClick();
    void ReportItemClick();
    void TimerTimer();

    bool stayOnTopChecked() const;
    bool autoUpdateChecked() const;
    QString dateLine() const override;
    QMenu* popupMenu() const { return m_menu; }
    TTaskIcon* taskIcon() const { return m_taskIcon.get(); }
    // 0, or 1 when the shutdown could not save everything.
    int exitStatus() const { return m_exitStatus; }
    // What could not be saved at the end, for the box shown once every window has gone.
    QString shutdownNotice() const { return m_shutdownNotice; }
    // How long that box stays on the screen: the whole end stays within three seconds.
    static constexpr int ShutdownNoticeMs = 2000;
    static inline const QString NoTrayNotice = QStringLiteral("No system tray: icon not shown");

    // The maker's web site, opened by the Connect item.
    static inline const QString WebHost = QStringLiteral("horolux.org");

    // ClockFace
    void setHoursFormatWidth(int width) override;
    void setHoursValue(int value) override;
    void setMinutesValue(int value) override;
    void setDateLine(const QString& text) override;
    void setColon(bool shown) override;
    void setTrayTip(const QString& tip) override;
    void showAndRaise() override;
    void UpdateStatus() override;
    void CheckSchedule() override;
    bool connectionWindowPresent(const QString& title) override;
    void BeginTimeUpdate() override;

    // IndicatorSink
    void showLevel(Indicator bar, int level) override;

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

    // A message on the date line for the usual twenty ticks.
    void showStatus(const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    bool modalDialogOpen();
    void postTick();
    void reportSaveFailure(const QString& path);
    // Settings writes kept while another process held the file, or lost, at the end.
    void finishSettingsWrites();
    void reportLostSettings();
    void createControls();
    void createMenu();
    void FormCreate();
    void FormDestroy();
    // Stops the tick and writes everything the run owns; returns the exit status.
    int saveEverything();

    Platform& m_platform;
    MainState m_state;
    DeferredRegistry m_registry;
    SettingsStore m_store;
    ScheduleFile m_scheduleFile;
    ClockTick m_tick;
    std::unique_ptr<PerfSampler> m_sampler;
    std::unique_ptr<SchedulerUi> m_schedulerUi;
    std::unique_ptr<TTaskIcon> m_taskIcon;
    std::unique_ptr<TimeClient> m_timeClient;

    QLabel* m_lbColon = nullptr;
    TBitmapDigits* m_hours = nullptr;
    TBitmapDigits* m_mins = nullptr;
    QLabel* m_label1 = nullptr;
    IndicatorBar* m_indDSK = nullptr;
    IndicatorBar* m_indCPU = nullptr;
    IndicatorBar* m_indMEM = nullptr;
    IndicatorBar* m_indPF = nullptr;
    QLabel* m_lbDate = nullptr;
    QTimer* m_timer = nullptr;

    QMenu* m_menu = nullptr;
    QAction* m_stayOnTopItem = nullptr;
    QAction* m_autoItem = nullptr;

    // Mouse state for the duration of a press.
    bool m_dragActive = false;
    bool m_dragMoved = false;
    QPoint m_dragOrigin;      // cursor position on the screen at the press
    QPoint m_dragWindowStart; // window position at the press

    QStringList m_pendingNotices; // shown on the date line once the greeting has gone
    QString m_shutdownNotice;
    ShutdownPath m_shutdown;
    bool m_noTraySaid = false;
    bool m_shutDown = false;
    bool m_tickPending = false;
    int m_exitStatus = 0;
};
