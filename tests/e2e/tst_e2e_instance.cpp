#include "E2eRig.h"

#include <QTemporaryDir>
#include <QTest>

namespace {
const QByteArray SettingsKey = "[HKEY_CURRENT_USER\\Software\\Quillfern\\Horolux\\1.0\\Settings]\n";
const QByteArray WindowKey = "[HKEY_CURRENT_USER\\Software\\Quillfern\\Horolux\\1.0\\Window]\n";

QStringList visiblePanels(E2eRig& rig)
{
    return rig.x("xdotool", {"search", "--onlyvisible", "--name", "^Horolux$"})
        .split('\n', Qt::SkipEmptyParts);
}
} // namespace

// Two real copies of the program: one per user, whatever the display.
class TestE2eInstance : public QObject {
    Q_OBJECT
private slots:
    void laterStartShowsTheFirstPanel();
    void killedCopyDoesNotBlockTheNext();
    void oneCopyPerUserAcrossDisplays();
    void minimisedPanelComesBack();
    void panelLostOffScreenComesBack_data();
    void panelLostOffScreenComesBack();

private:
    // Shared by every copy a test starts, as one user's HOME is: the lock lives there.
    QTemporaryDir m_home;
};

void TestE2eInstance::laterStartShowsTheFirstPanel()
{
    E2eRig rig;
    rig.setEnv("HOME", m_home.path());
    QVERIFY(rig.startX());
    rig.writeSettings(SettingsKey + "\"Hide Interval\"=dword:0000003c\n");
    QVERIFY(rig.startClock());
    QVERIFY2(!rig.waitForWindow().isEmpty(), qPrintable(rig.clockOutput()));

    // A click hides the panel for a minute.
    rig.x("xdotool", {"mousemove", "100", "186", "click", "1"});
    QTRY_VERIFY_WITH_TIMEOUT(visiblePanels(rig).isEmpty(), 10000);

    qint64 ms = 0;
    QCOMPARE(rig.runAnotherCopy(&ms), 0);
    qInfo("second start ended after %lld ms", ms);
    QVERIFY(!rig.waitForWindow(10000).isEmpty());
    QVERIFY(rig.clockRunning());
    QCOMPARE(visiblePanels(rig).size(), 1);
    QCOMPARE(rig.terminate(), 0);
}

void TestE2eInstance::killedCopyDoesNotBlockTheNext()
{
    E2eRig rig;
    rig.setEnv("HOME", m_home.path());
    QVERIFY(rig.startX());
    QVERIFY(rig.startClock());
    QVERIFY(!rig.waitForWindow().isEmpty());
    QVERIFY(rig.killHard());

    QVERIFY(rig.startClock());
    QVERIFY2(!rig.waitForWindow().isEmpty(), qPrintable(rig.clockOutput()));
    QVERIFY(rig.clockRunning());
    // And the new copy holds the lock in its turn.
    QCOMPARE(rig.runAnotherCopy(), 0);
    QVERIFY(rig.clockRunning());
    QCOMPARE(rig.terminate(), 0);
}

// Two copies on two displays would both fire every item and overwrite each other's saves.
void TestE2eInstance::oneCopyPerUserAcrossDisplays()
{
    E2eRig one;
    E2eRig two;
    for (E2eRig* rig : {&one, &two}) {
        rig->setEnv("HOME", m_home.path());
        QVERIFY(rig->startX());
    }
    QVERIFY(one.startClock());
    QVERIFY(!one.waitForWindow().isEmpty());
    QVERIFY(two.startClock());
    QTRY_VERIFY_WITH_TIMEOUT(!two.clockRunning(), 20000);
    QCOMPARE(two.clockExitCode(), 0);
    QCOMPARE(two.clockOutput(),
             "horolux: already running for this user on display " + one.display() + "\n");
    QCOMPARE(one.terminate(), 0);
}

// Openbox minimises the panel together with a dialog of ours; a later start must bring it back.
void TestE2eInstance::minimisedPanelComesBack()
{
    E2eRig rig;
    QVERIFY(rig.startX());
    QVERIFY(rig.startWindowManager());
    QVERIFY(rig.startClock());
    const QString w = rig.waitForWindow();
    QVERIFY(!w.isEmpty());
    const auto mapped = [&] {
        return rig.x("xwininfo", {"-id", w}).contains("Map State: IsViewable") &&
               !rig.property(w, "_NET_WM_STATE").contains("_NET_WM_STATE_HIDDEN");
    };
    rig.x("xdotool", {"windowminimize", w});
    QVERIFY(E2eRig::pollUntil([&] { return !mapped(); }, 10000));
    QCOMPARE(rig.runAnotherCopy(), 0);
    QVERIFY(E2eRig::pollUntil(mapped, 10000));
    QCOMPARE(rig.terminate(), 0);
}

// The stored position as written in the file, where the panel shows on an 800 x 600 screen,
// and what is saved at exit.
void TestE2eInstance::panelLostOffScreenComesBack_data()
{
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<QPoint>("shown");
    QTest::addColumn<QByteArray>("saved");
    QTest::newRow("top -5000") << QByteArray("\"Top\"=dword:ffffec78\n\"Left\"=dword:0000012c\n")
                               << QPoint(10, 160)
                               << QByteArray("\"Top\"=dword:000000a0\n\"Left\"=dword:0000000a");
    QTest::newRow("partly off stays")
        << QByteArray("\"Top\"=dword:00000064\n\"Left\"=dword:ffffffce\n") << QPoint(-50, 100)
        << QByteArray("\"Top\"=dword:00000064\n\"Left\"=dword:ffffffce");
}

void TestE2eInstance::panelLostOffScreenComesBack()
{
    QFETCH(QByteArray, stored);
    QFETCH(QPoint, shown);
    QFETCH(QByteArray, saved);
    E2eRig rig;
    rig.setEnv("HOME", m_home.path());
    QVERIFY(rig.startX());
    rig.writeSettings(WindowKey + stored);
    QVERIFY(rig.startClock());
    const QString w = rig.waitForWindow();
    QVERIFY(!w.isEmpty());
    QCOMPARE(rig.geometry(w).topLeft(), shown);
    QCOMPARE(rig.terminate(), 0);
    const QByteArray file = rig.readFile(rig.settingsPath());
    QVERIFY2(file.contains(saved), file.constData());
}

QTEST_MAIN(TestE2eInstance)
#include "tst_e2e_instance.moc"
