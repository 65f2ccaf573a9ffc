#include "app/THoroluxMain.h"

#include "compat/winsock/SocketApi.h"
#include "rules/app/Startup.h"
#include "windows/components/AppIcon.h"
#include "windows/components/DigitStrip.h"
#include "windows/components/TBitmapDigits.h"
#include "windows/components/TTaskIcon.h"
#include "rules/clock/ClockSetting.h"
#include "windows/nettime/TAutoFrm.h"
#include "rules/nettime/TimeClient.h"
#include "windows/perf/IndicatorBar.h"
#include "rules/perf/PerfSampler.h"
#include "windows/perf/TReportFrm.h"
#include "ports/IClock.h"
#include "ports/IClockSetter.h"
#include "ports/IDesktopWindow.h"
#include "ports/IDriveInfo.h"
#include "ports/IProcessPriority.h"
#include "ports/IRegistry.h"
#include "ports/IScreen.h"
#include "ports/IUserInfo.h"
#include "ports/IWindowFinder.h"
#include "windows/sched/SchedulerUi.h"
#include "rules/settings/SettingsTable.h"
#include "windows/ui/HelpSystem.h"
#include "windows/ui/ModalSeam.h"
#include "windows/ui/SharedRoutines.h"
#include "windows/ui/TAbtFrm.h"
#include "windows/ui/WidgetPlacement.h"

#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QShowEvent>
#include <QTimer>

#include <cstdio>

namespace {

const QColor Aqua(0, 255, 255);

QLabel* blackLabel(QWidget* parent, const QRect& geometry)
{
    auto* label = new QLabel(parent);
    label->setGeometry(geometry);
    label->setAutoFillBackground(true);
    QPalette pal = label->palette();
    pal.setColor(QPalette::Window, Qt::black);
    pal.setColor(QPalette::WindowText, Aqua);
    label->setPalette(pal);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

TBitmapDigits* digitDisplay(QWidget* parent, int left, const QImage& strip)
{
    auto* d = new TBitmapDigits(parent);
    d->setBevelOuter(TBitmapDigits::bvNone);
    d->setBevelInner(TBitmapDigits::bvNone);
    d->setBorderWidth(0);
    d->setColor(Qt::black);
    d->setGeometry(left, 9, 37, 25);
    d->setNumbers(strip);
    d->setNumberWidth(16);
    d->setMargin(2);
    d->setGap(0);
    d->setAutoSize(true);
    d->setFormatWidth(2);
    return d;
}

} // namespace

THoroluxMain::THoroluxMain(Platform& platform, QWidget* parent)
    : QWidget(parent, Qt::FramelessWindowHint | Qt::Tool), m_platform(platform),
      m_registry(*platform.registry, *platform.clock), m_store(m_registry),
      m_scheduleFile(*platform.files, platform.scheduleFile),
      m_tick(m_state.tick, m_state.clock, m_state.settings, m_state.sched, *this, *platform.sound),
      m_shutdown([this] { return saveEverything(); })
{
    // The socket component reaches the system through the platform's socket layer.
    if (platform.sockets)
        InstallSocketApi(platform.sockets);
    setObjectName(QStringLiteral("HoroluxMain"));
    setWindowTitle(QCoreApplication::applicationName());
    setWindowIcon(AppIcon::make());
    setFixedSize(187, 53);
    move(Startup::DesignedPosition);
    createControls();
    createMenu();
    m_sampler =
        std::make_unique<PerfSampler>(m_state.perf, m_state.settings, m_state.clock, *platform.perf,
                                      *platform.drives, *this, platform.clock);
    m_schedulerUi = std::make_unique<SchedulerUi>(m_state.sched, m_state.clock, m_state.settings,
                                                  m_platform, this);
    m_taskIcon = std::make_unique<TTaskIcon>(*platform.tray);
    connect(m_taskIcon.get(), &TTaskIcon::OnClick, this, &THoroluxMain::TaskIconClick);
    // Desktop users expect the tray icon's right button to offer the same menu as the face.
    connect(m_taskIcon.get(), &TTaskIcon::OnRightClick, this,
            [this](TTaskIcon*, QPoint at) { TaskIconRightClick(at); });
    m_timeClient =
        std::make_unique<TimeClient>(m_state.settings, *platform.clock, *platform.clockSetter);
    // Every step of a time update is a date-line message.
    // End-to-end tests follow them on standard error.
    connect(m_timeClient.get(), &TimeClient::step, this, [this](const QString& text) {
        showStatus(text);
        static const bool report = qEnvironmentVariableIsSet("HOROLUX_REPORT_TIME_STEPS");
        if (report) {
            std::fprintf(stderr, "time-step %s\n", text.toLocal8Bit().constData());
            std::fflush(stderr);
        }
    });
    FormCreate();
}

THoroluxMain::~THoroluxMain()
{
    FormDestroy();
    if (m_platform.sockets && SocketApi() == m_platform.sockets)
        InstallSocketApi(nullptr);
}

void THoroluxMain::createControls()
{
    // The colon lies behind both digit displays: only its middle shows between them.
    m_lbColon = blackLabel(this, QRect(6, 6, 78, 30));
    m_lbColon->setObjectName(QStringLiteral("lbColon"));
    QFont colonFont(QStringLiteral("Sans Serif"));
    colonFont.setPixelSize(24);
    m_lbColon->setFont(colonFont);

    const QImage strip = DigitStrip::make();
    m_hours = digitDisplay(this, 6, strip);
    m_hours->setObjectName(QStringLiteral("Hours"));
    m_mins = digitDisplay(this, 46, strip);
    m_mins->setObjectName(QStringLiteral("Mins"));

    m_label1 = blackLabel(this, QRect(84, 6, 96, 28));
    m_label1->setObjectName(QStringLiteral("Label1"));
    m_indDSK = new IndicatorBar(QStringLiteral("DSK"), this);
    m_indDSK->setObjectName(QStringLiteral("indDSK"));
    m_indDSK->move(84, 12);
    m_indCPU = new IndicatorBar(QStringLiteral("CPU"), this);
    m_indCPU->setObjectName(QStringLiteral("indCPU"));
    m_indCPU->move(132, 12);
    m_indMEM = new IndicatorBar(QStringLiteral("MEM"), this);
    m_indMEM->setObjectName(QStringLiteral("indMEM"));
    m_indMEM->move(84, 24);
    m_indPF = new IndicatorBar(QStringLiteral("PF"), this);
    m_indPF->setObjectName(QStringLiteral("indPF"));
    m_indPF->move(132, 24);

    m_lbDate = blackLabel(this, QRect(6, 34, 174, 13));
    m_lbDate->setObjectName(QStringLiteral("lbDate"));
    QFont dateFont(QStringLiteral("Arial"));
    dateFont.setPixelSize(11);
    m_lbDate->setFont(dateFont);
    m_lbDate->setText(QStringLiteral("Right-click clock face for menu"));

    for (QWidget* w : std::initializer_list<QWidget*>{m_lbDate, m_lbColon, m_label1, m_indDSK,
                                                      m_indCPU, m_indMEM, m_indPF, m_hours, m_mins})
        w->installEventFilter(this);

    m_timer = new QTimer(this);
    m_timer->setInterval(1000);
    connect(m_timer, &QTimer::timeout, this, &THoroluxMain::postTick);
}

void THoroluxMain::createMenu()
{
    m_menu = new QMenu(this);
    m_menu->setObjectName(QStringLiteral("PopupMenu"));
    auto item = [this](const char* name, const QString& caption, auto handler) {
        QAction* a = m_menu->addAction(caption);
        a->setObjectName(QLatin1String(name));
        connect(a, &QAction::triggered, this, handler);
        return a;
    };
    item("SettingsItem", QStringLiteral("&Settings"), &THoroluxMain::SettingsItemClick);
    item("SchedItem", QStringLiteral("Sc&heduler"), &THoroluxMain::SchedItemClick);
    item("ReminderItem", QStringLiteral("&Quick Reminder"), &THoroluxMain::ReminderItemClick);
    item("ReportItem", QStringLiteral("Performance &Report"), &THoroluxMain::ReportItemClick);
    m_menu->addSeparator();
    m_stayOnTopItem =
        item("StayOnTopItem", QStringLiteral("Stay On &Top"), &THoroluxMain::StayOnTopItemClick);
    m_stayOnTopItem->setCheckable(true);
    m_autoItem =
        item("AutoItem", QStringLiteral("Automatic Time &Update"), &THoroluxMain::AutoItemClick);
    m_autoItem->setCheckable(true);
    m_menu->addSeparator();
    item("HelpItem", QStringLiteral("&Help"), &THoroluxMain::HelpItemClick);
    item("ConnectItem", QStringLiteral("Connect to ") + WebHost, &THoroluxMain::ConnectItemClick);
    item("AboutItem", QStringLiteral("&About Horolux"), &THoroluxMain::AboutItemClick);
    m_menu->addSeparator();
    QAction* close = item("CloseItem", QStringLiteral("&Close"), &THoroluxMain::CloseItemClick);
    close->setShortcut(QKeySequence(Qt::ALT | Qt::Key_F4));
    close->setShortcutContext(Qt::WindowShortcut);
    addAction(close);
}

void THoroluxMain::FormCreate()
{
    MainState& s = m_state;
    // Where the program's files are: the schedule lives in the user's data folder.
    s.files.ProgramDirectory = m_platform.dataDirectory;
    s.files.ScheduleFileName = m_scheduleFile.path();
    s.files.HelpFile = QStringLiteral("Horolux help");

    // The stored position when it is usable, kept on the screen.
    WidgetPlacement placement(this);
    m_store.LoadWindowPlacement(Settings::WindowSection, placement, false, *m_platform.screen);
    move(Startup::panelStart(pos(), size(),
                             QSize(m_platform.screen->width(), m_platform.screen->height())));

    // How the panel shows itself: on top or not, and the tray icon.
    const Startup::WindowSettings w = Startup::readDisplaySettings(s, m_store);
    m_stayOnTopItem->setChecked(w.stayOnTop);
    if (w.stayOnTop)
        m_platform.desktop->setStayOnTop(this, true);
    s.settings.TaskIcon = w.taskIcon;
    m_taskIcon->setIcon(AppIcon::make());
    m_taskIcon->setActive(w.taskIcon);
    if (w.taskIcon && !m_taskIcon->Active()) {
        m_pendingNotices << NoTrayNotice;
        m_noTraySaid = true;
    }

    // The scheduling class, the first processor reading and the monitored drive's space.
    // A stored class the system refuses now (Normal, for a program started idle) is said once.
    const IProcessPriority::Result priority =
        m_platform.priority->setPriorityClass(Startup::readPriorityClass(m_store));
    if (priority == IProcessPriority::Result::NotPermitted ||
        priority == IProcessPriority::Result::Failed)
        m_pendingNotices << OptionsRules::priorityStatus(priority);
    m_sampler->StartStat();
    Startup::readSoundAndDriveSettings(s, m_store, m_platform.drives->defaultDrive());
    m_sampler->GetDriveSpace(s.settings.MonitorDrive);

    // The time format, the schedule, and the time shown at once.
    m_tick.SetDisplayFormat(s.settings.Use12Hour);
    // An existing schedule that cannot be read is moved aside before the first save, never
    // overwritten with what this run holds; one behind a link is not saved at all.
    const ScheduleFile::LoadResult loaded = m_scheduleFile.load(s.sched.ScheduleList);
    if (loaded.behindLink)
        m_pendingNotices << QStringLiteral("Schedule unreadable, not saved");
    else if (loaded.unreadable)
        m_pendingNotices << QStringLiteral("Schedule file could not be read");
    else if (loaded.setAside > 0)
        m_pendingNotices << ScheduleList::setAsideNotice(loaded.setAside);
    m_tick.UpdateTime(m_platform.clock->now());

    // The time server, the greeting on the date line and the automatic update's check mark.
    Startup::readTimeServerSettings(s, m_store);
    // A settings file we do not understand is left alone and the defaults run: say so once.
    if (m_registry.foundNotUnderstood())
        m_pendingNotices << QStringLiteral("Settings file not understood");
    setDateLine(Startup::greeting(s.clock.CurrentHour, m_platform.user->userName()));
    m_autoItem->setChecked(s.settings.AutoUpdate);

    // The tick starts; the panel has no task-bar button.
    m_timer->start();
    m_platform.desktop->suppressTaskbarButton(this);
    s.sched.StartupComplete = true;
}

void THoroluxMain::FormDestroy()
{
    m_shutdown.saveOnce();
    m_taskIcon.reset();
}

int THoroluxMain::saveEverything()
{
    m_shutDown = true;
    m_timer->stop();
    m_sampler->StopStat();
    Startup::writeOwnedSettings(m_store, m_state.settings.PageFaultMax, stayOnTopChecked(),
                                autoUpdateChecked());
    WidgetPlacement placement(this);
    m_store.SaveWindowPlacement(Settings::WindowSection, placement, false);
    finishSettingsWrites();
    SaveSchedule();
    return m_exitStatus;
}

void THoroluxMain::SaveSchedule()
{
    switch (m_scheduleFile.save(m_state.sched.ScheduleList)) {
    case ScheduleFile::SaveResult::Saved:
        break;
    case ScheduleFile::SaveResult::Failed:
        reportSaveFailure(m_scheduleFile.path());
        break;
    case ScheduleFile::SaveResult::HeldBack:
        // While running the date line has said so. Nothing could be read, so every item held
        // was added in this run: at the end they would be lost, which is reported as a failed
        // save.
        if (m_shutDown && m_state.sched.ScheduleList.count() > 0)
            reportSaveFailure(m_scheduleFile.path());
        break;
    }
}

void THoroluxMain::finishSettingsWrites()
{
    m_registry.finish();
    reportLostSettings();
}

// Settings writes fail silently, except those that never reached the file because it was held
// too long or descriptors ran out: those are lost saves like any other.
void THoroluxMain::reportLostSettings()
{
    if (m_registry.takeLoss())
        reportSaveFailure(m_registry.location());
}

void THoroluxMain::reportSaveFailure(const QString& path)
{
    const QString text = QStringLiteral("Cannot create file %1").arg(path);
    if (!m_shutDown) {
        ModalSeam::warning(this, QCoreApplication::applicationName(), text);
        return;
    }
    // The program is ending, perhaps with the desktop session: nobody may be there to click.
    // The text goes where a session log keeps it, a box that goes away by itself shows it once
    // every window has gone, and the exit status tells that something was lost.
    m_exitStatus = 1;
    m_shutdownNotice += (m_shutdownNotice.isEmpty() ? QString() : QStringLiteral("\n")) + text;
    std::fprintf(stderr, "horolux: %s\n", text.toLocal8Bit().constData());
    std::fflush(stderr);
}

void THoroluxMain::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    m_platform.desktop->suppressTaskbarButton(this);
}

// The window manager's close (or Alt+F4) ends the program the way the menu's Close does.
void THoroluxMain::closeEvent(QCloseEvent* event)
{
    if (!m_shutdown.ending())
        m_shutdown.request();
    event->accept();
}

void THoroluxMain::CloseItemClick()
{
    m_shutdown.request();
}

bool THoroluxMain::stayOnTopChecked() const
{
    return m_stayOnTopItem->isChecked();
}
bool THoroluxMain::autoUpdateChecked() const
{
    return m_autoItem->isChecked();
}

void THoroluxMain::StayOnTopItemClick()
{
    // The action has already flipped its own check mark.
    m_platform.desktop->setStayOnTop(this, m_stayOnTopItem->isChecked());
}

void THoroluxMain::AutoItemClick()
{
    m_state.settings.AutoUpdate = m_autoItem->isChecked();
}

void THoroluxMain::HelpItemClick()
{
    HelpSystem::showFinder();
}

void THoroluxMain::ConnectItemClick()
{
    if (!SharedRoutines::LaunchProgram(*m_platform.launcher,
                                       QStringLiteral("https://") + WebHost + QLatin1Char('/'),
                                       QString(), QString(), 5))
        ShowWarning(QStringLiteral("Could not connect to Web site"));
}

void THoroluxMain::AboutItemClick()
{
    if (modalDialogOpen())
        return;
    TAbtFrm dialog(this);
    dialog.exec();
}

void THoroluxMain::TaskIconClick()
{
    if (isVisible())
        hide();
    else
        showAndRaise();
}

void THoroluxMain::TaskIconRightClick(QPoint at)
{
    if (!modalDialogOpen())
        m_menu->popup(at);
}

// A tray icon reached over the session bus is not blocked by a modal dialog: commands that
// open dialogs of their own wait for it to close and bring it forward instead.
bool THoroluxMain::modalDialogOpen()
{
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal)
        return false;
    modal->raise();
    modal->activateWindow();
    return true;
}

void THoroluxMain::SchedItemClick()
{
    if (modalDialogOpen())
        return;
    m_schedulerUi->SchedItemClick([this] { SaveSchedule(); });
}

void THoroluxMain::ReminderItemClick()
{
    if (modalDialogOpen())
        return;
    m_schedulerUi->ReminderItemClick([this] { SaveSchedule(); });
}

void THoroluxMain::SettingsItemClick()
{
    if (modalDialogOpen())
        return;
    TOptionsFrm dialog(*this, this);
    dialog.setValues(OptionsRules::fill(m_state.settings, m_state.clock, m_store,
                                        m_platform.drives->listDrives()));
    dialog.askClockSync(m_platform.clockSync);
    // The program may have been closed while the dialog was open: nothing is applied then.
    if (dialog.exec() == QDialog::Accepted && !m_shutDown)
        OptionsRules::apply(dialog.values(), m_state.settings, m_store, *this);
}

void THoroluxMain::SetDisplayFormat(bool use12Hour)
{
    m_tick.SetDisplayFormat(use12Hour);
    m_state.tick.LastMinuteShown = 99;
}

void THoroluxMain::GetDriveSpace(const QString& drive)
{
    m_sampler->GetDriveSpace(drive);
}

void THoroluxMain::setTrayIconShown(bool shown)
{
    m_taskIcon->setActive(shown);
    if (shown && !m_taskIcon->Active() && !m_noTraySaid) {
        m_noTraySaid = true;
        showStatus(NoTrayNotice);
    }
}

bool THoroluxMain::SetPriorityClass(int priorityClass)
{
    const IProcessPriority::Result result = m_platform.priority->setPriorityClass(priorityClass);
    if (result != IProcessPriority::Result::Set)
        showStatus(OptionsRules::priorityStatus(result));
    return result == IProcessPriority::Result::Set;
}

void THoroluxMain::btnSetClick(int hour, int minute, int second)
{
    IClockSetter& setter = *m_platform.clockSetter;
    // A change still waiting for the system's answer (and perhaps the user's password).
    if (setter.busy())
        return;
    if (ClockSetting::SetLocalTimeOfDay(setter, *m_platform.clock, quint16(hour), quint16(minute),
                                        quint16(second))) {
        // An earlier refusal's reason would still stand there: the new date and time replace it.
        if (m_state.tick.DateLineCountdown > 0) {
            setDateLine(ClockTick::longDate(m_platform.clock->now().date()));
            m_state.tick.DateLineCountdown = 1; // the next tick ends the message as usual
        }
        return;
    }
    // The box says what every refusal says; the date line says why, where the system told.
    const QString reason = setter.refusalReason();
    if (!reason.isEmpty())
        showStatus(reason);
    ShowWarning(QStringLiteral("You do not have the privilege needed to set the system time"));
}

void THoroluxMain::btnAutoClick(QWidget* dialog)
{
    ::btnAutoClick(dialog, m_state.settings, m_store);
}

void THoroluxMain::btnSetInternetClick()
{
    BeginTimeUpdate();
}

void THoroluxMain::showStatus(const QString& text)
{
    setDateLine(text);
    m_state.tick.DateLineCountdown = 20;
}

void THoroluxMain::ReportItemClick()
{
    if (modalDialogOpen())
        return;
    TReportFrm dialog(m_state.perf, m_state.settings, this);
    dialog.exec();
}

// Qt holds a timer's next timeout back until the slot of the previous one has returned. A tick
// can open a box or pause inside a scan, and the clock must keep running in that box's loop, so
// the timer's slot only posts the tick; a tick still waiting absorbs the next ones.
void THoroluxMain::postTick()
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

void THoroluxMain::TimerTimer()
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
        setDateLine(m_pendingNotices.takeFirst());
        m_state.tick.DateLineCountdown = 20;
    }
}

// Clock face

void THoroluxMain::setHoursFormatWidth(int width)
{
    m_hours->setFormatWidth(quint16(width));
}
void THoroluxMain::setHoursValue(int value)
{
    m_hours->setValue(value);
}
void THoroluxMain::setMinutesValue(int value)
{
    m_mins->setValue(value);
}
QString THoroluxMain::dateLine() const
{
    return m_lbDate->text();
}
void THoroluxMain::setDateLine(const QString& text)
{
    // A long date or message gets a smaller font rather than losing its ends.
    QFont font = m_lbDate->font();
    int size = 11;
    font.setPixelSize(size);
    while (size > 8 && QFontMetrics(font).horizontalAdvance(text) > m_lbDate->width() - 2)
        font.setPixelSize(--size);
    m_lbDate->setFont(font);
    m_lbDate->setText(text);
}
void THoroluxMain::setColon(bool shown)
{
    m_lbColon->setText(shown ? QStringLiteral(":") : QString());
}
void THoroluxMain::setTrayTip(const QString& tip)
{
    if (!m_taskIcon)
        return;
    // Once a minute: a tray that started after the program takes the chosen icon.
    if (m_state.settings.TaskIcon && !m_taskIcon->Active())
        m_taskIcon->setActive(true);
    m_taskIcon->setToolTip(tip);
}

void THoroluxMain::showAndRaise()
{
    if (m_shutDown)
        return;
    // The window manager may have minimised the panel with a dialog of ours: taking the
    // minimised state off maps it again, and the flags (frameless tool window) stay as they are.
    if (windowState() & Qt::WindowMinimized)
        setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
}

void THoroluxMain::UpdateStatus()
{
    if (!m_shutDown)
        m_sampler->UpdateStatus();
}

void THoroluxMain::CheckSchedule()
{
    ScheduleScanner::CheckSchedule(m_state.sched, m_state.clock, *this);
}

bool THoroluxMain::connectionWindowPresent(const QString& title)
{
    return m_platform.windowFinder->findTopLevel(title);
}

void THoroluxMain::BeginTimeUpdate()
{
    m_timeClient->BeginTimeUpdate();
}

void THoroluxMain::showLevel(Indicator bar, int level)
{
    switch (bar) {
    case Indicator::DSK:
        m_indDSK->showLevel(level);
        break;
    case Indicator::CPU:
        m_indCPU->showLevel(level);
        break;
    case Indicator::MEM:
        m_indMEM->showLevel(level);
        break;
    case Indicator::PF:
        m_indPF->showLevel(level);
        break;
    }
}

bool THoroluxMain::FireScheduleItem(const QString& detail)
{
    return m_schedulerUi->FireScheduleItem(detail, dateLine());
}

void THoroluxMain::ShowWarning(const QString& text)
{
    SharedRoutines::ShowWarning(text);
}

void THoroluxMain::ReportSetAside(int count)
{
    m_pendingNotices << ScheduleList::setAsideNotice(count);
}

// Mouse: press, drag and click on any control of the face; the frame around them does nothing.
bool THoroluxMain::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: { // the second press of a double click is a press too
        auto* e = static_cast<QMouseEvent*>(event);
        m_dragActive = e->button() == Qt::LeftButton;
        m_dragOrigin = e->globalPosition().toPoint();
        m_dragWindowStart = pos();
        m_dragMoved = false;
        return e->button() == Qt::LeftButton;
    }
    case QEvent::MouseMove: {
        auto* e = static_cast<QMouseEvent*>(event);
        if (m_dragActive) {
            // Screen coordinates keep the pressed point under the cursor while the window moves.
            move(m_dragWindowStart + (e->globalPosition().toPoint() - m_dragOrigin));
            m_dragMoved = true;
        }
        return m_dragActive;
    }
    case QEvent::MouseButtonRelease: {
        auto* e = static_cast<QMouseEvent*>(event);
        if (e->button() != Qt::LeftButton)
            return false;
        m_dragActive = false;
        if (m_dragMoved || m_state.settings.HideInterval == 0)
            return true;
        // Hidden until the tray icon is clicked, but there is no tray icon: the panel could
        // never come back.
        if (m_state.settings.HideInterval < 0 && !m_taskIcon->Active())
            return true;
        hide();
        m_state.tick.HideCountdown = m_state.settings.HideInterval;
        return true;
    }
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

void THoroluxMain::contextMenuEvent(QContextMenuEvent* event)
{
    m_menu->popup(event->globalPos());
}

// The panel: a raised outer bevel, a 3-pixel border and a lowered inner bevel.
void THoroluxMain::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QPalette& pal = palette();
    const QColor face = pal.color(QPalette::Button);
    const QColor light = pal.color(QPalette::Light);
    const QColor shadow = pal.color(QPalette::Dark);
    QRect r = rect();
    p.fillRect(r, face);
    auto bevel = [&p](QRect rc, const QColor& topLeft, const QColor& bottomRight) {
        p.setPen(topLeft);
        p.drawLine(rc.topLeft(), rc.topRight());
        p.drawLine(rc.topLeft(), rc.bottomLeft());
        p.setPen(bottomRight);
        p.drawLine(rc.bottomLeft(), rc.bottomRight());
        p.drawLine(rc.topRight(), rc.bottomRight());
    };
    bevel(r, light, shadow);
    bevel(r.adjusted(4, 4, -4, -4), shadow, light);
}
