// The Linux clock setter, run only inside a helper process that may not set the clock, against
// a private bus with a stand-in time service. This process never sets the clock itself.
#include "platform/linux/BusProbe.h"
#include "platform/linux/LinuxClockSync.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

class TestClockSetter : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void cleanup();
    void service_data();
    void service();
    void noService();
    void noBus_data();
    void noBus();
    void busProbe_data();
    void busProbe();
    void secondRequestWhileWaiting();
    void quittingEndsTheWait();
    void syncState();

private:
    bool startService(const QString& mode);
    // Runs the probe without the right to set the clock; its output lines.
    QStringList probe(const QStringList& args, const QString& busAddress = {}, int waitMs = 20000);
    QStringList recorded() const;

    QTemporaryDir m_dir;
    QProcess m_bus;
    QProcess m_service;
    QString m_address;
    // Buses that take connections and never answer: the path m_dir/quiet-bus, the abstract
    // name m_dir/quiet-abstract.
    int m_quiet[2] = {-1, -1};
};

void TestClockSetter::initTestCase()
{
    QVERIFY(m_dir.isValid());
    const QString config = m_dir.filePath("bus.conf");
    QFile f(config);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(QString("<!DOCTYPE busconfig PUBLIC "
                    "\"-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN\"\n"
                    " \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
                    "<busconfig>\n"
                    "  <type>session</type>\n"
                    "  <listen>unix:path=%1</listen>\n"
                    "  <auth>EXTERNAL</auth>\n"
                    "  <policy context=\"default\">\n"
                    "    <allow send_destination=\"*\" eavesdrop=\"true\"/>\n"
                    "    <allow eavesdrop=\"true\"/>\n"
                    "    <allow own=\"*\"/>\n"
                    "  </policy>\n"
                    "</busconfig>\n")
                .arg(m_dir.filePath("bus"))
                .toUtf8());
    f.close();
    m_bus.start("dbus-daemon", {"--config-file=" + config, "--print-address", "--nofork"});
    QVERIFY2(m_bus.waitForStarted(5000), "dbus-daemon is not installed");
    QVERIFY(m_bus.waitForReadyRead(5000));
    m_address = QString::fromUtf8(m_bus.readLine()).trimmed();
    QVERIFY(m_address.startsWith("unix:"));

    for (int abstract : {0, 1}) {
        sockaddr_un quiet{};
        quiet.sun_family = AF_UNIX;
        const QByteArray name =
            QFile::encodeName(m_dir.filePath(abstract ? "quiet-abstract" : "quiet-bus"));
        qstrncpy(quiet.sun_path + abstract, name, sizeof quiet.sun_path - 1);
        m_quiet[abstract] = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        const auto size = socklen_t(offsetof(sockaddr_un, sun_path) + name.size() + 1);
        QVERIFY(::bind(m_quiet[abstract], reinterpret_cast<sockaddr*>(&quiet), size) == 0);
        QVERIFY(::listen(m_quiet[abstract], 16) == 0); // connections wait, never taken
    }
}

void TestClockSetter::cleanupTestCase()
{
    ::close(m_quiet[0]);
    ::close(m_quiet[1]);
    m_bus.terminate();
    m_bus.waitForFinished(5000);
}

void TestClockSetter::cleanup()
{
    if (m_service.state() != QProcess::NotRunning) {
        m_service.terminate();
        m_service.waitForFinished(5000);
    }
    QFile::remove(m_dir.filePath("requests"));
}

bool TestClockSetter::startService(const QString& mode)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DBUS_SYSTEM_BUS_ADDRESS", m_address);
    m_service.setProcessEnvironment(env);
    m_service.start(TIMEDATE_RECORDER_BIN, {mode, m_dir.filePath("requests")});
    if (!m_service.waitForReadyRead(5000))
        return false;
    return m_service.readLine().trimmed() == "ready";
}

QStringList TestClockSetter::probe(const QStringList& args, const QString& busAddress, int waitMs)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DBUS_SYSTEM_BUS_ADDRESS", busAddress.isEmpty() ? m_address : busAddress);
    QProcess p;
    p.setProcessEnvironment(env);
    QString program = CLOCKSETTER_PROBE_BIN;
    QStringList all = args;
    if (::geteuid() == 0) {
        all = QStringList{"--bounding-set=-sys_time", "--inh-caps=-sys_time", program} + all;
        program = "setpriv";
    }
    p.start(program, all);
    if (!p.waitForFinished(waitMs)) {
        p.kill();
        p.waitForFinished(3000);
        return {"still running"};
    }
    return QString::fromUtf8(p.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
}

QStringList TestClockSetter::recorded() const
{
    QFile f(m_dir.filePath("requests"));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromLatin1(f.readAll()).split('\n', Qt::SkipEmptyParts);
}

void TestClockSetter::service_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("output");
    QTest::addColumn<QStringList>("requests");

    // The service gets microseconds of UTC, absolute, interactive, with interactive
    // authorisation allowed on the message as well.
    QTest::newRow("utc accepted") << "accept"
                                  << QStringList{"utc", "2021", "3", "28", "1", "30", "0"}
                                  << "result=1 busy=0 reason="
                                  << QStringList{"1616895000000000 0 1 1"};
    // Local records go through the system's zone (London in tests).
    QTest::newRow("local winter") << "accept"
                                  << QStringList{"local", "2000", "1", "3", "9", "0", "0"}
                                  << "result=1 busy=0 reason="
                                  << QStringList{"946890000000000 0 1 1"};
    QTest::newRow("local summer") << "accept"
                                  << QStringList{"local", "2021", "7", "1", "12", "0", "0"}
                                  << "result=1 busy=0 reason="
                                  << QStringList{"1625137200000000 0 1 1"};
    // 01:40:01 happens twice as summer time ends: the one in the offset in force now (at
    // 01:40:30 BST or GMT, EDT or EST), so Set on the fields as filled keeps the hour.
    const auto twice = [](const char* day, const char* now, const char* zone) {
        const QStringList d = QString::fromLatin1(day).split('-');
        return QStringList{"local",
                           d[0],
                           d[1],
                           d[2],
                           "1",
                           "40",
                           "1",
                           "--now",
                           QLatin1String(now),
                           "--zone",
                           QLatin1String(zone)};
    };
    const char* const london = "Europe/London";
    const char* const newYork = "America/New_York";
    QTest::newRow("London, BST now")
        << "accept" << twice("2021-10-31", "1635640830", london)
        << "result=1 busy=0 reason=" << QStringList{"1635640801000000 0 1 1"};
    QTest::newRow("London, GMT now")
        << "accept" << twice("2021-10-31", "1635644430", london)
        << "result=1 busy=0 reason=" << QStringList{"1635644401000000 0 1 1"};
    QTest::newRow("New York, EDT now")
        << "accept" << twice("2021-11-07", "1636263630", newYork)
        << "result=1 busy=0 reason=" << QStringList{"1636263601000000 0 1 1"};
    QTest::newRow("New York, EST now")
        << "accept" << twice("2021-11-07", "1636267230", newYork)
        << "result=1 busy=0 reason=" << QStringList{"1636267201000000 0 1 1"};
    // 01:30 never happens as summer time starts: nothing reaches the service.
    QTest::newRow("local skipped")
        << "accept" << QStringList{"local", "2021", "3", "28", "1", "30", "0"}
        << "result=0 busy=0 reason=Time skipped by summer time" << QStringList{};
    QTest::newRow("before 1970") << "accept"
                                 << QStringList{"utc", "1969", "12", "31", "23", "59", "59"}
                                 << "result=0 busy=0 reason=Cannot set that date" << QStringList{};
    QTest::newRow("not authorised")
        << "deny" << QStringList{"utc", "2021", "3", "28", "1", "30", "0"}
        << "result=0 busy=0 reason=Not authorised to set the time"
        << QStringList{"1616895000000000 0 1 1"};
    QTest::newRow("synchronisation on")
        << "sync" << QStringList{"utc", "2021", "3", "28", "1", "30", "0"}
        << "result=0 busy=0 reason=Automatic time synchronization is on"
        << QStringList{"1616895000000000 0 1 1"};
    QTest::newRow("never answers")
        << "silent" << QStringList{"utc", "2021", "3", "28", "1", "30", "0", "--timeout", "500"}
        << "result=0 busy=0 reason=The time service did not answer"
        << QStringList{"1616895000000000 0 1 1"};
}

// A request reaches the service only because setting the clock directly was refused.
void TestClockSetter::service()
{
    QFETCH(QString, mode);
    QFETCH(QStringList, args);
    QFETCH(QString, output);
    QFETCH(QStringList, requests);
    QVERIFY(startService(mode));
    QCOMPARE(probe(args), QStringList{output});
    QCOMPARE(recorded(), requests);
}

void TestClockSetter::noService()
{
    QCOMPARE(probe({"utc", "2021", "3", "28", "1", "30", "0"}),
             QStringList{"result=0 busy=0 reason=No time service running"});
}

void TestClockSetter::noBus_data()
{
    QTest::addColumn<QString>("bus");
    QTest::addColumn<QString>("output");
    QTest::newRow("nobody there") << "no-such-bus"
                                  << "result=0 busy=0 reason=No system bus";
    // Given up on within seconds, not after the half minute allowed for a password.
    QTest::newRow("silent") << "quiet-bus"
                            << "result=0 busy=0 reason=The time service did not answer";
}

void TestClockSetter::noBus()
{
    QFETCH(QString, bus);
    QFETCH(QString, output);
    QCOMPARE(probe({"local", "2021", "3", "28", "9", "0", "0"}, "unix:path=" + m_dir.filePath(bus),
                   10000),
             QStringList{output});
}

void TestClockSetter::busProbe_data()
{
    QTest::addColumn<QString>("address"); // D: the test's folder, B: its bus
    QTest::addColumn<int>("verdict");
    using V = BusProbe::Verdict;
    QTest::newRow("answering") << "B" << int(V::Answers);
    QTest::newRow("nobody there") << "unix:path=D/none" << int(V::Absent);
    QTest::newRow("silent") << "unix:path=D/quiet-bus" << int(V::Silent);
    QTest::newRow("first entry absent") << "unix:path=D/none;B" << int(V::Answers);
    QTest::newRow("abstract") << "unix:abstract=D/quiet-abstract" << int(V::Silent);
    QTest::newRow("escaped name") << "unix:path=D/quiet%2dbus,guid=1" << int(V::Silent);
    QTest::newRow("tcp, not tried") << "tcp:host=127.0.0.1,port=9;B" << int(V::Unprobed);
    QTest::newRow("listening only") << "unix:tmpdir=D" << int(V::Unprobed);
}

// Both ways of asking come to the same verdict, the one that does not wait within its limit.
void TestClockSetter::busProbe()
{
    QFETCH(QString, address);
    QFETCH(int, verdict);
    address.replace("D/", m_dir.path() + "/").replace(QRegularExpression("B$"), m_address);
    QCOMPARE(int(BusProbe::await(address, 1000)), verdict);
    int asked = -1;
    QElapsedTimer waited;
    waited.start();
    BusProbe::ask(
        address, this, [&asked](BusProbe::Verdict v) { asked = int(v); }, 1000);
    QCOMPARE(asked, -1);
    QTRY_COMPARE_WITH_TIMEOUT(asked, verdict, 3000);
    QVERIFY(waited.elapsed() < 1500);
}

// While the first request waits for the user, a second one is refused at once and is never
// sent; the first still ends on its own terms.
void TestClockSetter::secondRequestWhileWaiting()
{
    QVERIFY(startService("silent"));
    QCOMPARE(probe({"utc", "2021", "3", "28", "1", "30", "0", "--timeout", "2000", "--again-after",
                    "300"}),
             (QStringList{"again=0 busy=1 reason=Already setting the clock",
                          "result=0 busy=0 reason=The time service did not answer"}));
    QCOMPARE(recorded(), QStringList{"1616895000000000 0 1 1"});
}

// Quitting does not wait out the half minute allowed for a password.
void TestClockSetter::quittingEndsTheWait()
{
    QVERIFY(startService("silent"));
    QCOMPARE(probe({"utc", "2021", "3", "28", "1", "30", "0", "--quit-after", "300"}, {}, 15000),
             QStringList{"result=0 busy=0 reason="});
}

// Only the NTP switch makes the service refuse a set, whatever NTPSynchronized says.
void TestClockSetter::syncState()
{
    qputenv("DBUS_SYSTEM_BUS_ADDRESS", m_address.toUtf8()); // this process never sets the clock
    LinuxClockSync sync;
    QList<int> states; // 0 unknown (no service), 1 off, 2 synchronising, 3 synchronised
    for (const char* ntp : {"", "0 1", "1 0", "1 1"}) {
        cleanup();
        qputenv("TIMEDATE_NTP", ntp);
        QVERIFY(!*ntp || startService("accept"));
        states << -1;
        sync.readState(this, [&states](IClockSync::State s) { states.last() = int(s); });
        QTRY_VERIFY(states.last() >= 0);
    }
    QCOMPARE(states, (QList<int>{0, 1, 2, 3}));
}

QTEST_GUILESS_MAIN(TestClockSetter)
#include "tst_clocksetter.moc"
