#include "E2eRig.h"

#include <QTest>

// The real clock on the test's own bus: a panel hidden by a click comes back when Show is called.
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
        QVERIFY(rig.x("dbus-send", {"--session", "--print-reply", "--dest=org.horolux.Horolux",
                                    "/Horolux", "org.horolux.Horolux.Show"})
                    .startsWith("method return"));
        QVERIFY(E2eRig::pollUntil([&] { return shown() == 1; }, 10000));
        QCOMPARE(rig.terminate(), 0);
    }
};

QTEST_GUILESS_MAIN(TestE2eBus)
#include "tst_e2e_bus.moc"
