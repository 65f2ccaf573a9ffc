#include "doubles/FakeRegistry.h"
#include "rules/app/MainState.h"
#include "rules/app/Startup.h"
#include "rules/settings/SettingsStore.h"
#include "rules/settings/SettingsTable.h"

#include <QTest>

#include <climits>

class TestStartup : public QObject {
    Q_OBJECT
private slots:
    void greeting_data();
    void greeting();
    void nothingStoredGivesDefaults();
    void indefiniteHideForcesTrayIcon();
    void shutdownWritesOwnedValues();
    void panelStart_data();
    void panelStart();
};

void TestStartup::greeting_data()
{
    QTest::addColumn<int>("hour");
    QTest::addColumn<QString>("text");
    QTest::newRow("0") << 0 << "Good morning Ann";
    QTest::newRow("11") << 11 << "Good morning Ann";
    QTest::newRow("12") << 12 << "Good afternoon Ann";
    QTest::newRow("17") << 17 << "Good afternoon Ann";
    QTest::newRow("18") << 18 << "Good evening Ann";
    QTest::newRow("23") << 23 << "Good evening Ann";
}

void TestStartup::greeting()
{
    QFETCH(int, hour);
    QTEST(Startup::greeting(hour, "Ann"), "text");
    QVERIFY(Startup::greeting(hour, QString()).endsWith(' ')); // an empty name leaves the blank
}

void TestStartup::nothingStoredGivesDefaults()
{
    FakeRegistry reg;
    SettingsStore store(reg);
    MainState s;
    const Startup::WindowSettings w = Startup::readDisplaySettings(s, store);
    Startup::readSoundAndDriveSettings(s, store, "/");
    Startup::readTimeServerSettings(s, store);
    QCOMPARE(w.stayOnTop, false);
    QCOMPARE(w.taskIcon, false);
    QCOMPARE(s.settings.HideInterval, 4);
    QCOMPARE(s.settings.Use12Hour, false);
    QCOMPARE(s.settings.PageFaultMax, 100);
    QCOMPARE(s.settings.UpdateInterval, 1);
    QCOMPARE(s.tick.SampleCountdown, 1);
    QCOMPARE(Startup::readPriorityClass(store), 64);
    QCOMPARE(s.settings.MonitorDrive, "/");
    QCOMPARE(s.settings.ChimeMode, 0);
    QCOMPARE(s.settings.AlarmMode, 0);
    QVERIFY(s.settings.ChimeSound.isEmpty() && s.settings.AlarmSound.isEmpty());
    QCOMPARE(s.settings.AutoUpdate, false);
    QCOMPARE(s.settings.InternetWindowTitle, "Connected to Internet");
    QCOMPARE(s.settings.TimeServerHost, "ptbtime1.ptb.de");
    QCOMPARE(reg.writes, 0); // reading never creates anything
}

void TestStartup::indefiniteHideForcesTrayIcon()
{
    FakeRegistry reg;
    using namespace Settings;
    reg.put(SettingsSection, HideInterval.name, RegValue::fromDword(0xFFFFFFFF));
    reg.put(SettingsSection, TaskIcon.name, RegValue::fromDword(0));
    reg.put(SettingsSection, UpdateInterval.name, RegValue::fromDword(quint32(-7)));
    reg.put(SettingsSection, PFMax.name, RegValue::fromDword(20000));
    SettingsStore store(reg);
    MainState s;
    QVERIFY(Startup::readDisplaySettings(s, store).taskIcon);
    QCOMPARE(s.settings.HideInterval, -1);
    QCOMPARE(s.settings.UpdateInterval, -7); // taken as stored
    QCOMPARE(s.settings.PageFaultMax, 100);
}

void TestStartup::shutdownWritesOwnedValues()
{
    FakeRegistry reg;
    SettingsStore store(reg);
    Startup::writeOwnedSettings(store, 350, true, false);
    QCOMPARE(reg.get(Settings::SettingsSection, Settings::PFMax.name)->dword, 350u);
    QCOMPARE(reg.get(Settings::SettingsSection, Settings::StayOnTop.name)->dword, 1u);
    QCOMPARE(reg.get(Settings::SettingsSection, Settings::AutoUpdate.name)->dword, 0u);
}

// The panel is 187 x 53; the desktop 800 x 600 unless the row says otherwise.
void TestStartup::panelStart_data()
{
    QTest::addColumn<QPoint>("stored");
    QTest::addColumn<QSize>("desktop");
    QTest::addColumn<QPoint>("start");
    const QSize d(800, 600);
    QTest::newRow("inside") << QPoint(300, 200) << d << QPoint(300, 200);
    QTest::newRow("top -5000") << QPoint(10, -5000) << d << QPoint(10, 160);
    QTest::newRow("one row showing above") << QPoint(40, -52) << d << QPoint(40, -52);
    QTest::newRow("just above") << QPoint(40, -53) << d << QPoint(10, 160);
    QTest::newRow("one column showing left") << QPoint(-186, 40) << d << QPoint(-186, 40);
    QTest::newRow("just left") << QPoint(-187, 40) << d << QPoint(10, 160);
    QTest::newRow("last column right") << QPoint(799, 40) << d << QPoint(799, 40);
    QTest::newRow("just right") << QPoint(800, 40) << d << QPoint(10, 160);
    QTest::newRow("last row below") << QPoint(40, 599) << d << QPoint(40, 599);
    QTest::newRow("just below") << QPoint(40, 600) << d << QPoint(10, 160);
    QTest::newRow("corner off, both axes") << QPoint(-187, -53) << d << QPoint(10, 160);
    QTest::newRow("lowest values") << QPoint(INT_MIN, INT_MIN) << d << QPoint(10, 160);
    QTest::newRow("highest values") << QPoint(INT_MAX, INT_MAX) << d << QPoint(10, 160);
    // Two monitors side by side: the right one holds a panel the first alone would lose.
    QTest::newRow("second monitor") << QPoint(2500, 900) << QSize(3840, 1080) << QPoint(2500, 900);
}

void TestStartup::panelStart()
{
    QFETCH(QPoint, stored);
    QFETCH(QSize, desktop);
    QTEST(Startup::panelStart(stored, QSize(187, 53), desktop), "start");
}

QTEST_APPLESS_MAIN(TestStartup)
#include "tst_startup.moc"
