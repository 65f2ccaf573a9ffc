#include "app/THoroluxMain.h"
#include "windows/components/TTaskIcon.h"
#include "doubles/FakePlatform.h"
#include "rules/settings/SettingsTable.h"
#include "windows/ui/ModalSeam.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>

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
    void menuItemsInOrder();
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
    FakePlatform p(m_dir->path() + QStringLiteral("/"));
    THoroluxMain w(p.services);
    QCOMPARE(w.pos(), QPoint(10, 160));
    QCOMPARE(w.size(), QSize(187, 53));
    QVERIFY(w.windowFlags() & Qt::FramelessWindowHint);
    QVERIFY(w.windowFlags() & Qt::Tool); // no task-bar button
    QCOMPARE(p.desktop.suppressed, 1);
    QCOMPARE(p.priority.classes, QList<int>{64});
    QVERIFY(p.perf.reads.contains(QStringLiteral("PerfStats\\StartStat|KERNEL\\CPUUsage")));
    QCOMPARE(p.drives.asked, QStringList{QStringLiteral("/")});
    QCOMPARE(w.state().settings.MonitorDrive, QStringLiteral("/"));
    QCOMPARE(w.state().files.ScheduleFileName, m_dir->path() + QStringLiteral("/horolux.dat"));
    QCOMPARE(w.state().sched.ScheduleList.count(), 0);
    QVERIFY(!w.taskIcon()->Active());
    QVERIFY(!w.stayOnTopChecked());
    QVERIFY(!w.autoUpdateChecked());
    QCOMPARE(w.state().sched.StartupComplete, true);
    QCOMPARE(p.registry.writes, 0);
    QCOMPARE(w.dateLine(), QStringLiteral("Good morning Ann"));
    QVERIFY(p.sound.calls.isEmpty());
    // The greeting gives way to the date on the tenth tick.
    for (int i = 1; i <= 9; ++i) {
        p.clock.current = p.clock.current.addSecs(1);
        w.TimerTimer();
    }
    QCOMPARE(w.dateLine(), QStringLiteral("Good morning Ann"));
    w.TimerTimer();
    QVERIFY(w.dateLine().contains(QStringLiteral("2000")));
}

void TestMainWindow::menuItemsInOrder()
{
    FakePlatform p(m_dir->path() + QStringLiteral("/"));
    THoroluxMain w(p.services);
    QStringList captions;
    for (QAction* a : w.popupMenu()->actions())
        captions << (a->isSeparator() ? QStringLiteral("-") : a->text());
    QCOMPARE(captions,
             (QStringList{
                 QStringLiteral("&Settings"), QStringLiteral("Sc&heduler"),
                 QStringLiteral("&Quick Reminder"), QStringLiteral("Performance &Report"),
                 QStringLiteral("-"), QStringLiteral("Stay On &Top"),
                 QStringLiteral("Automatic Time &Update"), QStringLiteral("-"),
                 QStringLiteral("&Help"), QStringLiteral("Connect to ") + THoroluxMain::WebHost,
                 QStringLiteral("&About Horolux"), QStringLiteral("-"), QStringLiteral("&Close")}));
    QCOMPARE(w.popupMenu()->actions().last()->shortcut(), QKeySequence(Qt::ALT | Qt::Key_F4));
}

void TestMainWindow::shutdownStoresOwnedValuesAndNextRunRestoresThem()
{
    FakePlatform p(m_dir->path() + QStringLiteral("/"));
    {
        THoroluxMain w(p.services);
        w.move(300, 200);
        w.popupMenu()->findChild<QAction*>(QStringLiteral("StayOnTopItem"))->trigger();
        QCOMPARE(p.desktop.onTop, QList<bool>{true});
        w.state().settings.PageFaultMax = 350; // raised by sampling while running
        w.CloseItemClick();
        QVERIFY(p.perf.reads.contains(QStringLiteral("PerfStats\\StopStat|KERNEL\\CPUUsage")));
    }
    QCOMPARE(stored(p.registry, Settings::PFMax), 350);
    QCOMPARE(stored(p.registry, Settings::StayOnTop), 1);
    QCOMPARE(stored(p.registry, Settings::AutoUpdate), 0);
    QCOMPARE(stored(p.registry, Settings::WindowState), 0);
    QCOMPARE(stored(p.registry, Settings::WindowTop), 200);
    QCOMPARE(stored(p.registry, Settings::WindowLeft), 300);
    QVERIFY(QFile::exists(m_dir->path() + QStringLiteral("/horolux.dat")));

    THoroluxMain again(p.services);
    QCOMPARE(again.pos(), QPoint(300, 200));
    QVERIFY(again.stayOnTopChecked());
    QCOMPARE(p.desktop.onTop, (QList<bool>{true, true}));
    QCOMPARE(again.state().settings.PageFaultMax, 350);
}

void TestMainWindow::storesTheCheckMarkNotTheArmedState()
{
    FakePlatform p(m_dir->path() + QStringLiteral("/"));
    put(p.registry, Settings::AutoUpdate, 1);
    {
        THoroluxMain w(p.services);
        QVERIFY(w.autoUpdateChecked());
        QVERIFY(w.state().settings.AutoUpdate);
        w.state().settings.AutoUpdate = false; // a completed time update disarms it
        w.CloseItemClick();
    }
    QCOMPARE(stored(p.registry, Settings::AutoUpdate), 1);
}

void TestMainWindow::chimeDuringStartupInMinuteZero()
{
    FakePlatform p(m_dir->path() + QStringLiteral("/"));
    p.clock.current = QDateTime(QDate(2000, 1, 3), QTime(14, 0, 30));
    put(p.registry, Settings::Chime, 1);
    THoroluxMain w(p.services);
    QCOMPARE(p.sound.calls, QStringList{QStringLiteral("beep")});
    QCOMPARE(w.dateLine(), QStringLiteral("Good afternoon Ann"));
}

void TestMainWindow::indefiniteHideShowsTrayIcon()
{
    FakePlatform p(m_dir->path() + QStringLiteral("/"));
    put(p.registry, Settings::HideInterval, 0xFFFFFFFF);
    put(p.registry, Settings::TaskIcon, 0);
    THoroluxMain w(p.services);
    QVERIFY(w.taskIcon()->Active());
    // The tip is set every minute whether or not the icon is shown.
    QVERIFY(w.taskIcon()->ToolTip().startsWith(QStringLiteral("09:00 "))); // hours and minutes only
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
    FakePlatform p(m_dir->path() + QStringLiteral("/"));
    QFETCH(quint32, hide);
    QFETCH(quint32, taskIcon);
    put(p.registry, Settings::HideInterval, hide);
    put(p.registry, Settings::TaskIcon, taskIcon);
    p.tray.acceptAdd = false;
    THoroluxMain w(p.services);
    for (int i = 0; i < 2; ++i) // OK without a change, twice
        OptionsRules::apply(
            OptionsRules::fill(w.state().settings, {}, w.settings(), {QStringLiteral("/")}),
            w.state().settings, w.settings(), w);
    QVERIFY(ModalSeam::shownMessages().isEmpty());
    QCOMPARE(stored(p.registry, Settings::TaskIcon), 1);
    QStringList shown;
    for (int i = 0; i < 59; ++i) {
        p.clock.current = p.clock.current.addSecs(1);
        w.TimerTimer();
        shown << w.dateLine();
    }
    QCOMPARE(shown.count(THoroluxMain::NoTrayNotice), 20);
    p.tray.acceptAdd = true; // a tray starts: taken at the change of minute
    QVERIFY(!w.taskIcon()->Active());
    p.clock.current = p.clock.current.addSecs(1);
    w.TimerTimer();
    QVERIFY(w.taskIcon()->Active());
}

// Values only an edited file can hold: applied as the rules say, without a crash.
void TestMainWindow::absurdStoredNumbers()
{
    FakePlatform p(m_dir->path() + QStringLiteral("/"));
    put(p.registry, Settings::WindowTop, 0x80000000u);
    put(p.registry, Settings::WindowLeft, 0x7FFFFFFFu);
    put(p.registry, Settings::PFMax, 20000);
    put(p.registry, Settings::UpdateInterval, quint32(-5));
    THoroluxMain w(p.services);
    w.show();
    QCOMPARE(w.x(), 10); // left beyond the screen: the designed edge stays
    QCOMPARE(w.state().settings.PageFaultMax, 100);
    for (int i = 0; i < 20; ++i)
        w.TimerTimer();
    QCOMPARE(w.state().perf.RunningTime, 0); // no sample is ever taken
    QVERIFY(!p.perf.reads.contains(QStringLiteral("PerfStats\\StatData|KERNEL\\CPUUsage")));
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
    FakePlatform p(m_dir->path() + QStringLiteral("/"));
    p.tray.acceptAdd = trayAvailable;
    put(p.registry, Settings::HideInterval, quint32(hide));
    THoroluxMain w(p.services);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    auto* date = w.findChild<QLabel*>(QStringLiteral("lbDate"));
    QTest::mouseClick(date, Qt::LeftButton, {}, QPoint(20, 5));
    QCOMPARE(!w.isVisible(), hidden);
    int shownOn = 0;
    for (int i = 1; i <= 30 && hidden; ++i) {
        w.TimerTimer();
        if (w.isVisible()) {
            shownOn = i;
            break;
        }
    }
    QCOMPARE(shownOn, backOnTick);
}

void TestMainWindow::dragMovesWithoutHiding()
{
    FakePlatform p(m_dir->path() + QStringLiteral("/"));
    THoroluxMain w(p.services);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    auto* hours = w.findChild<QWidget*>(QStringLiteral("Hours"));
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
    FakePlatform p(m_dir->path() + QStringLiteral("/"));
    THoroluxMain w(p.services);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QTest::mouseClick(&w, Qt::LeftButton, {}, QPoint(2, 2));
    QVERIFY(w.isVisible());
    QCOMPARE(w.state().tick.HideCountdown, -1);
}

void TestMainWindow::trayClickToggles()
{
    FakePlatform p(m_dir->path() + QStringLiteral("/"));
    put(p.registry, Settings::TaskIcon, 1);
    THoroluxMain w(p.services);
    w.show();
    QVERIFY(w.taskIcon()->Active());
    p.tray.click();
    QVERIFY(!w.isVisible());
    p.tray.click();
    QVERIFY(w.isVisible());
    p.tray.click(7); // another icon's identifier
    QVERIFY(w.isVisible());
}

void TestMainWindow::webSiteFailureIsReported()
{
    FakePlatform p(m_dir->path() + QStringLiteral("/"));
    THoroluxMain w(p.services);
    p.launcher.result = false;
    ModalSeam::queueMessageAnswer();
    w.ConnectItemClick();
    QCOMPARE(p.launcher.calls.size(), 1);
    QVERIFY(
        p.launcher.calls.first().startsWith(QStringLiteral("https://") + THoroluxMain::WebHost));
    QCOMPARE(ModalSeam::shownMessages(),
             QStringList{QStringLiteral("Could not connect to Web site")});
}

void TestMainWindow::unwritableScheduleIsReportedWithItsPath()
{
    // A regular file where the data folder should be: the save fails even as root.
    QFile blocker(m_dir->path() + QStringLiteral("/blocker"));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    FakePlatform p(m_dir->path() + QStringLiteral("/blocker/horolux/"));
    THoroluxMain w(p.services);
    w.state().sched.ScheduleList.add(QStringLiteral("09053652600Reminder:Call home"));
    ModalSeam::queueMessageAnswer();
    w.SaveSchedule();
    QCOMPARE(ModalSeam::shownMessages(),
             QStringList{QStringLiteral("Cannot create file ") + m_dir->path() +
                         QStringLiteral("/blocker/horolux/horolux.dat")});
    QCOMPARE(w.state().sched.ScheduleList.count(), 1); // kept in memory
    ModalSeam::queueMessageAnswer();
}

void TestMainWindow::setAsideLinesAreNoticedOnce()
{
    QFile dat(m_dir->path() + QStringLiteral("/horolux.dat"));
    QVERIFY(dat.open(QIODevice::WriteOnly));
    dat.write("09053652600Reminder:fine\r\ngarbage line\r\n");
    dat.close();
    FakePlatform p(m_dir->path() + QStringLiteral("/"));
    THoroluxMain w(p.services);
    QCOMPARE(w.state().sched.ScheduleList.count(), 1);
    for (int i = 0; i < 10; ++i)
        w.TimerTimer();
    QVERIFY2(w.dateLine().contains(QStringLiteral("set aside")), qPrintable(w.dateLine()));
    for (int i = 0; i < 20; ++i)
        w.TimerTimer();
    QVERIFY(w.dateLine().contains(QStringLiteral("2000")));
}

void TestMainWindow::unreadableScheduleIsMovedAsideNotOverwritten()
{
    // A directory where the file should be cannot be read, even by root.
    QVERIFY(QDir().mkpath(m_dir->path() + QStringLiteral("/horolux.dat/keep")));
    FakePlatform p(m_dir->path() + QStringLiteral("/"));
    THoroluxMain w(p.services);
    w.state().sched.ScheduleList.add(QStringLiteral("09053652600Reminder:new"));
    w.SaveSchedule();
    QVERIFY(QFileInfo(m_dir->path() + QStringLiteral("/horolux.dat.unreadable/keep")).isDir());
    QFile saved(m_dir->path() + QStringLiteral("/horolux.dat"));
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QCOMPARE(saved.readAll(), QByteArray("09053652600Reminder:new\r\n"));
    for (int i = 0; i < 10; ++i)
        w.TimerTimer();
    QCOMPARE(w.dateLine(), QStringLiteral("Schedule file could not be read"));
}

// A schedule kept on a mount that is not ready at login: the link must survive every save,
// and once the mount is there its items join those added meanwhile.
void TestMainWindow::linkedScheduleIsNotSavedOverUntilItCanBeRead()
{
    const QString path = m_dir->path() + QStringLiteral("/horolux.dat");
    QVERIFY(QFile::link(m_dir->path() + QStringLiteral("/mount/horolux.dat"), path));
    FakePlatform p(m_dir->path() + QStringLiteral("/"));
    THoroluxMain w(p.services);
    w.state().sched.ScheduleList.add(QStringLiteral("09053652600Reminder:new"));
    w.SaveSchedule();
    w.SaveSchedule();
    QCOMPARE(ModalSeam::shownMessages(), QStringList());
    QVERIFY(QFileInfo(path).isSymLink());
    QVERIFY(!QFileInfo::exists(path));
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::System),
             QStringList{QStringLiteral("horolux.dat")});
    for (int i = 0; i < 10; ++i)
        w.TimerTimer();
    QCOMPARE(w.dateLine(), QStringLiteral("Schedule unreadable, not saved"));

    QVERIFY(QDir().mkpath(m_dir->path() + QStringLiteral("/mount")));
    QFile mounted(m_dir->path() + QStringLiteral("/mount/horolux.dat"));
    QVERIFY(mounted.open(QIODevice::WriteOnly));
    mounted.write("07003652600Reminder:from the mount\r\n");
    mounted.close();
    w.SaveSchedule();
    QVERIFY(QFileInfo(path).isSymLink());
    QVERIFY(mounted.open(QIODevice::ReadOnly));
    QCOMPARE(mounted.readAll(),
             QByteArray("07003652600Reminder:from the mount\r\n09053652600Reminder:new\r\n"));
    QCOMPARE(w.state().sched.ScheduleList.count(), 2);
}

// Items added while the link could not be read would be lost at the end: that is a failed save.
void TestMainWindow::itemsHeldForAnUnreadableLinkAreReportedAtTheEnd()
{
    const QString path = m_dir->path() + QStringLiteral("/horolux.dat");
    QVERIFY(QFile::link(m_dir->path() + QStringLiteral("/mount/horolux.dat"), path));
    FakePlatform p(m_dir->path() + QStringLiteral("/"));
    THoroluxMain w(p.services);
    w.close();
    QCOMPARE(w.exitStatus(), 0); // nothing held, nothing lost
    QCOMPARE(ModalSeam::shownMessages(), QStringList());

    THoroluxMain again(p.services);
    again.state().sched.ScheduleList.add(QStringLiteral("09053652600Reminder:new"));
    again.close();
    QCOMPARE(again.exitStatus(), 1);
    QCOMPARE(again.shutdownNotice(), QStringLiteral("Cannot create file ") + path);
    QVERIFY(QFileInfo(path).isSymLink());
}

// Root may write a 0444 file; the program does not, and says so as for any failed save.
void TestMainWindow::readOnlyScheduleIsReportedNotReplaced()
{
    const QString path = m_dir->path() + QStringLiteral("/horolux.dat");
    QFile dat(path);
    QVERIFY(dat.open(QIODevice::WriteOnly));
    dat.write("09053652600Reminder:kept\r\n");
    dat.close();
    QVERIFY(dat.setPermissions(QFileDevice::ReadOwner | QFileDevice::ReadGroup |
                               QFileDevice::ReadOther));
    FakePlatform p(m_dir->path() + QStringLiteral("/"));
    THoroluxMain w(p.services);
    w.state().sched.ScheduleList.add(QStringLiteral("10003652600Reminder:new"));
    ModalSeam::queueMessageAnswer();
    w.SaveSchedule();
    QCOMPARE(ModalSeam::shownMessages(), QStringList{QStringLiteral("Cannot create file ") + path});
    QVERIFY(dat.open(QIODevice::ReadOnly));
    QCOMPARE(dat.readAll(), QByteArray("09053652600Reminder:kept\r\n"));
    QCOMPARE(w.state().sched.ScheduleList.count(), 2);
}

void TestMainWindow::noticesFollowOneAnother()
{
    QFile dat(m_dir->path() + QStringLiteral("/horolux.dat"));
    QVERIFY(dat.open(QIODevice::WriteOnly));
    dat.write("garbage line\r\n");
    dat.close();
    FakePlatform p(m_dir->path() + QStringLiteral("/"));
    p.registry.notUnderstood = true;
    THoroluxMain w(p.services);
    QStringList shown;
    for (int i = 0; i < 60; ++i) {
        w.TimerTimer();
        if (shown.isEmpty() || shown.last() != w.dateLine())
            shown << w.dateLine();
    }
    QCOMPARE(shown.size(), 4);
    QCOMPARE(shown.mid(1, 2), (QStringList{QStringLiteral("1 schedule line set aside"),
                                           QStringLiteral("Settings file not understood")}));
    QVERIFY(shown.last().contains(QStringLiteral("2000")));
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
