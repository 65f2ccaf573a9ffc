#include "app/PanelController.h"
#include "doubles/DiskFiles.h"
#include "doubles/FakePlatform.h"
#include "platform/linux/LinuxClock.h"
#include "rules/settings/RegFile.h"
#include "rules/settings/RegFileRegistry.h"
#include "rules/settings/SettingsTable.h"
#include "windows/components/TBitmapDigits.h"
#include "windows/components/TTaskIcon.h"
#include "windows/ui/ModalSeam.h"
#include "windows/ui/TOptionsFrm.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QSlider>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

namespace {

// Runs `work` on the settings dialog once it is open, then ends it with the named button.
void whenOpen(std::function<void(TOptionsFrm&)> work, const char* endWith)
{
    QTimer::singleShot(0, [work, endWith] {
        auto* dialog = qobject_cast<TOptionsFrm*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        work(*dialog);
        dialog->findChild<QAbstractButton*>(QLatin1String(endWith))->click();
    });
}

void click(TOptionsFrm& f, const char* name)
{
    f.findChild<QAbstractButton*>(QLatin1String(name))->click();
}

} // namespace

class TstSettingsDialog : public QObject {
    Q_OBJECT
private slots:
    void init();
    void twelveHoursShowAtTheNextTick();
    void cancelLeavesEverythingAsItWas();
    void indefiniteHideBringsTheTrayIconBack();
    void tickingWhileOpenChangesNothingElse();
    void setByHandUsesTheDateOfTheClick();
    void refusedSetSaysWhyOnTheDateLine();
    void refusedPriorityIsNeitherStoredNorShown();
    void soundPathsKeepBytesThatAreNotUtf8();
    void configureChangesTheServerAtOnce();
    void internetSetStartsAnUpdateAtOnce();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TstSettingsDialog::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    ModalSeam::clearQueues();
    ModalSeam::shownMessages().clear();
}

void TstSettingsDialog::twelveHoursShowAtTheNextTick()
{
    FakePlatform p(m_dir->path() + "/");
    p.clock.current = QDateTime(QDate(2000, 1, 3), QTime(15, 10, 0));
    PanelController c(p.services);
    auto* hours = c.panel().findChild<TBitmapDigits*>("Hours");
    QCOMPARE(hours->Value(), 15);
    QAction* item = c.panel().popupMenu()->findChild<QAction*>("SettingsItem");
    QVERIFY(item->isEnabled());
    whenOpen([](TOptionsFrm& f) { click(f, "rb12hr"); }, "btnOK");
    item->trigger();
    QCOMPARE(hours->Value(), 15); // not before the tick
    p.clock.current = p.clock.current.addSecs(1);
    c.TimerTimer();
    QCOMPARE(hours->Value(), 3);
    QCOMPARE(p.registry.get("Settings", "12Hr Format")->dword, 1u);
}

void TstSettingsDialog::cancelLeavesEverythingAsItWas()
{
    FakePlatform p(m_dir->path() + "/");
    PanelController c(p.services);
    const auto before = p.registry.values;
    const int writes = p.registry.writes;
    const QList<int> classes = p.priority.classes;
    whenOpen(
        [](TOptionsFrm& f) {
            click(f, "rb12hr");
            click(f, "rbWavChime");
            click(f, "rbNormal");
            click(f, "cbTaskIcon");
            f.findChild<QSlider*>("tbHidePeriod")->setValue(-1);
        },
        "btnCancel");
    c.SettingsItemClick();
    QCOMPARE(p.registry.writes, writes);
    QCOMPARE(p.registry.values, before);
    QCOMPARE(p.priority.classes, classes);
    QCOMPARE(c.state().settings.ChimeMode, 0);
    QCOMPARE(c.state().settings.HideInterval, 4);
    QVERIFY(!c.taskIcon()->Active());
}

void TstSettingsDialog::indefiniteHideBringsTheTrayIconBack()
{
    FakePlatform p(m_dir->path() + "/");
    PanelController c(p.services);
    THoroluxMain& w = c.panel();
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    ModalSeam::queueMessageAnswer();
    whenOpen([](TOptionsFrm& f) { f.findChild<QSlider*>("tbHidePeriod")->setValue(-1); }, "btnOK");
    c.SettingsItemClick();
    QCOMPARE(ModalSeam::shownMessages(),
             QStringList{"Task Bar icon enabled because hide period was set to indefinite. (See "
                         "online help for explanation.)"});
    QVERIFY(c.taskIcon()->Active());
    QCOMPARE(p.registry.get("Settings", "TaskIcon")->dword, 1u);
    QCOMPARE(qint32(p.registry.get("Settings", "Hide Interval")->dword), -1);
    // A click hides the panel until the tray icon is clicked; ticks do not bring it back.
    QTest::mouseClick(w.findChild<QLabel*>("lbDate"), Qt::LeftButton);
    QVERIFY(!w.isVisible());
    for (int i = 0; i < 20; ++i) {
        p.clock.current = p.clock.current.addSecs(1);
        c.TimerTimer();
    }
    QVERIFY(!w.isVisible());
    c.TaskIconClick();
    QVERIFY(w.isVisible());
}

// The clock goes on while the dialog is open; what the dialog shows is what it was opened with.
void TstSettingsDialog::tickingWhileOpenChangesNothingElse()
{
    FakePlatform p(m_dir->path() + "/");
    p.clock.current = QDateTime(QDate(2000, 1, 3), QTime(9, 59, 58));
    PanelController c(p.services);
    auto* minutes = c.panel().findChild<TBitmapDigits*>("Mins");
    int secondsShown = -1;
    whenOpen(
        [&](TOptionsFrm& f) {
            p.clock.current = p.clock.current.addSecs(5);
            c.TimerTimer();
            QCOMPARE(minutes->Value(), 0);
            secondsShown = f.values().second;
        },
        "btnOK");
    c.SettingsItemClick();
    QCOMPARE(secondsShown, 58);
    QCOMPARE(c.state().settings.HideInterval, 4);
    QCOMPARE(p.registry.get("Settings", "Hide Interval")->dword, 4u);
}

// Left open across midnight, the dialog's "Set" takes the new day's date; an emptied field is 0.
void TstSettingsDialog::setByHandUsesTheDateOfTheClick()
{
    FakePlatform p(m_dir->path() + "/");
    p.clock.current = QDateTime(QDate(2000, 1, 3), QTime(23, 59, 50));
    PanelController c(p.services);
    whenOpen(
        [&](TOptionsFrm& f) {
            p.clock.current = QDateTime(QDate(2000, 1, 4), QTime(0, 0, 20));
            f.findChild<QSpinBox*>("seSec")->findChild<QLineEdit*>()->clear();
            click(f, "btnSet");
            // Still waiting for the system: a second click, or the Internet Set, is refused in
            // words.
            p.clockSetter.isBusy = true;
            for (const char* button : {"btnSet", "btnSetInternet"}) {
                c.panel().setDateLine(QString());
                click(f, button);
                QCOMPARE(c.panel().dateLine(), "Clock setting already in progress");
            }
        },
        "btnCancel");
    c.SettingsItemClick();
    QCOMPARE(p.clockSetter.calls.size(), 1);
    const FakeClockSetter::Call& call = p.clockSetter.calls.first();
    QVERIFY(call.local);
    const SystemTimeRecord& r = call.record;
    QCOMPARE(
        QList<int>({r.wYear, r.wMonth, r.wDay, r.wHour, r.wMinute, r.wSecond, r.wMilliseconds}),
        QList<int>({2000, 1, 4, 23, 59, 0, 0}));
    QVERIFY(ModalSeam::shownMessages().isEmpty());
}

void TstSettingsDialog::refusedSetSaysWhyOnTheDateLine()
{
    FakePlatform p(m_dir->path() + "/");
    p.clockSetter.result = false;
    p.clockSetter.reason = "Automatic time sync is on";
    PanelController c(p.services);
    THoroluxMain& w = c.panel();
    ModalSeam::queueMessageAnswer();
    whenOpen([](TOptionsFrm& f) { click(f, "btnSet"); }, "btnCancel");
    c.SettingsItemClick();
    QCOMPARE(ModalSeam::shownMessages(),
             QStringList{"You do not have the privilege needed to set the system time"});
    QCOMPARE(w.dateLine(), "Automatic time sync is on");
    QCOMPARE(c.state().tick.DateLineCountdown, 20);

    // Without a reason only the box speaks; the date line keeps what it showed.
    p.clockSetter.reason.clear();
    const QString before = w.dateLine();
    ModalSeam::queueMessageAnswer();
    whenOpen([](TOptionsFrm& f) { click(f, "btnSet"); }, "btnCancel");
    c.SettingsItemClick();
    QCOMPARE(ModalSeam::shownMessages().size(), 2);
    QCOMPARE(w.dateLine(), before);
}

// Idle to Normal without the right: the program stays idle, so idle stays stored (and is what
// the dialog shows next time), and the date line says why.
void TstSettingsDialog::refusedPriorityIsNeitherStoredNorShown()
{
    FakePlatform p(m_dir->path() + "/");
    PanelController c(p.services);
    p.priority.result = IProcessPriority::Result::NotPermitted;
    whenOpen([](TOptionsFrm& f) { click(f, "rbNormal"); }, "btnOK");
    c.SettingsItemClick();
    QCOMPARE(p.priority.classes, QList<int>({64, 32}));
    QCOMPARE(c.panel().dateLine(), "Priority not changed: not permitted");
    QVERIFY(!p.registry.get("Settings", "PriorityClass").has_value());
}

// A file name in a Latin-1 folder is no UTF-8, yet names the file: OK on a dialog whose Sounds
// page was not touched writes back the very bytes (it once wrote U+FFFD instead).
void TstSettingsDialog::soundPathsKeepBytesThatAreNotUtf8()
{
    const QString path = m_dir->filePath("settings.reg");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(
        "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Quillfern\\Horolux\\1.0\\Settings]\r\n"
        "\"ChimeSound\"=\"/snd/caf\xe9.wav\"\r\n");
    file.close();
    FakePlatform p(m_dir->path() + "/");
    RegFileRegistry registry(diskFiles(), path);
    p.services.registry = &registry;
    PanelController c(p.services);
    whenOpen([](TOptionsFrm&) {}, "btnOK");
    c.SettingsItemClick();
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    const QString key =
        QStringLiteral("HKEY_CURRENT_USER\\Software\\Quillfern\\Horolux\\1.0\\Settings");
    QVERIFY(RegFile::find(text, key, "Chime").has_value()); // the dialog did write
    QCOMPARE(RegFile::find(text, key, "ChimeSound").value().text, QByteArray("/snd/caf\xe9.wav"));
}

// "Configure" acts at once, even when the settings dialog is then cancelled.
void TstSettingsDialog::configureChangesTheServerAtOnce()
{
    FakePlatform p(m_dir->path() + "/");
    PanelController c(p.services);
    whenOpen(
        [](TOptionsFrm& f) {
            QTimer::singleShot(0, [] {
                QWidget* autoFrm = QApplication::activeModalWidget();
                QCOMPARE(autoFrm->windowTitle(), "Automatic Time Update");
                autoFrm->findChild<QComboBox*>("cbTimeSrv")->setEditText("Japan: 127.0.0.1");
                autoFrm->findChild<QAbstractButton*>("btnOK")->click();
            });
            click(f, "btnAuto");
        },
        "btnCancel");
    c.SettingsItemClick();
    QCOMPARE(c.state().settings.TimeServerHost, "127.0.0.1");
    QCOMPARE(p.registry.get("Settings", "HostName")->text, QByteArray("127.0.0.1"));
}

// The Internet "Set" starts an update while the dialog stays open; its steps go to the date line.
// No socket layer is installed here, so the update ends at once without any traffic.
void TstSettingsDialog::internetSetStartsAnUpdateAtOnce()
{
    FakePlatform p(m_dir->path() + "/");
    LinuxClock clock; // the update's two-second wait runs on a clock that moves
    p.services.clock = &clock;
    PanelController c(p.services);
    c.state().settings.TimeServerHost = "127.0.0.1";
    QStringList lines;
    bool stillOpen = false;
    whenOpen(
        [&](TOptionsFrm& f) {
            QTimer::singleShot(100, [&] { lines << c.panel().dateLine(); });
            QElapsedTimer waited;
            waited.start();
            click(f, "btnSetInternet");
            lines << QString::number(waited.elapsed() >= 1900);
            stillOpen = f.isVisible();
        },
        "btnCancel");
    c.SettingsItemClick();
    // The failure shows at once; the two-second wait that follows keeps events flowing.
    QCOMPARE(lines, QStringList({"Unable to create socket", "1"}));
    QVERIFY(stillOpen);
}

QTEST_MAIN(TstSettingsDialog)
#include "tst_settingsdialog.moc"
