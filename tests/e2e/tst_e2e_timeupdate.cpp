#include "E2eRig.h"

#include <QDir>
#include <QElapsedTimer>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTcpSocket>
#include <QTest>
#include <QThread>

#include <unistd.h>

namespace {

const QByteArray SettingsKey = "[HKEY_CURRENT_USER\\Software\\Quillfern\\Horolux\\1.0\\Settings]\n";
const QPoint Window(10, 160); // the designed place
const QString LinkTitle = "Connected to Internet";

// Every step of a time update, as a line "time-step TEXT" on standard error.
void logTimeSteps(E2eRig& rig)
{
    rig.setEnv("QT_LOGGING_RULES", "horolux.timeupdate.info=true");
    rig.setEnv("QT_MESSAGE_PATTERN", "%{message}");
}

// A time server we did not write: xinetd's built-in "time" service on 127.0.0.1 port 37.
class TimeServer {
public:
    bool start(const QString& folder)
    {
        const QString conf = folder + "/xinetd.conf";
        QFile f(conf);
        if (!f.open(QIODevice::WriteOnly))
            return false;
        f.write("defaults\n{\n}\n"
                "service time\n{\n"
                "    type = INTERNAL\n    id = time-stream\n    socket_type = stream\n"
                "    protocol = tcp\n    user = root\n    wait = no\n"
                "    bind = 127.0.0.1\n    port = 37\n    disable = no\n}\n");
        f.close();
        m_process.setProcessChannelMode(QProcess::MergedChannels);
        m_process.start("xinetd", {"-f", conf, "-dontfork", "-pidfile", folder + "/xinetd.pid"});
        if (!m_process.waitForStarted(5000))
            return false;
        return E2eRig::pollUntil(
            [] {
                QTcpSocket s;
                s.connectToHost("127.0.0.1", 37);
                return s.waitForConnected(200) && s.waitForReadyRead(1000) &&
                       s.bytesAvailable() >= 4;
            },
            10000);
    }
    ~TimeServer()
    {
        m_process.terminate();
        if (!m_process.waitForFinished(3000))
            m_process.kill();
    }
    QString output() { return QString::fromLocal8Bit(m_process.readAll()); }

private:
    QProcess m_process;
};

} // namespace

class TestE2eTimeUpdate : public QObject {
    Q_OBJECT
private slots:
    void automaticUpdateAgainstXinetd();
    void ownPanelIsNoConnectionWindow();
};

// The panel's own title is the one looked for: the program's own windows never count, so no
// update starts at the minute change.
void TestE2eTimeUpdate::ownPanelIsNoConnectionWindow()
{
    E2eRig rig;
    QVERIFY(rig.startX());
    rig.writeSettings(SettingsKey + "\"AutoUpdate\"=dword:00000001\n\"InternetWin\"=\"Horolux\"\n"
                                    "\"HostName\"=\"127.0.0.1\"\n");
    logTimeSteps(rig);
    QVERIFY(rig.startClock("2000-01-03 08:59:57"));
    QVERIFY2(!rig.waitForWindow().isEmpty(), qPrintable(rig.clockOutput()));
    QThread::msleep(8000); // past the minute change
    QCOMPARE(rig.terminate(), 0);
    const QString output = rig.clockOutput();
    QVERIFY2(!output.contains("time-step"), qPrintable(output));
}

void TestE2eTimeUpdate::automaticUpdateAgainstXinetd()
{
    if (::geteuid() != 0)
        QSKIP("needs root: the time server listens on port 37");
    if (QStandardPaths::findExecutable("xinetd").isEmpty())
        QSKIP("xinetd is not installed (scripts/install-deps.sh installs it)");
    E2eRig rig;
    TimeServer server;
    QVERIFY2(server.start(rig.home()), qPrintable(server.output()));
    QVERIFY(rig.startX());
    QVERIFY(rig.showWindowTitled(LinkTitle));

    rig.writeSettings(SettingsKey + "\"AutoUpdate\"=dword:00000001\n\"HostName\"=\"127.0.0.1\"\n");
    logTimeSteps(rig);
    // The system's time service is out of reach and the right to set the clock is gone.
    rig.setEnv("DBUS_SYSTEM_BUS_ADDRESS", "unix:path=" + rig.home() + "/no-system-bus");
    // The update starts at the first minute change after start-up.
    QVERIFY(rig.startClock("2000-01-03 08:59:56"));
    QVERIFY2(!rig.waitForWindow().isEmpty(), qPrintable(rig.clockOutput()));

    QString output;
    auto steps = [&] {
        QCoreApplication::processEvents(); // the program's output is read by the event loop
        output += rig.clockOutput();
        QStringList found;
        for (const QString& line : output.split('\n'))
            if (line.startsWith("time-step "))
                found << line.mid(10);
        return found;
    };
    QVERIFY2(E2eRig::pollUntil([&] { return !steps().isEmpty(); }, 15000), qPrintable(output));

    // During the 2-second wait the face goes on: the colon blinks.
    bool lit = false, dark = false;
    QElapsedTimer waited;
    waited.start();
    while (steps().size() == 1 && waited.elapsed() < 5000) {
        const bool colon = E2eRig::colonLit(rig.screenshot(), Window);
        if (steps().size() == 1) // still waiting when the picture was taken
            (colon ? lit : dark) = true;
    }
    QVERIFY(lit && dark);

    QVERIFY2(E2eRig::pollUntil([&] { return steps().size() >= 5; }, 15000), qPrintable(output));
    const QStringList seen = steps();
    qInfo("date line: %s", qPrintable(seen.join(" | ")));
    QCOMPARE(seen.mid(0, 4), (QStringList{"Updating system time", "Looking up host ",
                                          "Connecting to 127.0.0.1", "Connected to 127.0.0.1"}));
    // The clock could not be set, so the report says how far off it is now.
    QVERIFY2(QRegularExpression("^Clock is (correct|[0-9]+ seconds (slow|fast))$")
                 .match(seen[4])
                 .hasMatch(),
             qPrintable(seen[4]));
    QCOMPARE(seen.size(), 5);
    QCOMPARE(rig.terminate(), 0);
}

QTEST_MAIN(TestE2eTimeUpdate)
#include "tst_e2e_timeupdate.moc"
