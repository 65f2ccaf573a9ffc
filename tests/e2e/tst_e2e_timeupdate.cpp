#include "E2eRig.h"

#include <QDir>
#include <QElapsedTimer>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTcpServer>
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

// A time server of the test's own on 127.0.0.1 port 37: each connection gets the server's true
// time (the test's clock moved by `offsetMs`), or `fixed` bytes.
class OwnTimeServer : public QObject {
public:
    qint64 offsetMs = 0;
    QByteArray fixed;

    bool listen()
    {
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* s = m_server.nextPendingConnection()) {
                QByteArray bytes = fixed;
                if (bytes.isEmpty()) {
                    const quint32 v = quint32(trueMs() / 1000 + 2208988800LL);
                    const char raw[4] = {char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
                    bytes = QByteArray(raw, 4);
                }
                s->write(bytes);
                s->disconnectFromHost();
                connect(s, &QTcpSocket::disconnected, s, &QObject::deleteLater);
            }
        });
        return m_server.listen(QHostAddress("127.0.0.1"), 37);
    }
    qint64 trueMs() const { return QDateTime::currentMSecsSinceEpoch() + offsetMs; }

private:
    QTcpServer m_server;
};

// A private system bus with a stand-in for the system's time service, which records what it
// is asked to set and never touches the clock.
class TimeService {
public:
    bool start(const QString& folder)
    {
        m_record = folder + "/requests";
        QFile conf(folder + "/bus.conf");
        if (!conf.open(QIODevice::WriteOnly))
            return false;
        conf.write(QString("<!DOCTYPE busconfig PUBLIC "
                           "\"-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN\"\n"
                           " \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
                           "<busconfig><type>session</type><listen>unix:path=%1/bus</listen>"
                           "<auth>EXTERNAL</auth><policy context=\"default\">"
                           "<allow send_destination=\"*\" eavesdrop=\"true\"/>"
                           "<allow eavesdrop=\"true\"/><allow own=\"*\"/></policy>"
                           "</busconfig>\n")
                       .arg(folder)
                       .toUtf8());
        conf.close();
        m_bus.start("dbus-daemon",
                    {"--config-file=" + conf.fileName(), "--print-address", "--nofork"});
        if (!m_bus.waitForReadyRead(5000))
            return false;
        address = QString::fromUtf8(m_bus.readLine()).trimmed();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("DBUS_SYSTEM_BUS_ADDRESS", address);
        m_service.setProcessEnvironment(env);
        m_service.start(TIMEDATE_RECORDER_BIN, {"accept", m_record});
        return m_service.waitForReadyRead(5000) && m_service.readLine().trimmed() == "ready";
    }
    ~TimeService()
    {
        for (QProcess* p : {&m_service, &m_bus}) {
            p->terminate();
            if (!p->waitForFinished(3000))
                p->kill();
        }
    }
    // The times asked for since the last call (ms since 1970 UTC), each with the test's clock
    // when it was first seen.
    QList<QPair<qint64, qint64>> newRequests()
    {
        QFile f(m_record);
        QList<QPair<qint64, qint64>> found;
        if (!f.open(QIODevice::ReadOnly))
            return found;
        const QList<QByteArray> lines = f.readAll().split('\n');
        for (qsizetype i = m_seen; i < lines.size() && !lines[i].isEmpty(); ++i, ++m_seen)
            found.append({lines[i].split(' ').value(0).toLongLong() / 1000,
                          QDateTime::currentMSecsSinceEpoch()});
        return found;
    }
    QString address;

private:
    QProcess m_bus;
    QProcess m_service;
    QString m_record;
    qsizetype m_seen = 0;
};

// The date-line texts the program has logged so far.
class TimeSteps {
public:
    explicit TimeSteps(E2eRig& rig) : m_rig(rig) {}
    QStringList operator()()
    {
        QCoreApplication::processEvents(); // the program's output is read by the event loop
        m_output += m_rig.clockOutput();
        QStringList found;
        for (const QString& line : m_output.split('\n'))
            if (line.startsWith("time-step "))
                found << line.mid(10);
        return found;
    }

private:
    E2eRig& m_rig;
    QString m_output;
};

} // namespace

class TestE2eTimeUpdate : public QObject {
    Q_OBJECT
private slots:
    void automaticUpdateAgainstXinetd();
    void ownPanelIsNoConnectionWindow();
    void untrustedReplies_data();
    void untrustedReplies();
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

    TimeSteps steps(rig);
    QVERIFY2(E2eRig::pollUntil([&] { return !steps().isEmpty(); }, 15000),
             qPrintable(rig.clockOutput()));

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

    QVERIFY2(E2eRig::pollUntil([&] { return steps().size() >= 5; }, 15000),
             qPrintable(steps().join(" | ")));
    const QStringList seen = steps();
    qInfo("date line: %s", qPrintable(seen.join(" | ")));
    QCOMPARE(seen.mid(0, 4), (QStringList{"Updating system time", "Looking up host ",
                                          "Connecting to 127.0.0.1", "Connected to 127.0.0.1"}));
    // A clock 26 years out is not stepped unasked.
    QVERIFY2(QRegularExpression("^Server [0-9]+ d [0-9]+ h [0-9]+ min [0-9]+ s ahead, not set$")
                 .match(seen[4])
                 .hasMatch(),
             qPrintable(seen[4]));
    QCOMPARE(seen.size(), 5);
    QCOMPARE(rig.terminate(), 0);
}

void TestE2eTimeUpdate::untrustedReplies_data()
{
    QTest::addColumn<qint64>("clockOff");  // seconds the program's clock is from the true time
    QTest::addColumn<qint64>("serverOff"); // seconds the server is from the true time
    QTest::addColumn<QByteArray>("fixed"); // the server's bytes, when fixed
    QTest::addColumn<QString>("hand");     // "yes" or "no" to the Internet Set's question;
                                           // empty: the automatic update
    QTest::addColumn<QString>("report");   // the last date-line text, a pattern
    QTest::addColumn<bool>("sets");
    const qint64 day = 86400;
    // By hand on the machine's own clock: faketime's start is only good to a second. These
    // come first: a clock started without faketime right after one with it a year back did not
    // show its panel (not yet understood).
    QTest::newRow("correct server") << 0LL << 0LL << QByteArray() << "press"
                                    << "Clock is correct" << false;
    QTest::newRow("clock 5 s fast") << 0LL << -5LL << QByteArray() << "press"
                                    << "Clock was [456] seconds fast" << true;
    QTest::newRow("FF FF FF FF") << 0LL << 0LL << QByteArray(4, '\xFF') << ""
                                 << "Server \\d+ d \\d+ h \\d+ min \\d+ s ahead, not set" << false;
    QTest::newRow("9 years ahead") << 0LL << 9 * 365 * day << QByteArray() << ""
                                   << "Server 328[45] d .* ahead, not set" << false;
    QTest::newRow("clock 20 h slow, by hand") << -20 * 3600LL << 0LL << QByteArray() << "yes"
                                              << "Clock was (7199\\d|7200\\d) seconds slow" << true;
    QTest::newRow("clock a year slow, by hand")
        << -365 * day << 0LL << QByteArray() << "yes"
        << "Clock was (365 d 0 h 0 min \\d|364 d 23 h 59 min 5\\d) s slow" << true;
    QTest::newRow("past the limit, by hand, no")
        << 0LL << 2000LL << QByteArray() << "no"
        << "Server 33 min [12]\\d s ahead, not set" << false;
    QTest::newRow("past the limit, by hand, yes")
        << 2000LL << 0LL << QByteArray() << "yes"
        << "Clock was (199\\d|200\\d) seconds fast" << true;
    QTest::newRow("connection refused") << 0LL << 0LL << QByteArray() << ""
                                        << "Connection refused" << false;
}

// Whatever the program asks the time service to set is within 2 s of the server's true time,
// or nothing is asked: a junk reply, a clock on another day, a correct clock, the user's No.
void TestE2eTimeUpdate::untrustedReplies()
{
    QFETCH(qint64, clockOff);
    QFETCH(qint64, serverOff);
    QFETCH(QByteArray, fixed);
    QFETCH(QString, hand);
    QFETCH(QString, report);
    QFETCH(bool, sets);
    if (::geteuid() != 0)
        QSKIP("needs root: the time server listens on port 37");
    E2eRig rig;
    TimeService service;
    QVERIFY(service.start(rig.home()));
    OwnTimeServer server;
    server.fixed = fixed;
    const bool refused = report == QLatin1String("Connection refused");
    if (!refused)
        QVERIFY2(server.listen(), "port 37 is taken");
    QVERIFY(rig.startX());
    if (hand.isEmpty())
        QVERIFY(rig.showWindowTitled(LinkTitle));
    else
        QVERIFY(rig.startWindowManager()); // the question takes the keyboard
    rig.writeSettings(SettingsKey + (hand.isEmpty() ? "\"AutoUpdate\"=dword:00000001\n" : "") +
                      "\"HostName\"=\"127.0.0.1\"\n");
    logTimeSteps(rig);
    rig.setEnv("DBUS_SYSTEM_BUS_ADDRESS", service.address);
    // The clock starts 4 s before a minute change, where the automatic update starts.
    const QDateTime now = QDateTime::currentDateTime();
    QDateTime start = now.addSecs(clockOff);
    start = start.addSecs(55 - start.time().second()).addMSecs(-start.time().msec());
    const bool ownClock = hand == QLatin1String("press");
    // The true time is the program's clock less clockOff; the server is serverOff from it.
    server.offsetMs = (ownClock ? 0 : now.msecsTo(start)) + (serverOff - clockOff) * 1000;
    QVERIFY(rig.startClock(ownClock ? QString() : start.toString("yyyy-MM-dd HH:mm:ss")));
    const QString panel = rig.waitForWindow();
    QVERIFY2(!panel.isEmpty(), qPrintable(rig.clockOutput()));
    TimeSteps steps(rig);
    QList<QPair<qint64, qint64>> asked;
    const auto waitFor = [&](const std::function<bool()>& done, int ms) {
        return QTest::qWaitFor(
            [&] {
                asked += service.newRequests();
                return done();
            },
            ms);
    };

    if (!hand.isEmpty()) {
        // Settings from the menu, its Time page, and the Internet Set.
        const QRect face = rig.geometry(panel);
        rig.x("xdotool", {"mousemove", QString::number(face.center().x()),
                          QString::number(face.center().y()), "click", "3"});
        QTest::qWait(500);
        rig.x("xdotool", {"key", "--delay", "50", "Down", "Return"});
        QString dialog;
        QVERIFY(waitFor(
            [&] {
                dialog = rig.x("xdotool", {"getactivewindow"}).trimmed();
                return !dialog.isEmpty() && rig.geometry(dialog).size() == QSize(306, 253);
            },
            5000));
        rig.x("xdotool",
              {"key", "--delay", "50", "ctrl+Tab", "ctrl+Tab", "ctrl+Tab", "ctrl+Tab", "ctrl+Tab"});
        rig.x("xdotool", {"mousemove", "--window", dialog, "180", "150", "click", "1"});
        // The question comes once the server has answered.
        QString box;
        if (waitFor(
                [&] {
                    box = rig.x("xdotool", {"getactivewindow"}).trimmed();
                    return box != dialog && !box.isEmpty();
                },
                ownClock ? 3000 : 15000)) {
            QTest::qWait(1000); // the server's time moves on while the user reads
            rig.x("xdotool", {"key", hand == QLatin1String("yes") ? "y" : "n"});
        }
    }
    const bool reported = waitFor(
        [&] {
            const QStringList seen = steps();
            return !seen.isEmpty() &&
                   QRegularExpression("^(" + report + ")$").match(seen.last()).hasMatch();
        },
        hand.isEmpty() ? 20000 : 10000);
    waitFor([] { return false; }, 1000); // anything asked late
    qInfo("%s: %s; asked %lld", QTest::currentDataTag(), qPrintable(steps().join(" | ")),
          qint64(asked.size()));
    for (const auto& [setMs, seenMs] : asked) {
        const qint64 trueMs =
            fixed.isEmpty() ? seenMs + server.offsetMs : (0xFFFFFFFFLL - 2208988800LL) * 1000 + 500;
        qInfo(
            "asked %s, server's true time %s: %+lld ms",
            qPrintable(QDateTime::fromMSecsSinceEpoch(setMs, Qt::UTC).toString(Qt::ISODateWithMs)),
            qPrintable(QDateTime::fromMSecsSinceEpoch(trueMs, Qt::UTC).toString(Qt::ISODateWithMs)),
            setMs - trueMs);
        QVERIFY2(qAbs(setMs - trueMs) <= 2000, "set far from the server's time");
    }
    QCOMPARE(asked.size(), sets ? 1 : 0);
    QVERIFY2(reported, qPrintable(steps().join(" | ")));
    if (refused)
        QVERIFY2(steps().join('|').endsWith("Connected to ?|Connection refused"),
                 qPrintable(steps().join(" | ")));
    QCOMPARE(rig.terminate(), 0);
}

QTEST_MAIN(TestE2eTimeUpdate)
#include "tst_e2e_timeupdate.moc"
