#include "E2eRig.h"

#include <QFile>
#include <QTest>

// The real clock on the test's own bus: a panel hidden by a click comes back when Show is called,
// and a reminder added over the bus is in the schedule file when the call returns.
class TestE2eBus : public QObject {
    Q_OBJECT
private slots:
    void showThroughTheBus()
    {
        E2eRig rig;
        QVERIFY(rig.startX());
        rig.writeSettings("[HKEY_CURRENT_USER\\Software\\Quillfern\\Horolux\\1.0\\Settings]\n"
                          "\"Hide Interval\"=dword:0000003c\n");
        QVERIFY(rig.startClock());
        const QPoint panel = rig.geometry(rig.waitForWindow()).center();
        const auto shown = [&] { return rig.visibleWindows("Horolux").size(); };
        rig.x("xdotool",
              {"mousemove", QString::number(panel.x()), QString::number(panel.y()), "click", "1"});
        QVERIFY(E2eRig::pollUntil([&] { return shown() == 0; }, 10000));
        const auto call = [&](const QStringList& method, int* status = nullptr) {
            return rig.x("dbus-send",
                         QStringList{"--session", "--print-reply", "--dest=org.horolux.Horolux",
                                     "/Horolux"} + method, status);
        };
        QVERIFY(call({"org.horolux.Horolux.Show"}).startsWith("method return"));
        QVERIFY(E2eRig::pollUntil([&] { return shown() == 1; }, 10000));

        QVERIFY(call({"org.horolux.Horolux.AddReminder", "string:+2h", "string:Call the bus"})
                    .contains("Call the bus"));
        QFile schedule(rig.schedulePath());
        QVERIFY(schedule.open(QIODevice::ReadOnly));
        QVERIFY(schedule.readAll().contains("Reminder:Call the bus\r\n"));
        int status = 0;
        call({"org.horolux.Horolux.AddReminder", "string:25:00", "string:Never"}, &status);
        QCOMPARE(status, 1); // dbus-send's status for an error reply
        QCOMPARE(rig.terminate(), 0);
    }
};

QTEST_GUILESS_MAIN(TestE2eBus)
#include "tst_e2e_bus.moc"
