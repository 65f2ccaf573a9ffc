#include "app/PanelController.h"
#include "doubles/FakePlatform.h"
#include "rules/settings/SettingsTable.h"
#include "windows/components/TTaskIcon.h"
#include "windows/ui/HelpSystem.h"
#include "windows/ui/HelpWindow.h"
#include "windows/ui/ModalSeam.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {
template <class Setting> qint32 stored(FakeRegistry& reg, const Setting& setting)
{
    const auto v = reg.get(setting.section, setting.name);
    return v ? qint32(v->dword) : -999;
}

template <class Setting> void put(FakeRegistry& reg, const Setting& setting, quint32 dword)
{
    reg.put(setting.section, setting.name, RegValue::fromDword(dword));
}
} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void init();
    void firstRunWithNothingStored();
    void menuItemsReachTheirCommands_data();
    void menuItemsReachTheirCommands();
    void altF4EndsTheProgram();
    void shutdownStoresOwnedValuesAndNextRunRestoresThem();
    void storesTheCheckMarkNotTheArmedState();
    void chimeDuringStartupInMinuteZero();
    void indefiniteHideShowsTrayIcon();
    void trayChoiceOutlivesAMissingTray_data();
    void trayChoiceOutlivesAMissingTray();
    void absurdStoredNumbers();
    void clickHidesAndTheTickBringsItBack_data();
    void clickHidesAndTheTickBringsItBack();
    void dragMovesWithoutHiding();
    void frameNeitherDragsNorHides();
    void trayClickToggles();
    void webSiteFailureIsReported();
    void unwritableScheduleIsReportedWithItsPath();
    void setAsideLinesAreNoticedOnce();
    void unreadableScheduleIsMovedAsideNotOverwritten();
    void linkedScheduleIsNotSavedOverUntilItCanBeRead();
    void itemsHeldForAnUnreadableLinkAreReportedAtTheEnd();
    void readOnlyScheduleIsReportedNotReplaced();
    void noticesFollowOneAnother();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestMainWindow::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    ModalSeam::clearQueues();
    ModalSeam::shownMessages().clear();
}

void TestMainWindow::firstRunWithNothingStored()
{
    FakePlatform p(m_dir->path() + "/");
    PanelController c(p.services);
    THoroluxMain& w = c.panel();
    QCOMPARE(w.pos(), QPoint(10, 160));
    QCOMPARE(w.size(), QSize(187, 53));
    QVERIFY(w.windowFlags() & Qt::FramelessWindowHint);
    QVERIFY(w.windowFlags() & Qt::Tool); // no task-bar button
    QCOMPARE(p.desktop.suppressed, 1);
    QCOMPARE(p.priority.classes, QList<int>{64});
    QVERIFY(p.perf.reads.contains("PerfStats\\StartStat|KERNEL\\CPUUsage"));
    QCOMPARE(p.drives.asked, QStringList{"/"});
    QCOMPARE(c.state().settings.MonitorDrive, QString("/"));
    QCOMPARE(c.state().files.ScheduleFileName, m_dir->path() + "/horolux.dat");
    QCOMPARE(c.schedule().count(), 0);
    QVERIFY(!c.taskIcon()->Active());
    QVERIFY(!w.popupMenu()->stayOnTopChecked());
    QVERIFY(!w.popupMenu()->autoUpdateChecked());
    QCOMPARE(c.schedule().startupComplete(), true);
    QCOMPARE(p.registry.writes, 0);
    QCOMPARE(w.dateLine(), "Good morning Ann");
    QVERIFY(p.sound.calls.isEmpty());
    // The greeting gives way to the date on the tenth tick.
    for (int i = 1; i <= 9; ++i) {
        p.clock.current = p.clock.current.addSecs(1);
        c.TimerTimer();
    }
    QCOMPARE(w.dateLine(), QString("Good morning Ann"));
    c.TimerTimer();
    QVERIFY(w.dateLine().contains("2000"));
}

void TestMainWindow::menuItemsReachTheirCommands_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("effect");
    QTest::newRow("Settings") << "SettingsItem"
                              << "TOptionsFrm";
    QTest::newRow("Scheduler") << "SchedItem"
                               << "TSchedMain";
    QTest::newRow("Quick Reminder") << "ReminderItem"
                                    << "TReminderFrm";
    QTest::newRow("Performance Report") << "ReportItem"
                                        << "TReportFrm";
    QTest::newRow("Stay On Top") << "StayOnTopItem"
                                 << "on top";
    QTest::newRow("Automatic Time Update") << "AutoItem"
                                           << "armed";
    QTest::newRow("Help") << "HelpItem"
                          << "help";
    QTest::newRow("Connect") << "ConnectItem"
                             << "https://horolux.org/|||5";
    QTest::newRow("About") << "AboutItem"
                           << "TAbtFrm";
    QTest::newRow("Close") << "CloseItem"
                           << "ending";
}

// The menu only names the item chosen: each must reach its own command, and only that one.
void TestMainWindow::menuItemsReachTheirCommands()
{
    QFETCH(QString, item);
    FakePlatform p(m_dir->path() + "/");
    PanelController c(p.services);
    QStringList effects;
    QTimer answer; // names the dialog the item opened, and cancels it
    answer.setSingleShot(true);
    connect(&answer, &QTimer::timeout, [&effects] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            effects << dialog->metaObject()->className();
            dialog->reject();
        }
    });
    answer.start(0);
    c.panel().popupMenu()->findChild<QAction*>(item)->trigger();
    if (!p.desktop.onTop.isEmpty())
        effects << "on top";
    if (c.state().settings.AutoUpdate)
        effects << "armed";
    if (HelpSystem::window() && HelpSystem::window()->isVisible())
        effects << "help";
    effects << p.launcher.calls;
    if (c.shutdown().ending())
        effects << "ending";
    HelpSystem::closeWindow();
    QTEST(effects.join(','), "effect");
}

void TestMainWindow::altF4EndsTheProgram()
{
    FakePlatform p(m_dir->path() + "/");
    PanelController c(p.services);
    THoroluxMain& w = c.panel();
    w.show();
    QApplication::setActiveWindow(&w);
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QTest::keyClick(&w, Qt::Key_F4, Qt::AltModifier);
    QVERIFY(c.shutdown().ending());
    QVERIFY(!w.isVisible());
}

void TestMainWindow::shutdownStoresOwnedValuesAndNextRunRestoresThem()
{
    FakePlatform p(m_dir->path() + "/");
    {
        PanelController c(p.services);
        c.panel().move(300, 200);
        c.panel().popupMenu()->findChild<QAction*>("StayOnTopItem")->trigger();
        QCOMPARE(p.desktop.onTop, QList<bool>{true});
        c.state().settings.PageFaultMax = 350; // raised by sampling while running
        c.CloseItemClick();
        QVERIFY(p.perf.reads.contains("PerfStats\\StopStat|KERNEL\\CPUUsage"));
    }
    QCOMPARE(stored(p.registry, Settings::PFMax), 350);
    QCOMPARE(stored(p.registry, Settings::StayOnTop), 1);
    QCOMPARE(stored(p.registry, Settings::AutoUpdate), 0);
    QCOMPARE(stored(p.registry, Settings::WindowState), 0);
    QCOMPARE(stored(p.registry, Settings::WindowTop), 200);
    QCOMPARE(stored(p.registry, Settings::WindowLeft), 300);
    QVERIFY(QFile::exists(m_dir->path() + "/horolux.dat"));

    PanelController c2(p.services);
    THoroluxMain& again = c2.panel();
    QCOMPARE(again.pos(), QPoint(300, 200));
    QVERIFY(again.popupMenu()->stayOnTopChecked());
    QCOMPARE(p.desktop.onTop, (QList<bool>{true, true}));
    QCOMPARE(c2.state().settings.PageFaultMax, 350);
}

void TestMainWindow::storesTheCheckMarkNotTheArmedState()
{
    FakePlatform p(m_dir->path() + "/");
    put(p.registry, Settings::AutoUpdate, 1);
    {
        PanelController c(p.services);
        QVERIFY(c.panel().popupMenu()->autoUpdateChecked());
        QVERIFY(c.state().settings.AutoUpdate);
        c.state().settings.AutoUpdate = false; // a completed time update disarms it
        c.CloseItemClick();
    }
    QCOMPARE(stored(p.registry, Settings::AutoUpdate), 1);
}

void TestMainWindow::chimeDuringStartupInMinuteZero()
{
    FakePlatform p(m_dir->path() + "/");
    p.clock.current = QDateTime(QDate(2000, 1, 3), QTime(14, 0, 30));
    put(p.registry, Settings::Chime, 1);
    PanelController c(p.services);
    QCOMPARE(p.sound.calls, QStringList{"beep"});
    QCOMPARE(c.panel().dateLine(), QString("Good afternoon Ann"));
}

void TestMainWindow::indefiniteHideShowsTrayIcon()
{
    FakePlatform p(m_dir->path() + "/");
    put(p.registry, Settings::HideInterval, 0xFFFFFFFF);
    put(p.registry, Settings::TaskIcon, 0);
    PanelController c(p.services);
    QVERIFY(c.taskIcon()->Active());
    // The tip is set every minute whether or not the icon is shown.
    QVERIFY(c.taskIcon()->ToolTip().startsWith("09:00 ")); // hours and minutes only
}

void TestMainWindow::trayChoiceOutlivesAMissingTray_data()
{
    QTest::addColumn<quint32>("hide");
    QTest::addColumn<quint32>("taskIcon");
    QTest::newRow("icon chosen") << 4u << 1u;
    QTest::newRow("indefinite hide forces it") << 0xFFFFFFFFu << 0u;
}

// Without a tray the dialog once showed the box cleared, so OK stored 0 (or warned again at
// every OK), and a tray that started later was never joined.
void TestMainWindow::trayChoiceOutlivesAMissingTray()
{
    FakePlatform p(m_dir->path() + "/");
    QFETCH(quint32, hide);
    QFETCH(quint32, taskIcon);
    put(p.registry, Settings::HideInterval, hide);
    put(p.registry, Settings::TaskIcon, taskIcon);
    p.tray.acceptAdd = false;
    PanelController c(p.services);
    for (int i = 0; i < 2; ++i) // OK without a change, twice
        OptionsRules::apply(OptionsRules::fill(c.state().settings, {}, c.settings(), {"/"}),
                            c.state().settings, c.settings(), c);
    QVERIFY(ModalSeam::shownMessages().isEmpty());
    QCOMPARE(stored(p.registry, Settings::TaskIcon), 1);
    QStringList shown;
    for (int i = 0; i < 59; ++i) {
        p.clock.current = p.clock.current.addSecs(1);
        c.TimerTimer();
        shown << c.panel().dateLine();
    }
    QCOMPARE(shown.count(PanelController::NoTrayNotice), 20);
    p.tray.acceptAdd = true; // a tray starts: taken at the change of minute
    QVERIFY(!c.taskIcon()->Active());
    p.clock.current = p.clock.current.addSecs(1);
    c.TimerTimer();
    QVERIFY(c.taskIcon()->Active());
}

// Values only an edited file can hold: applied as the rules say, without a crash.
void TestMainWindow::absurdStoredNumbers()
{
    FakePlatform p(m_dir->path() + "/");
    put(p.registry, Settings::WindowTop, 0x80000000u);
    put(p.registry, Settings::WindowLeft, 0x7FFFFFFFu);
    put(p.registry, Settings::PFMax, 20000);
    put(p.registry, Settings::UpdateInterval, quint32(-5));
    PanelController c(p.services);
    c.panel().show();
    QCOMPARE(c.panel().x(), 10); // left beyond the screen: the designed edge stays
    QCOMPARE(c.state().settings.PageFaultMax, 100);
    for (int i = 0; i < 20; ++i)
        c.TimerTimer();
    QCOMPARE(c.state().perf.RunningTime, 0); // no sample is ever taken
    QVERIFY(!p.perf.reads.contains("PerfStats\\StatData|KERNEL\\CPUUsage"));
}

void TestMainWindow::clickHidesAndTheTickBringsItBack_data()
{
    QTest::addColumn<int>("hide");
    QTest::addColumn<bool>("hidden");
    QTest::addColumn<int>("backOnTick"); // 0: never within 30 ticks
    QTest::addColumn<bool>("trayAvailable");
    QTest::newRow("4 seconds") << 4 << true << 4 << true;
    QTest::newRow("off") << 0 << false << 0 << true;
    QTest::newRow("indefinite") << -1 << true << 0 << true;
    // Without a tray icon nothing could bring the panel back: it stays.
    QTest::newRow("indefinite, no tray") << -1 << false << 0 << false;
}

void TestMainWindow::clickHidesAndTheTickBringsItBack()
{
    QFETCH(int, hide);
    QFETCH(bool, hidden);
    QFETCH(int, backOnTick);
    QFETCH(bool, trayAvailable);
    FakePlatform p(m_dir->path() + "/");
    p.tray.acceptAdd = trayAvailable;
    put(p.registry, Settings::HideInterval, quint32(hide));
    PanelController c(p.services);
    THoroluxMain& w = c.panel();
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    auto* date = w.findChild<QLabel*>("lbDate");
    QTest::mouseClick(date, Qt::LeftButton, {}, QPoint(20, 5));
    QCOMPARE(!w.isVisible(), hidden);
    int shownOn = 0;
    for (int i = 1; i <= 30 && hidden; ++i) {
        c.TimerTimer();
        if (w.isVisible()) {
            shownOn = i;
            break;
        }
    }
    QCOMPARE(shownOn, backOnTick);
}

void TestMainWindow::dragMovesWithoutHiding()
{
    FakePlatform p(m_dir->path() + "/");
    PanelController c(p.services);
    THoroluxMain& w = c.panel();
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    auto* hours = w.findChild<QWidget*>("Hours");
    const QPoint start = w.pos();
    QTest::mousePress(hours, Qt::LeftButton, {}, QPoint(10, 10));
    QMouseEvent move(QEvent::MouseMove, QPointF(11, 10), hours->mapToGlobal(QPointF(11, 10)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(hours, &move);
    QTest::mouseRelease(hours, Qt::LeftButton, {}, QPoint(11, 10));
    QVERIFY(w.isVisible());
    QCOMPARE(w.pos(), start + QPoint(1, 0));
}

void TestMainWindow::frameNeitherDragsNorHides()
{
    FakePlatform p(m_dir->path() + "/");
    PanelController c(p.services);
    THoroluxMain& w = c.panel();
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QTest::mouseClick(&w, Qt::LeftButton, {}, QPoint(2, 2));
    QVERIFY(w.isVisible());
    QCOMPARE(c.state().tick.HideCountdown, -1);
}

void TestMainWindow::trayClickToggles()
{
    FakePlatform p(m_dir->path() + "/");
    put(p.registry, Settings::TaskIcon, 1);
    PanelController c(p.services);
    THoroluxMain& w = c.panel();
    w.show();
    QVERIFY(c.taskIcon()->Active());
    p.tray.click();
    QVERIFY(!w.isVisible());
    p.tray.click();
    QVERIFY(w.isVisible());
    p.tray.click(7); // another icon's identifier
    QVERIFY(w.isVisible());
}

void TestMainWindow::webSiteFailureIsReported()
{
    FakePlatform p(m_dir->path() + "/");
    PanelController c(p.services);
    p.launcher.result = false;
    ModalSeam::queueMessageAnswer();
    c.ConnectItemClick();
    QCOMPARE(p.launcher.calls.size(), 1);
    QVERIFY(p.launcher.calls.first().startsWith("https://" + PanelMenu::WebHost));
    QCOMPARE(ModalSeam::shownMessages(), QStringList{"Could not connect to Web site"});
}

void TestMainWindow::unwritableScheduleIsReportedWithItsPath()
{
    // A regular file where the data folder should be: the save fails even as root.
    QFile blocker(m_dir->path() + "/blocker");
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    FakePlatform p(m_dir->path() + "/blocker/horolux/");
    PanelController c(p.services);
    c.schedule().add("09053652600Reminder:Call home");
    ModalSeam::queueMessageAnswer();
    c.SaveSchedule();
    QCOMPARE(ModalSeam::shownMessages(),
             QStringList{"Cannot create file " + m_dir->path() + "/blocker/horolux/horolux.dat"});
    QCOMPARE(c.schedule().count(), 1); // kept in memory
    ModalSeam::queueMessageAnswer();
}

void TestMainWindow::setAsideLinesAreNoticedOnce()
{
    QFile dat(m_dir->path() + "/horolux.dat");
    QVERIFY(dat.open(QIODevice::WriteOnly));
    dat.write("09053652600Reminder:fine\r\ngarbage line\r\n");
    dat.close();
    FakePlatform p(m_dir->path() + "/");
    PanelController c(p.services);
    THoroluxMain& w = c.panel();
    QCOMPARE(c.schedule().count(), 1);
    for (int i = 0; i < 10; ++i)
        c.TimerTimer();
    QVERIFY2(w.dateLine().contains("set aside"), qPrintable(w.dateLine()));
    for (int i = 0; i < 20; ++i)
        c.TimerTimer();
    QVERIFY(w.dateLine().contains("2000"));
}

void TestMainWindow::unreadableScheduleIsMovedAsideNotOverwritten()
{
    // A directory where the file should be cannot be read, even by root.
    QVERIFY(QDir().mkpath(m_dir->path() + "/horolux.dat/keep"));
    FakePlatform p(m_dir->path() + "/");
    PanelController c(p.services);
    c.schedule().add("09053652600Reminder:new");
    c.SaveSchedule();
    QVERIFY(QFileInfo(m_dir->path() + "/horolux.dat.unreadable/keep").isDir());
    QFile saved(m_dir->path() + "/horolux.dat");
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QCOMPARE(saved.readAll(), QByteArray("09053652600Reminder:new\r\n"));
    for (int i = 0; i < 10; ++i)
        c.TimerTimer();
    QCOMPARE(c.panel().dateLine(), QString("Schedule file could not be read"));
}

// A schedule kept on a mount that is not ready at login: the link must survive every save,
// and once the mount is there its items join those added meanwhile.
void TestMainWindow::linkedScheduleIsNotSavedOverUntilItCanBeRead()
{
    const QString path = m_dir->path() + "/horolux.dat";
    QVERIFY(QFile::link(m_dir->path() + "/mount/horolux.dat", path));
    FakePlatform p(m_dir->path() + "/");
    PanelController c(p.services);
    c.schedule().add("09053652600Reminder:new");
    c.SaveSchedule();
    c.SaveSchedule();
    QCOMPARE(ModalSeam::shownMessages(), QStringList());
    QVERIFY(QFileInfo(path).isSymLink());
    QVERIFY(!QFileInfo::exists(path));
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::System), QStringList{"horolux.dat"});
    for (int i = 0; i < 10; ++i)
        c.TimerTimer();
    QCOMPARE(c.panel().dateLine(), QString("Schedule unreadable, not saved"));

    QVERIFY(QDir().mkpath(m_dir->path() + "/mount"));
    QFile mounted(m_dir->path() + "/mount/horolux.dat");
    QVERIFY(mounted.open(QIODevice::WriteOnly));
    mounted.write("07003652600Reminder:from the mount\r\n");
    mounted.close();
    c.SaveSchedule();
    QVERIFY(QFileInfo(path).isSymLink());
    QVERIFY(mounted.open(QIODevice::ReadOnly));
    QCOMPARE(mounted.readAll(),
             QByteArray("07003652600Reminder:from the mount\r\n09053652600Reminder:new\r\n"));
    QCOMPARE(c.schedule().count(), 2);
}

// Items added while the link could not be read would be lost at the end: that is a failed save.
void TestMainWindow::itemsHeldForAnUnreadableLinkAreReportedAtTheEnd()
{
    const QString path = m_dir->path() + "/horolux.dat";
    QVERIFY(QFile::link(m_dir->path() + "/mount/horolux.dat", path));
    FakePlatform p(m_dir->path() + "/");
    PanelController c(p.services);
    c.panel().close();
    QCOMPARE(c.exitStatus(), 0); // nothing held, nothing lost
    QCOMPARE(ModalSeam::shownMessages(), QStringList());

    PanelController c2(p.services);
    THoroluxMain& again = c2.panel();
    c2.schedule().add("09053652600Reminder:new");
    again.close();
    QCOMPARE(c2.exitStatus(), 1);
    QCOMPARE(c2.shutdownNotice(), "Cannot create file " + path);
    QVERIFY(QFileInfo(path).isSymLink());
}

// Root may write a 0444 file; the program does not, and says so as for any failed save.
void TestMainWindow::readOnlyScheduleIsReportedNotReplaced()
{
    const QString path = m_dir->path() + "/horolux.dat";
    QFile dat(path);
    QVERIFY(dat.open(QIODevice::WriteOnly));
    dat.write("09053652600Reminder:kept\r\n");
    dat.close();
    QVERIFY(dat.setPermissions(QFileDevice::ReadOwner | QFileDevice::ReadGroup |
                               QFileDevice::ReadOther));
    FakePlatform p(m_dir->path() + "/");
    PanelController c(p.services);
    c.schedule().add("10003652600Reminder:new");
    ModalSeam::queueMessageAnswer();
    c.SaveSchedule();
    QCOMPARE(ModalSeam::shownMessages(), QStringList{"Cannot create file " + path});
    QVERIFY(dat.open(QIODevice::ReadOnly));
    QCOMPARE(dat.readAll(), QByteArray("09053652600Reminder:kept\r\n"));
    QCOMPARE(c.schedule().count(), 2);
}

void TestMainWindow::noticesFollowOneAnother()
{
    QFile dat(m_dir->path() + "/horolux.dat");
    QVERIFY(dat.open(QIODevice::WriteOnly));
    dat.write("garbage line\r\n");
    dat.close();
    FakePlatform p(m_dir->path() + "/");
    p.registry.notUnderstood = true;
    PanelController c(p.services);
    QStringList shown;
    for (int i = 0; i < 60; ++i) {
        c.TimerTimer();
        if (shown.isEmpty() || shown.last() != c.panel().dateLine())
            shown << c.panel().dateLine();
    }
    QCOMPARE(shown.size(), 4);
    QCOMPARE(shown.mid(1, 2),
             (QStringList{"1 schedule line set aside", "Settings file not understood"}));
    QVERIFY(shown.last().contains("2000"));
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
