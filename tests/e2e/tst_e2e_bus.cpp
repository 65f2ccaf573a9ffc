#include "E2eRig.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QTest>

// The real clock's service on a private session bus: the first copy alone owns the name, and a
// panel hidden by a click comes back when Show is called.
class TestE2eBus : public QObject {
    Q_OBJECT
private slots:
    void showThroughTheBus();
};

void TestE2eBus::showThroughTheBus()
{
    E2eRig rig;
    QVERIFY(rig.startX());
    QProcess bus;
    bus.start("dbus-daemon", {"--session", "--nofork", "--print-address=1"});
    QVERIFY(bus.waitForReadyRead(5000));
    const QString address = QString(bus.readLine()).trimmed();
    auto end = qScopeGuard([&] {
        if (rig.clockRunning()) // the rig's terminate() signals its own group once the clock ended
            rig.terminate();
        QDBusConnection::disconnectFromBus("test");
        bus.kill();
        bus.waitForFinished();
    });
    QDBusConnectionInterface* names = QDBusConnection::connectToBus(address, "test").interface();
    const QString name = "org.horolux.Horolux";
    rig.setEnv("DBUS_SESSION_BUS_ADDRESS", address);
    rig.writeSettings("[HKEY_CURRENT_USER\\Software\\Quillfern\\Horolux\\1.0\\Settings]\n"
                      "\"Hide Interval\"=dword:0000003c\n");
    QVERIFY(rig.startClock());
    const QRect panel = rig.geometry(rig.waitForWindow());
    QVERIFY(E2eRig::pollUntil([&] { return names->isServiceRegistered(name).value(); }, 10000));
    QCOMPARE(qint64(names->servicePid(name).value()), rig.clockPid());
    QCOMPARE(rig.runAnotherCopy(), 0);
    QCOMPARE(qint64(names->servicePid(name).value()), rig.clockPid());

    rig.x("xdotool", {"mousemove", QString::number(panel.center().x()),
                      QString::number(panel.center().y()), "click", "1"});
    QVERIFY(E2eRig::pollUntil([&] { return rig.visibleWindows("Horolux").isEmpty(); }, 10000));
    const QDBusMessage shown =
        QDBusConnection(QStringLiteral("test"))
            .call(QDBusMessage::createMethodCall(name, "/Horolux", name, "Show"));
    QCOMPARE(shown.type(), QDBusMessage::ReplyMessage);
    QVERIFY(E2eRig::pollUntil([&] { return rig.visibleWindows("Horolux").size() == 1; }, 10000));
    QCOMPARE(rig.terminate(), 0);
    QVERIFY(!names->isServiceRegistered(name).value());
}

// As in the AT-SPI test: Qt keeps objects of this test's own bus client until the process ends.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libQt6DBus.so\nleak:libQt6Core.so\n";
}

QTEST_GUILESS_MAIN(TestE2eBus)
#include "tst_e2e_bus.moc"
