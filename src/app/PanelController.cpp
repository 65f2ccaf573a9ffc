#include "app/PanelController.h"

#include "compat/winsock/SocketApi.h"
#include "ports/IClock.h"
#include "ports/IClockSetter.h"
#include "ports/IDesktopWindow.h"
#include "ports/IDriveInfo.h"
#include "ports/IProcessPriority.h"
#include "ports/IRegistry.h"
#include "ports/IScreen.h"
#include "ports/IUserInfo.h"
#include "ports/IWindowFinder.h"
#include "rules/app/Startup.h"
#include "rules/nettime/TimeClient.h"
#include "rules/perf/PerfSampler.h"
#include "rules/settings/SettingsTable.h"
#include "windows/components/AppIcon.h"
#include "windows/components/TTaskIcon.h"
#include "windows/sched/SchedulerUi.h"
#include "windows/ui/ModalSeam.h"
#include "windows/ui/SharedRoutines.h"
#include "windows/ui/WidgetPlacement.h"

#include <QApplication>
#include <QCoreApplication>
#include <QLoggingCategory>
#include <QTimer>

#include <cstdio>

// Off unless QT_LOGGING_RULES asks for it ("horolux.timeupdate.info=true").
Q_LOGGING_CATEGORY(lcTimeUpdate, "horolux.timeupdate", QtWarningMsg)

PanelController::PanelController(Platform& platform, QObject* parent)
    : QObject(parent), m_platform(platform), m_registry(*platform.registry, *platform.clock),
      m_store(m_registry), m_schedule(*platform.files, platform.scheduleFile),
      m_tick(m_state.tick, m_state.clock, m_state.settings, m_schedule, m_panel, *this,
             *platform.sound),
      m_shutdown([this] { return saveEverything(); })
{
    // The socket component reaches the system through the platform's socket layer.
    if (platform.sockets)
        InstallSocketApi(platform.sockets);
    m_timer = new QTimer(this);
    m_timer->setInterval(1000);
    connect(m_timer, &QTimer::timeout, this, &PanelController::postTick);
    m_sampler =
        std::make_unique<PerfSampler>(m_state.perf, m_state.settings, m_state.clock, *platform.perf,
                                      *platform.drives, m_panel, platform.clock);
    m_schedulerUi =
        std::make_unique<SchedulerUi>(m_schedule, m_state.clock, m_state.settings, m_platform,
                                      &m_panel, &m_store, [this] { SaveSchedule(); });
    m_taskIcon = std::make_unique<TTaskIcon>(*platform.tray);
    connect(m_taskIcon.get(), &TTaskIcon::OnClick, this, &PanelController::TaskIconClick);
    // Desktop users expect the tray icon's right button to offer the same menu as the face.
    connect(m_taskIcon.get(), &TTaskIcon::OnRightClick, this,
            [this](TTaskIcon*, QPoint at) { TaskIconRightClick(at); });
    m_timeClient =
        std::make_unique<TimeClient>(m_state.settings, *platform.clock, *platform.clockSetter);
    // Every step of a time update is a date-line message, and a line in the log for those who
    // follow the update from outside (the end-to-end tests).
    connect(m_timeClient.get(), &TimeClient::step, this, [this](const QString& text) {
        showStatus(text);
        qCInfo(lcTimeUpdate).noquote() << "time-step" << text;
    });
    // A step beyond the usual limit is put to the user first, above whatever dialog is open.
    m_timeClient->setConfirm([](const QString& text) {
        return ModalSeam::question(QApplication::activeModalWidget(),
                                   QCoreApplication::applicationName(), text);
    });
    connectPanel();
    FormCreate();
}

PanelController::~PanelController()
{
    FormDestroy();
    if (m_platform.sockets && SocketApi() == m_platform.sockets)
        InstallSocketApi(nullptr);
}

void PanelController::connectPanel()
{
    connect(&m_panel, &THoroluxMain::clicked, this, &PanelController::PanelClick);
    connect(&m_panel, &THoroluxMain::trayTipChanged, this, &PanelController::setTrayTip);
    connect(m_panel.popupMenu(), &PanelMenu::chosen, this, &PanelController::MenuItemClick);
    connect(&m_panel, &THoroluxMain::shown, this,
            [this] { m_platform.desktop->suppressTaskbarButton(&m_panel); });
    // The window manager's close (or Alt+F4) ends the program the way the menu's Close does.
    connect(&m_panel, &THoroluxMain::closeRequested, this, [this] {
        if (!m_shutdown.ending())
            m_shutdown.request();
    });
}

void PanelController::FormCreate()
{
    setFileNames();
    restorePosition();
    applyDisplaySettings();
    setPriorityAndStartSampling();
    loadScheduleAndShowTime();
    readTimeServerAndGreet();
    startTick();
}

// The schedule lives in the user's data folder.
void PanelController::setFileNames()
{
    m_state.files.ProgramDirectory = m_platform.dataDirectory;
    m_state.files.ScheduleFileName = m_schedule.path();
    m_state.files.HelpFile = QStringLiteral("Horolux help");
}

// The stored position when it is usable, kept on the screen.
void PanelController::restorePosition()
{
    m_panel.move(Startup::DesignedPosition);
    WidgetPlacement placement(&m_panel);
    m_store.LoadWindowPlacement(Settings::WindowSection, placement, false, *m_platform.screen);
    m_panel.move(
        Startup::panelStart(m_panel.pos(), m_panel.size(),
                            QSize(m_platform.screen->width(), m_platform.screen->height())));
}

// How the panel shows itself: on top or not, and the tray icon.
void PanelController::applyDisplaySettings()
{
    const Startup::WindowSettings w = Startup::readDisplaySettings(m_state, m_store);
    m_panel.popupMenu()->setStayOnTopChecked(w.stayOnTop);
    if (w.stayOnTop)
        m_platform.desktop->setStayOnTop(&m_panel, true);
    m_state.settings.TaskIcon = w.taskIcon;
    m_taskIcon->setIcon(AppIcon::make());
    m_taskIcon->setActive(w.taskIcon);
    if (w.taskIcon && !m_taskIcon->Active()) {
        m_pendingNotices << tr(NoTrayText);
        m_noTraySaid = true;
    }
}

// The scheduling class, the first processor reading and the monitored drive's space.
// A stored class the system refuses now (Normal, for a program started idle) is said once.
void PanelController::setPriorityAndStartSampling()
{
    const IProcessPriority::Result priority =
        m_platform.priority->setPriorityClass(Startup::readPriorityClass(m_store));
    if (priority == IProcessPriority::Result::NotPermitted ||
        priority == IProcessPriority::Result::Failed)
        m_pendingNotices << OptionsRules::priorityStatus(priority);
    m_sampler->StartStat();
    Startup::readSoundAndDriveSettings(m_state, m_store, m_platform.drives->defaultDrive());
    m_sampler->GetDriveSpace(m_state.settings.MonitorDrive);
}

// The time format, the schedule, and the time shown at once.
void PanelController::loadScheduleAndShowTime()
{
    m_tick.SetDisplayFormat(m_state.settings.Use12Hour);
    // An existing schedule that cannot be read is moved aside before the first save, never
    // overwritten with what this run holds; one behind a link is not saved at all.
    const ScheduleFile::LoadResult loaded = m_schedule.load();
    if (loaded.behindLink)
        m_pendingNotices << tr("Schedule unreadable, not saved");
    else if (loaded.unreadable)
        m_pendingNotices << tr("Schedule file could not be read");
    else if (loaded.setAside > 0)
        m_pendingNotices << ScheduleList::setAsideNotice(loaded.setAside);
    m_tick.UpdateTime(m_platform.clock->now());
}

// The time server, the greeting on the date line and the automatic update's check mark.
void PanelController::readTimeServerAndGreet()
{
    Startup::readTimeServerSettings(m_state, m_store);
    // A settings file we do not understand is left alone and the defaults run: say so once.
    if (m_registry.foundNotUnderstood())
        m_pendingNotices << tr("Settings file not understood");
    m_panel.setDateLine(Startup::greeting(m_state.clock.CurrentHour, m_platform.user->userName()));
    m_panel.popupMenu()->setAutoUpdateChecked(m_state.settings.AutoUpdate);
}

// The tick starts; the panel has no task-bar button and shows on every workspace.
void PanelController::startTick()
{
    m_timer->start();
    m_platform.desktop->showOnAllWorkspaces(&m_panel);
    m_platform.desktop->suppressTaskbarButton(&m_panel);
    m_schedule.setStartupComplete();
}

void PanelController::FormDestroy()
{
    m_shutdown.saveOnce();
    m_taskIcon.reset();
}

int PanelController::saveEverything()
{
    m_shutDown = true;
    m_panel.setEnded();
    m_timer->stop();
    m_sampler->StopStat();
    // Everything written from here on reaches the settings file in one rewrite, at finish().
    m_registry.holdWrites();
    const PanelMenu& menu = *m_panel.popupMenu();
    Startup::writeOwnedSettings(m_store, m_state.settings.PageFaultMax, menu.stayOnTopChecked(),
                                menu.autoUpdateChecked());
    WidgetPlacement placement(&m_panel);
    m_store.SaveWindowPlacement(Settings::WindowSection, placement, false);
    finishSettingsWrites();
    SaveSchedule();
    return m_exitStatus;
}

void PanelController::SaveSchedule()
{
    switch (m_schedule.save()) {
    case ScheduleFile::SaveResult::Saved:
        break;
    case ScheduleFile::SaveResult::Failed:
        reportSaveFailure(m_schedule.path());
        break;
    case ScheduleFile::SaveResult::HeldBack:
        // While running the date line has said so. Nothing could be read, so every item held
        // was added in this run: at the end they would be lost, which is reported as a failed
        // save.
        if (m_shutDown && m_schedule.count() > 0)
            reportSaveFailure(m_schedule.path());
        break;
    }
}

void PanelController::finishSettingsWrites()
{
    m_registry.finish();
    reportLostSettings();
}

// Settings writes fail silently, except those that never reached the file because it was held
// too long or descriptors ran out: those are lost saves like any other.
void PanelController::reportLostSettings()
{
    if (m_registry.takeLoss())
        reportSaveFailure(m_registry.location());
}

void PanelController::reportSaveFailure(const QString& path)
{
    const QString text = tr("Cannot create file %1").arg(path);
    if (!m_shutDown) {
        ModalSeam::warning(&m_panel, QCoreApplication::applicationName(), text);
        return;
    }
    // The program is ending, perhaps with the desktop session: nobody may be there to click.
    // The text goes where a session log keeps it, a box that goes away by itself shows it once
    // every window has gone, and the exit status tells that something was lost.
    m_exitStatus = 1;
    m_shutdownNotice += (m_shutdownNotice.isEmpty() ? QString() : QStringLiteral("\n")) + text;
    // The session log keeps English, as every log line.
    const QString logged = QStringLiteral("Cannot create file %1").arg(path);
    std::fprintf(stderr, "horolux: %s\n", logged.toLocal8Bit().constData());
    std::fflush(stderr);
}

// Qt holds a timer's next timeout back until the slot of the previous one has returned. A tick
// can open a box or pause inside a scan, and the clock must keep running in that box's loop, so
// the timer's slot only posts the tick; a tick still waiting absorbs the next ones.
void PanelController::postTick()
{
    if (m_tickPending)
        return;
    m_tickPending = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_tickPending = false;
            TimerTimer();
        },
        Qt::QueuedConnection);
}

void PanelController::TimerTimer()
{
    // A tick handled after the program closed (while a slow step pumped messages) does nothing.
    if (m_shutDown)
        return;
    m_tick.TimerTimer(m_platform.clock->now());
    // Settings writes kept while another process holds the file land once it is free.
    m_registry.retry();
    reportLostSettings();
    // Notices kept from start-up take the place of the date, one after another, once the
    // greeting has gone.
    if (!m_pendingNotices.isEmpty() && m_state.tick.DateLineCountdown == 0) {
        m_panel.setDateLine(m_pendingNotices.takeFirst());
        m_state.tick.DateLineCountdown = 20;
    }
}

void PanelController::showStatus(const QString& text)
{
    m_panel.setDateLine(text);
    m_state.tick.DateLineCountdown = 20;
}

// A click on the face hides the panel for the chosen time. Hidden until the tray icon is
// clicked while there is no tray icon, it could never come back: it stays then.
void PanelController::PanelClick()
{
    const int hide = m_state.settings.HideInterval;
    if (hide == 0 || (hide < 0 && !m_taskIcon->Active()))
        return;
    m_panel.hide();
    m_state.tick.HideCountdown = hide;
}

void PanelController::setTrayTip(const QString& tip)
{
    if (!m_taskIcon)
        return;
    // Once a minute: a tray that started after the program takes the chosen icon.
    if (m_state.settings.TaskIcon && !m_taskIcon->Active())
        m_taskIcon->setActive(true);
    m_taskIcon->setToolTip(tip);
}

void PanelController::UpdateStatus()
{
    if (!m_shutDown)
        m_sampler->UpdateStatus();
}

void PanelController::CheckSchedule()
{
    ScheduleScanner::CheckSchedule(m_schedule, m_state.clock, *this);
}

bool PanelController::connectionWindowPresent(const QString& title)
{
    return m_platform.windowFinder->findTopLevel(title);
}

void PanelController::BeginTimeUpdate()
{
    m_timeClient->BeginTimeUpdate(TimeClient::Automatic);
}

bool PanelController::FireScheduleItem(const QString& detail)
{
    return m_schedulerUi->FireScheduleItem(detail, m_panel.dateLine());
}

void PanelController::ShowWarning(const QString& text)
{
    SharedRoutines::ShowWarning(text);
}

void PanelController::ReportSetAside(int count)
{
    m_pendingNotices << ScheduleList::setAsideNotice(count);
}
