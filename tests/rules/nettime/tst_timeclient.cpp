#include "compat/winsock/SocketApi.h"
#include "compat/winsock/TClientSocket.h"
#include "doubles/CatchingApplication.h"
#include "doubles/FakeClock.h"
#include "doubles/FakeClockSetter.h"
#include "doubles/FakeSocketApi.h"
#include "platform/linux/LinuxSocketApi.h"
#include "rules/nettime/TimeClient.h"
#include "rules/settings/SettingsInForce.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPointer>
#include <QSocketNotifier>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cctype>
#include <exception>
#include <functional>
#include <memory>
#include <vector>

namespace {

// What the application's handler would have shown in a box.
bool g_privateNames = false;
// The real socket layer, through a double that can fail a call or hold a lookup.
FakeSocketApi* g_sockets = nullptr;

const QByteArray Reply2030("\xF4\x87\x07\xF0", 4); // 2030-01-01 12:34:56 UTC

// The reading stays where the test puts it; the tick counter is real, for the 2-second wait.
class ReadingClock : public FakeClock {
public:
    ReadingClock() { m_real.start(); }
    quint32 tickCount() const override { return quint32(m_real.elapsed()); }

private:
    QElapsedTimer m_real;
};

class WatchingSetter : public FakeClockSetter {
public:
    bool SetSystemTime(const SystemTimeRecord& utc) override
    {
        if (onSet)
            onSet();
        return FakeClockSetter::SetSystemTime(utc);
    }
    std::function<void()> onSet;
};

// Sends the same bytes to every client: in chunks with a pause between, then closes or stays.
class ScriptedServer : public QObject {
public:
    QByteArray bytes;
    int chunk = 0; // 0: all at once
    int pauseMs = 0;
    bool closeAfter = true;
    bool reset = false; // closes with a reset rather than an orderly close
    qint64 sent = 0;

    quint16 listen()
    {
        connect(&m_server, &QTcpServer::newConnection, this, &ScriptedServer::serve);
        return m_server.listen(QHostAddress::LocalHost, 0) ? m_server.serverPort() : 0;
    }

private:
    void serve()
    {
        QPointer<QTcpSocket> s = m_server.nextPendingConnection();
        sendFrom(s, 0);
    }
    void sendFrom(QPointer<QTcpSocket> s, qsizetype at)
    {
        if (!s)
            return;
        if (at >= bytes.size()) {
            if (reset) {
                const linger now{1, 0};
                ::setsockopt(int(s->socketDescriptor()), SOL_SOCKET, SO_LINGER, &now, sizeof now);
                s->abort();
            } else if (closeAfter) {
                s->disconnectFromHost();
            }
            return;
        }
        const qsizetype n = chunk > 0 ? chunk : bytes.size();
        sent += s->write(bytes.mid(at, n));
        s->flush();
        QTimer::singleShot(pauseMs, this, [this, s, at, n] { sendFrom(s, at + n); });
    }
    QTcpServer m_server;
};

// A listening or bound socket of the test's own, on 127.0.0.1.
class RawSocket {
public:
    RawSocket()
    {
        m_fd = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(m_fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
    }
    ~RawSocket()
    {
        for (int fd : m_fillers)
            ::close(fd);
        ::close(m_fd);
    }
    quint16 port() const
    {
        sockaddr_in a{};
        socklen_t len = sizeof a;
        ::getsockname(m_fd, reinterpret_cast<sockaddr*>(&a), &len);
        return ntohs(a.sin_port);
    }
    // Listens but never accepts, with its queue already full: a connect stays pending.
    void listenFull()
    {
        ::listen(m_fd, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        a.sin_port = htons(port());
        for (int i = 0; i < 4; ++i) {
            const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
            ::connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
            m_fillers.push_back(fd);
        }
        QThread::msleep(200);
    }
    // From now on accepts every connection, sends it `bytes` and closes it.
    void serve(const QByteArray& bytes)
    {
        m_notifier = std::make_unique<QSocketNotifier>(m_fd, QSocketNotifier::Read);
        QObject::connect(m_notifier.get(), &QSocketNotifier::activated, [this, bytes] {
            const int fd = ::accept(m_fd, nullptr, nullptr);
            ::send(fd, bytes.constData(), size_t(bytes.size()), MSG_NOSIGNAL);
            ::close(fd);
        });
    }

private:
    int m_fd = -1;
    std::vector<int> m_fillers;
    std::unique_ptr<QSocketNotifier> m_notifier;
};

// Proves the event loop runs: the longest time between two ticks of a 50 ms timer.
class LoopWatch {
public:
    LoopWatch()
    {
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            maxGapMs = qMax(maxGapMs, m_since.restart());
            ++ticks;
        });
        m_timer.start(50);
        m_since.start();
    }
    qint64 maxGapMs = 0;
    int ticks = 0;

private:
    QTimer m_timer;
    QElapsedTimer m_since;
};

struct Rig {
    SettingsInForce settings;
    ReadingClock clock;
    WatchingSetter setter;
    TimeClient client{settings, clock, setter};
    QStringList steps;

    Rig(const QString& host, quint16 port)
    {
        settings.TimeServerHost = host;
        settings.AutoUpdate = true;
        if (port)
            client.setService(QString::number(port));
        QObject::connect(&client, &TimeClient::step, [this](const QString& t) { steps << t; });
        CatchingApplication::instance()->errors.clear();
    }
    // One whole update, with the event loop running until it has ended and a little after.
    bool update(LoopWatch& watch)
    {
        client.BeginTimeUpdate();
        const bool ended = QTest::qWaitFor([this] { return !client.updating(); }, 15000);
        QTest::qWait(300);
        return ended && watch.ticks > 0 && watch.maxGapMs < 1000;
    }
};

QStringList served(const QString& last)
{
    return {"Updating system time", "Looking up host ", "Connecting to 127.0.0.1",
            "Connected to 127.0.0.1", last};
}

QString describe(const SystemTimeRecord& r)
{
    return QString::asprintf("%04u-%02u-%02u %02u:%02u:%02u", r.wYear, r.wMonth, r.wDay, r.wHour,
                             r.wMinute, r.wSecond);
}

} // namespace

class TestTimeClient : public QObject {
    Q_OBJECT
private slots:
    void servedReply_data();
    void servedReply();
    void beyondUsual_data();
    void beyondUsual();
    void givenUp_data();
    void givenUp();
    void hostAndService_data();
    void hostAndService();
    void secondStartIgnoredAndSocketReused();
    void readFails();
    void socketLayerMissing();
    void quitEndsTheWait();
};

void TestTimeClient::servedReply_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("chunk");
    QTest::addColumn<QDateTime>("clock"); // UTC
    QTest::addColumn<bool>("accept");
    QTest::addColumn<QString>("set");
    QTest::addColumn<QString>("report");

    const QDateTime before(QDate(2030, 1, 1), QTime(12, 34, 51), Qt::UTC);
    // The reply is taken as the middle of its second: 5.5 s ahead.
    QTest::newRow("whole") << Reply2030 << 0 << before << true << "2030-01-01 12:34:56"
                           << "Clock was 6 seconds slow";
    // Four pieces 0.5 s apart, and surplus after them: set once, when the fourth has come, a
    // second on for half the round trip.
    QTest::newRow("one byte at a time")
        << Reply2030 + QByteArray(2, '\0') << 1 << before << true << "2030-01-01 12:34:57"
        << "Clock was 6 seconds slow";
    QTest::newRow("1 MB") << Reply2030 + QByteArray(1 << 20, 'x') << 0 << before << true
                          << "2030-01-01 12:34:56"
                          << "Clock was 6 seconds slow";
    QTest::newRow("FF FF FF FF") << QByteArray(4, '\xFF') << 0
                                 << QDateTime(QDate(2036, 2, 7), QTime(6, 28, 20, 200), Qt::UTC)
                                 << true << "2036-02-07 06:28:15"
                                 << "Clock was 5 seconds fast";
    QTest::newRow("setting refused") << Reply2030 << 0 << before << false << "2030-01-01 12:34:56"
                                     << "Clock is 6 seconds slow";
    // Replies that cannot be right set nothing.
    QTest::newRow("00 00 00 00") << QByteArray(4, '\0') << 0 << before << true << ""
                                 << "Invalid server time, not set";
    QTest::newRow("3 s a byte") << Reply2030 << 1 << before << true << ""
                                << "Reply too slow, clock not set";
}

void TestTimeClient::servedReply()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, chunk);
    QFETCH(QDateTime, clock);
    QFETCH(bool, accept);
    QFETCH(QString, set);
    QFETCH(QString, report);
    ScriptedServer server;
    server.bytes = bytes;
    server.chunk = chunk;
    server.pauseMs = qstrcmp(QTest::currentDataTag(), "3 s a byte") == 0 ? 3000 : chunk * 500;
    const quint16 port = server.listen();
    QVERIFY(port);
    Rig rig("127.0.0.1", port);
    rig.clock.current = clock;
    rig.setter.result = accept;
    QList<qint64> sentAtSet;
    rig.setter.onSet = [&] { sentAtSet << server.sent; };

    const int reads = g_sockets->calls(FakeSocketApi::fnRecv);
    LoopWatch watch;
    QVERIFY(rig.update(watch));
    QCOMPARE(rig.steps, served(report));
    if (bytes.size() > (1 << 20)) // the surplus is read and dropped before the close
        QVERIFY(g_sockets->calls(FakeSocketApi::fnRecv) - reads > 2);
    if (set.isEmpty()) {
        QCOMPARE(rig.setter.calls.size(), 0);
        QVERIFY(rig.settings.AutoUpdate); // tried again at the next minute
        return;
    }
    QCOMPARE(rig.setter.calls.size(), 1);
    QVERIFY(!rig.setter.calls[0].local);
    QCOMPARE(describe(rig.setter.calls[0].record), set);
    if (chunk) // set when the fourth byte has come, not before and not after the fifth
        QCOMPARE(sentAtSet.first(), qint64(4));
    QVERIFY(!rig.settings.AutoUpdate); // cleared also when the setting was refused
    QCOMPARE(CatchingApplication::instance()->errors, QStringList());
}

void TestTimeClient::beyondUsual_data()
{
    QTest::addColumn<QDateTime>("clock"); // UTC
    QTest::addColumn<QString>("host");
    QTest::addColumn<QString>("answer"); // by hand: the answer to the question; automatic: empty
    QTest::addColumn<bool>("busy");
    QTest::addColumn<QString>("reason"); // the setter's refusal, if any
    QTest::addColumn<QString>("set");
    QTest::addColumn<QStringList>("last"); // the steps after the connection
    QTest::addColumn<bool>("autoUpdate");
    const QDateTime slow20h(QDate(2029, 12, 31), QTime(16, 34, 56, 500), Qt::UTC);
    const QDateTime near(QDate(2030, 1, 1), QTime(12, 34, 51), Qt::UTC);
    const QStringList notSet{"Server 20 h 0 min 0 s ahead, not set"};
    QTest::newRow("20 h, by hand, no") << slow20h << "127.0.0.1"
                                       << "no" << false << ""
                                       << "" << notSet << false;
    // Set to the server's whole date, and its time moved on by as long as the question was open.
    QTest::newRow("20 h, by hand, yes in 1.5 s")
        << slow20h << "127.0.0.1"
        << "yes" << false << ""
        << "2030-01-01 12:34:58" << QStringList{"Clock was 72000 seconds slow"} << false;
    QTest::newRow("setter busy") << near << "127.0.0.1"
                                 << "" << true << ""
                                 << "" << QStringList{"Clock setting already in progress"} << false;
    QTest::newRow("refused with a reason")
        << near << "127.0.0.1"
        << "" << false << "Automatic time synchronization is on"
        << "2030-01-01 12:34:56"
        << QStringList{"Clock is 6 seconds slow", "Automatic time synchronization is on"} << false;
    QTest::newRow("IPv6 host") << near << "::1"
                               << "" << false << ""
                               << "" << QStringList{"IPv6 not supported, use IPv4"} << true;
}

void TestTimeClient::beyondUsual()
{
    QFETCH(QDateTime, clock);
    QFETCH(QString, host);
    QFETCH(QString, answer);
    QFETCH(bool, busy);
    QFETCH(QString, reason);
    QFETCH(QString, set);
    QFETCH(QStringList, last);
    QFETCH(bool, autoUpdate);
    ScriptedServer server;
    server.bytes = Reply2030;
    Rig rig(host, server.listen());
    rig.clock.current = clock;
    rig.setter.isBusy = busy;
    rig.setter.result = reason.isEmpty();
    rig.setter.reason = reason;
    QStringList asked;
    rig.client.setConfirm([&](const QString& text) {
        asked << text;
        QTest::qWait(1500);
        return answer == QLatin1String("yes");
    });
    LoopWatch watch;
    rig.client.BeginTimeUpdate(answer.isEmpty() ? TimeClient::Automatic : TimeClient::ByHand);
    QVERIFY(QTest::qWaitFor([&] { return !rig.client.updating(); }, 15000));
    if (!reason.isEmpty()) // the reason follows the report
        QVERIFY(QTest::qWaitFor([&] { return rig.steps.last() == reason; }, 6000));
    QCOMPARE(rig.steps.mid(rig.steps.size() - last.size()), last);
    QCOMPARE(asked.size(), answer.isEmpty() ? 0 : 1);
    QCOMPARE(rig.setter.calls.size(), set.isEmpty() ? 0 : 1);
    if (!set.isEmpty())
        QCOMPARE(describe(rig.setter.calls[0].record), set);
    QCOMPARE(rig.settings.AutoUpdate, autoUpdate);
    QVERIFY(watch.maxGapMs < 1000);
}

void TestTimeClient::givenUp_data()
{
    QTest::addColumn<QString>("server");
    QTest::addColumn<QStringList>("steps");
    const QStringList connecting{"Updating system time", "Looking up host ",
                                 "Connecting to 127.0.0.1"};
    QTest::newRow("refuses") << "refuses"
                             << connecting + QStringList{"Connected to ?", "Connection refused"};
    // Accepted late, after the time-out: that connection is never reported nor used.
    QTest::newRow("accepts late") << "accepts late"
                                  << connecting + QStringList{"Connection timed out"};
    // Fewer than four bytes: given up when the server closes, or after the time-out.
    const auto connected = [&](const QString& last) {
        return connecting + QStringList{"Connected to 127.0.0.1", last};
    };
    QTest::newRow("nothing, closes") << "nothing, closes" << connected("Connection closed by host");
    QTest::newRow("three bytes, stalls")
        << "three bytes, stalls" << connected("Connection timed out");
    QTest::newRow("three bytes, closes")
        << "three bytes, closes" << connected("Connection closed by host");
    QTest::newRow("three bytes, resets")
        << "three bytes, resets" << connected("Connection closed by host");
}

void TestTimeClient::givenUp()
{
    QFETCH(QString, server);
    QFETCH(QStringList, steps);
    RawSocket raw;
    ScriptedServer scripted;
    quint16 port = 0;
    if (server == QLatin1String("refuses")) {
        port = raw.port(); // bound, not listening
    } else if (server == QLatin1String("accepts late")) {
        raw.listenFull();
        port = raw.port();
    } else {
        scripted.bytes = server.startsWith("three") ? Reply2030.left(3) : QByteArray();
        scripted.closeAfter = !server.endsWith("stalls");
        scripted.reset = server.endsWith("resets");
        scripted.pauseMs = 300; // the close comes after the connection was reported
        port = scripted.listen();
    }
    QVERIFY(port);
    Rig rig("127.0.0.1", port);

    LoopWatch watch;
    QVERIFY(rig.update(watch));
    QCOMPARE(rig.steps, steps);
    QCOMPARE(rig.setter.calls.size(), 0);
    QVERIFY(rig.settings.AutoUpdate); // tried again at the next minute
    QCOMPARE(CatchingApplication::instance()->errors, QStringList());

    // The connection given up does not disturb the next update, also when the kernel would
    // have completed it during that one (its next SYN comes some 15 s after the first).
    if (server == QLatin1String("accepts late")) {
        raw.serve(Reply2030);
        QTest::qWait(3000);
        rig.clock.current = QDateTime(QDate(2030, 1, 1), QTime(12, 34, 51), Qt::UTC);
        rig.steps.clear();
        QVERIFY(rig.update(watch));
        QTest::qWait(2000);
        QCOMPARE(rig.steps, served("Clock was 6 seconds slow"));
        QCOMPARE(rig.setter.calls.size(), 1);
    }
    if (server == QLatin1String("three bytes, stalls")) {
        scripted.bytes = Reply2030;
        rig.clock.current = QDateTime(QDate(2030, 1, 1), QTime(12, 34, 51), Qt::UTC);
        rig.steps.clear();
        QVERIFY(rig.update(watch));
        QCOMPARE(rig.steps, served("Clock was 6 seconds slow"));
    }
}

void TestTimeClient::hostAndService_data()
{
    QTest::addColumn<QString>("host");
    QTest::addColumn<QStringList>("steps");
    const QString longName(300, 'h');
    QTest::newRow("300 characters")
        << longName
        << QStringList{"Updating system time", "Looking up host " + longName.left(255),
                       "Unable to connect to Internet"};
    QTest::newRow("unknown host") << "no-such-host.invalid"
                                  << QStringList{"Updating system time",
                                                 "Looking up host no-such-host.invalid",
                                                 "Unable to connect to Internet"};
    // Port 0 then: the connect fails at once or is reported failed.
    QTest::newRow("no time service")
        << "127.0.0.1"
        << QStringList{"Updating system time", "Looking up host ", "Connecting to 127.0.0.1"};
}

void TestTimeClient::hostAndService()
{
    // Names are looked up here, so they must never reach a real name server.
    QFETCH(QString, host);
    QFETCH(QStringList, steps);
    if (!g_privateNames)
        QSKIP("needs root, for name-service files of the test's own");
    Rig rig(host, 0);
    LoopWatch watch;
    QVERIFY(rig.update(watch));
    if (qstrcmp(QTest::currentDataTag(), "no time service") == 0) {
        // The failed connect says so at once, whichever way it was reported.
        QCOMPARE(rig.steps.mid(0, 3), steps);
        const QString last = rig.steps.join('|').mid(steps.join('|').size() + 1);
        QVERIFY2(last == QLatin1String("Connected to ?|Connection refused") ||
                     last == QLatin1String("Unable to connect to Internet"),
                 qPrintable(last));
    } else {
        QCOMPARE(rig.steps, steps);
    }
    QCOMPARE(rig.setter.calls.size(), 0);
    QCOMPARE(CatchingApplication::instance()->errors, QStringList());
}

void TestTimeClient::secondStartIgnoredAndSocketReused()
{
    ScriptedServer server;
    server.bytes = Reply2030;
    Rig rig("time.example", server.listen());
    rig.clock.current = QDateTime(QDate(2030, 1, 1), QTime(12, 34, 56), Qt::UTC);
    g_sockets->setHost("time.example", "127.0.0.1");
    g_sockets->setHoldLookups(true);
    // Starts from the tick while the first update waits its 2 seconds, then its host lookup.
    QTimer::singleShot(500, [&] { rig.client.BeginTimeUpdate(); });
    QTimer::singleShot(2500, [&] { rig.client.BeginTimeUpdate(); });
    QTimer::singleShot(3500, [&] {
        g_sockets->setHoldLookups(false);
        g_sockets->releaseLookups();
    });
    LoopWatch watch;
    QVERIFY(rig.update(watch));
    const QStringList steps{"Updating system time", "Looking up host time.example",
                            "Connecting to 127.0.0.1", "Connected to 127.0.0.1",
                            "Clock is correct"};
    QCOMPARE(rig.steps, steps);
    QCOMPARE(g_sockets->hostLookups().count("time.example"), 1);
    TClientSocket* first = rig.client.ClientSocket();

    rig.steps.clear();
    rig.settings.AutoUpdate = true;
    QVERIFY(rig.update(watch));
    QCOMPARE(rig.steps, steps);
    QCOMPARE(rig.client.ClientSocket(), first);
    QCOMPARE(rig.setter.calls.size(), 0); // a correct clock is left alone
    QVERIFY(!rig.settings.AutoUpdate);
}

// A failing read is the application's to report; the update ends there.
void TestTimeClient::readFails()
{
    ScriptedServer server;
    server.bytes = Reply2030;
    Rig rig("127.0.0.1", server.listen());
    g_sockets->failNext(FakeSocketApi::fnRecv, 10054);
    LoopWatch watch;
    QVERIFY(rig.update(watch));
    QCOMPARE(rig.steps, served("Connected to 127.0.0.1").mid(0, 4));
    QCOMPARE(CatchingApplication::instance()->errors.size(), 1);
    QCOMPARE(rig.setter.calls.size(), 0);
    QVERIFY(rig.settings.AutoUpdate);
}

// Without a socket layer no socket is made, and the next update tries again.
void TestTimeClient::socketLayerMissing()
{
    ScriptedServer server;
    server.bytes = Reply2030;
    Rig rig("127.0.0.1", server.listen());
    ISocketApi* api = SocketApi();
    InstallSocketApi(nullptr);
    LoopWatch watch;
    QVERIFY(rig.update(watch));
    InstallSocketApi(api);
    QCOMPARE(rig.steps, (QStringList{"Updating system time", "Unable to create socket"}));
    QVERIFY(!rig.client.ClientSocket());

    rig.steps.clear();
    rig.clock.current = QDateTime(QDate(2030, 1, 1), QTime(12, 34, 51), Qt::UTC);
    QVERIFY(rig.update(watch));
    QCOMPARE(rig.steps, served("Clock was 6 seconds slow"));
}

void TestTimeClient::quitEndsTheWait()
{
    Rig rig("127.0.0.1", 9);
    QElapsedTimer took;
    QTimer::singleShot(0, [&] {
        took.start();
        rig.client.BeginTimeUpdate();
        QCoreApplication::exit(0);
    });
    QTimer::singleShot(300, [] { QCoreApplication::exit(0); });
    QCoreApplication::exec();
    QVERIFY(took.elapsed() < 1500);
    QCOMPARE(rig.steps, QStringList{"Updating system time"});
    QVERIFY(!rig.client.updating());
}

namespace {

// Gives this process name-service files of its own, in a private mount namespace: no "time"
// service, and a name server on 127.0.0.1 that does not exist, so no name leaves the machine.
bool usePrivateNames()
{
    if (::geteuid() != 0 || ::unshare(CLONE_NEWNS) != 0 ||
        ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
        return false;
    QFile services("/etc/services");
    QByteArray kept;
    if (services.open(QIODevice::ReadOnly))
        for (const QByteArray& line : services.readAll().split('\n'))
            if (!line.startsWith("time") || (line.size() > 4 && !std::isspace(uchar(line[4]))))
                kept += line + '\n';
    const QString dir = qEnvironmentVariable("HOME") + "/names/";
    QDir().mkpath(dir);
    const QList<QPair<const char*, QByteArray>> files{
        {"services", kept},
        {"resolv.conf", "nameserver 127.0.0.1\n"},
        {"nsswitch.conf", "hosts: files dns\nservices: files\nprotocols: files\n"}};
    for (const auto& [name, text] : files) {
        QFile f(dir + QLatin1String(name));
        if (!f.open(QIODevice::WriteOnly) || f.write(text) != text.size())
            return false;
        f.close();
        const QByteArray source = QFile::encodeName(dir + QLatin1String(name)),
                         target = QByteArray("/etc/") + name;
        if (::mount(source.constData(), target.constData(), nullptr, MS_BIND, nullptr) != 0)
            return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    g_privateNames = usePrivateNames(); // first, before anything has read the name service
    CatchingApplication app(argc, argv);
    LinuxSocketApi linux;
    FakeSocketApi sockets(&linux);
    InstallSocketApi(&sockets);
    g_sockets = &sockets;
    TestTimeClient test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_timeclient.moc"
