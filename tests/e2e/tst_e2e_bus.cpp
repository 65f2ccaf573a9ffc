#include "E2eRig.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTest>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

// A bus that takes connections and never answers, as a stuck bus daemon does: a listening
// socket that nobody serves. Its descriptor, -1 when it could not be made.
int silentBus(const QString& path)
{
    sockaddr_un a{};
    a.sun_family = AF_UNIX;
    qstrncpy(a.sun_path, QFile::encodeName(path).constData(), sizeof a.sun_path);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0 && ::listen(fd, 64) == 0)
        return fd;
    ::close(fd);
    return -1;
}

// The longest time the face showed one picture while it was watched for `watchMs`.
qint64 longestPause(E2eRig& rig, const QRect& face, int watchMs)
{
    QElapsedTimer watched;
    watched.start();
    QImage shown;
    qint64 since = 0, longest = 0;
    while (watched.elapsed() < watchMs) {
        const QImage now = rig.screenshot().copy(face);
        if (now != shown) {
            longest = qMax(longest, watched.elapsed() - since);
            since = watched.elapsed();
            shown = now;
        }
    }
    return qMax(longest, watched.elapsed() - since);
}

} // namespace

// The real clock on the test's own bus: a panel hidden by a click comes back when Show is called,
// and a reminder added over the bus is in the schedule file when the call returns.
class TestE2eBus : public QObject {
    Q_OBJECT
private slots:
    void silentBusHoldsNothing_data()
    {
        QTest::addColumn<QString>("variable");
        QTest::addColumn<QString>("said");
        // Settings asks the time service for its NTP state at once.
        QTest::newRow("system bus") << "DBUS_SYSTEM_BUS_ADDRESS" << QString();
        // Qt's accessibility bridge connects with the first accessible name.
        QTest::newRow("session bus") << "DBUS_SESSION_BUS_ADDRESS"
                                     << "horolux: the session bus does not answer; running "
                                        "without it (no accessibility, desktop notifications or "
                                        "reminders over the bus)\n";
    }
    // A bus that takes the connection and never answers costs the face at most one tick, from
    // the start through opening Settings, and the program still ends within 3 s of SIGTERM.
    void silentBusHoldsNothing()
    {
        QFETCH(QString, variable);
        QFETCH(QString, said);
        E2eRig rig;
        QVERIFY(rig.startX());
        const int bus = silentBus(rig.home() + "/silent-bus");
        QVERIFY(bus >= 0);
        auto closing = qScopeGuard([bus] { ::close(bus); });
        rig.setEnv(variable, "unix:path=" + rig.home() + "/silent-bus");
        QElapsedTimer started;
        started.start();
        QVERIFY(rig.startClock());
        const QString window = rig.waitForWindow(10000);
        QVERIFY(!window.isEmpty());
        qInfo("panel shown after %lld ms", started.elapsed());

        const QRect face = rig.geometry(window);
        rig.x("xdotool",
              {"mousemove", QString::number(face.center().x()), QString::number(face.center().y()),
               "click", "3", "sleep", "0.5", "key", "--delay", "30", "Down", "Return"});
        const qint64 pause = longestPause(rig, face, 6000);
        qInfo("longest pause of the face: %lld ms", pause);
        QVERIFY(pause < 2500);
        QVERIFY(E2eRig::pollUntil([&] { return !rig.visibleWindows("Settings").isEmpty(); }, 3000));

        QElapsedTimer ending;
        ending.start();
        QCOMPARE(rig.terminate(), 0);
        qInfo("ended %lld ms after SIGTERM", ending.elapsed());
        QVERIFY(ending.elapsed() < 3000);
        QCOMPARE(rig.clockOutput(), said);
    }
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
                                     "/Horolux"} +
                             method,
                         status);
        };
        QVERIFY(call({"org.horolux.Horolux.Show"}).startsWith("method return"));
        QVERIFY(E2eRig::pollUntil([&] { return shown() == 1; }, 10000));

        QCOMPARE(rig.terminate(), 0);
    }

    // A reminder that fired is snoozed by the ID it was listed with: the new item is in the file
    // once, survives a restart and fires ten (faked) minutes on.
    void snoozeFiresTenMinutesOn()
    {
        E2eRig rig;
        QVERIFY(rig.startX());
        QVERIFY(QDir().mkpath(QFileInfo(rig.schedulePath()).path()));
        QFile file(rig.schedulePath());
        QVERIFY(file.open(QIODevice::WriteOnly) &&
                file.write("14004636400Reminder:Stretch\r\n") > 0); // 2026-12-08 14:00
        file.close();
        QVERIFY(rig.startClock("2026-12-08 13:59:57"));
        QVERIFY2(
            E2eRig::pollUntil([&] { return rig.visibleWindows("Reminder").size() == 1; }, 15000),
            qPrintable(rig.clockOutput()));
        const auto snooze = [&](const QString& id, int* status = nullptr) {
            return rig.x("dbus-send",
                         {"--session", "--print-reply", "--dest=org.horolux.Horolux", "/Horolux",
                          "org.horolux.Horolux.Snooze", "string:" + id, "uint32:10"},
                         status);
        };
        QVERIFY(snooze("6932ac62").contains("51af5c67\t2026-12-08 14:10\tonce\treminder\tStretch"));
        QCOMPARE(rig.readFile(rig.schedulePath()), "14104636400Reminder:Stretch\r\n");
        int status = 0;
        snooze("51af5c67", &status); // listed, but it has not fired
        QCOMPARE(status, 1);
        QCOMPARE(rig.terminate(), 0);

        QVERIFY(rig.startClock("2026-12-08 14:09:57"));
        QVERIFY2(
            E2eRig::pollUntil([&] { return rig.visibleWindows("Reminder").size() == 1; }, 15000),
            qPrintable(rig.clockOutput()));
        QVERIFY(
            E2eRig::pollUntil([&] { return rig.readFile(rig.schedulePath()).isEmpty(); }, 5000));
        QCOMPARE(rig.terminate(), 0);
    }
};

QTEST_GUILESS_MAIN(TestE2eBus)
#include "tst_e2e_bus.moc"
