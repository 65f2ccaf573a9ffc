#include "Loopback.h"
#include "compat/winsock/ESockError.h"
#include "compat/winsock/SocketApi.h"
#include "compat/winsock/TClientSocket.h"
#include "doubles/CatchingApplication.h"
#include "doubles/FakeSocketApi.h"
#include "platform/linux/LinuxSocketApi.h"

#include <QSocketNotifier>
#include <QtTest>

#include <arpa/inet.h>
#include <memory>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

namespace {

// A TCP server on 127.0.0.1 with an ephemeral port. serve() accepts every connection and sends
// it the greeting.
class Listener {
public:
    explicit Listener(int backlog = 8)
    {
        m_fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in a = loopback(0);
        ::bind(m_fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
        ::listen(m_fd, backlog);
        socklen_t length = sizeof a;
        ::getsockname(m_fd, reinterpret_cast<sockaddr*>(&a), &length);
        port = ntohs(a.sin_port);
    }
    ~Listener()
    {
        m_notifier.reset();
        for (int fd : accepted)
            ::close(fd);
        ::close(m_fd);
    }
    void serve(const QByteArray& greeting)
    {
        m_notifier = std::make_unique<QSocketNotifier>(m_fd, QSocketNotifier::Read);
        QObject::connect(m_notifier.get(), &QSocketNotifier::activated, [this, greeting] {
            const int fd = ::accept4(m_fd, nullptr, nullptr, SOCK_CLOEXEC);
            if (fd < 0)
                return;
            accepted.push_back(fd);
            if (!greeting.isEmpty())
                ::send(fd, greeting.constData(), greeting.size(), MSG_NOSIGNAL);
        });
    }
    quint16 port = 0;
    std::vector<int> accepted;

private:
    int m_fd = -1;
    std::unique_ptr<QSocketNotifier> m_notifier;
};

// Records the events of a client socket as short lines.
struct Recorder {
    QStringList log;
    void attach(TClientSocket& client)
    {
        client.OnInfo = [this](QObject*, TSockInfo code, TSocketBase*) {
            log << QString("info %1").arg(int(code));
        };
        client.OnConnect = [this](QObject*, TSocketBase* s) {
            log << (s->Connected() ? "connect" : "connect failed");
        };
        client.OnTimeOut = [this](QObject*, TSocketBase*) { log << "timeout"; };
        client.OnDisconnect = [this](QObject*, TSocketBase*) { log << "disconnect"; };
    }
};

} // namespace

class TstClientSocket : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void connectAndRead_data();
    void connectAndRead();
    void refusedConnection();
    void connectTimesOut();
    void notificationDuringLookupIsDeferred();
    void reentrantOpenDuringLookupIsRefused();
    void hostLookupFailures_data();
    void hostLookupFailures();
    void portAndProtocol_data();
    void portAndProtocol();
    void addressKinds_data();
    void addressKinds();
    void openWhileConnectedOrPending();
    void closeDrainsThroughOnRead();
    void quitEndsAWaitWithoutTimeOut();
    void handlerExceptionIsReported();
    void socketLayerLifetime();

private:
    std::unique_ptr<LinuxSocketApi> m_real;
    std::unique_ptr<FakeSocketApi> m_api;
};

void TstClientSocket::init()
{
    m_real = std::make_unique<LinuxSocketApi>();
    m_api = std::make_unique<FakeSocketApi>(m_real.get());
    InstallSocketApi(m_api.get());
    CatchingApplication::instance()->errors.clear();
}

void TstClientSocket::cleanup()
{
    QCOMPARE(TClientSocket::SocketLayerStarted(), false);
    InstallSocketApi(nullptr);
    m_api.reset();
    m_real.reset();
}

void TstClientSocket::connectAndRead_data()
{
    QTest::addColumn<QString>("address");
    QTest::newRow("dotted") << "127.0.0.1";
    QTest::newRow("host name") << "localhost";
}

void TstClientSocket::connectAndRead()
{
    QFETCH(QString, address);
    Listener server;
    server.serve("TIME");
    TClientSocket client;
    Recorder rec;
    rec.attach(client);
    QByteArray got;
    QString peer;
    client.OnConnect = [&](QObject*, TSocketBase* s) {
        rec.log << (s->Connected() ? "connect" : "connect failed");
        peer = client.PeerAddressText(s);
    };
    client.OnRead = [&](QObject* sender, TSocketBase* s) {
        QCOMPARE(sender, &client);
        char buffer[16];
        const int n = s->Read(buffer, sizeof buffer);
        got.append(buffer, n);
    };
    client.setPort(QString::number(server.port));
    client.setAddress(address);
    client.Open();
    QCOMPARE(rec.log, QStringList({"info 1", "info 2"}));
    QCOMPARE(client.HostAddress(), "127.0.0.1");
    QTRY_COMPARE(got, QByteArray("TIME"));
    QCOMPARE(rec.log.mid(0, 5), QStringList({"info 1", "info 2", "info 3", "connect", "info 5"}));
    QCOMPARE(peer, "127.0.0.1");
    QVERIFY(client.Socket()->Connected());
    QCOMPARE(client.Socket()->LastError(), 0);

    client.Close();
    QCOMPARE(rec.log.last(), "info 7");
    QVERIFY(!client.Socket()->Connected());
    QCOMPARE(client.Socket()->Handle(), -1);
    try {
        client.Close();
        QFAIL("a closed socket closed again");
    } catch (const ESockError& e) {
        QCOMPARE(e.message(), "Socket not open");
    }
    QVERIFY(CatchingApplication::instance()->errors.isEmpty());
}

void TstClientSocket::refusedConnection()
{
    TClientSocket client;
    Recorder rec;
    rec.attach(client);
    int lastError = 0;
    QString peer;
    client.OnConnect = [&](QObject*, TSocketBase* s) {
        rec.log << (s->Connected() ? "connect" : "connect failed");
        lastError = s->LastError();
        peer = client.PeerAddressText(s);
    };
    client.setPort(QString::number(closedPort()));
    client.setAddress("127.0.0.1");
    client.Open();
    QTRY_COMPARE(rec.log, QStringList({"info 1", "info 2", "connect failed"}));
    QCOMPARE(lastError, 10061);
    QCOMPARE(peer, "?");
}

// The server's queue is full and it never accepts, so the connect stays pending.
void TstClientSocket::connectTimesOut()
{
    Listener server(0);
    std::vector<int> fillers;
    for (int i = 0; i < 3; ++i) {
        const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        const sockaddr_in a = loopback(server.port);
        ::connect(fd, reinterpret_cast<const sockaddr*>(&a), sizeof a);
        fillers.push_back(fd);
    }
    QTest::qWait(100);

    TClientSocket client;
    Recorder rec;
    rec.attach(client);
    client.setPort(QString::number(server.port));
    client.setTimeOut(1);
    client.setAddress("127.0.0.1");
    client.Open();
    QTRY_COMPARE_WITH_TIMEOUT(rec.log, QStringList({"info 1", "info 2", "info 8", "timeout"}),
                              5000);
    QVERIFY(client.TimedOut());
    try {
        client.Close();
        QFAIL("closed a connection that never came");
    } catch (const ESockError& e) {
        QCOMPARE(e.message(), "Socket not open");
    }
    for (int fd : fillers)
        ::close(fd);
}

// A socket notification that arrives while a lookup is awaited waits for the end of the wait.
void TstClientSocket::notificationDuringLookupIsDeferred()
{
    Listener server;
    server.serve({});
    m_api->setHost("timehost", "127.0.0.1");
    m_api->setHoldLookups(true);
    TClientSocket client;
    Recorder rec;
    rec.attach(client);
    client.OnRead = [&](QObject*, TSocketBase*) { rec.log << "read"; };
    client.setPort(QString::number(server.port));
    client.setAddress("timehost");

    int depthDuringWait = -1;
    int queuedDuringWait = -1;
    QTimer::singleShot(20, [&] {
        QCoreApplication::postEvent(
            client.NotificationWindow(),
            new SocketMessageEvent(SockMsgNotify, 0, Wsa::makeSelectReply(Wsa::FdRead, 0)));
    });
    // The lookup is answered once the notification sits in the queue (or after two seconds).
    QElapsedTimer since;
    since.start();
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (TClientSocket::PendingNotificationCount() == 0 && since.elapsed() < 2000)
            return;
        poll.stop();
        depthDuringWait = TClientSocket::WaitDepth();
        queuedDuringWait = TClientSocket::PendingNotificationCount();
        rec.log << "released";
        m_api->releaseLookups();
    });
    poll.start(5);
    client.Open();
    QCOMPARE(depthDuringWait, 1);
    QCOMPARE(queuedDuringWait, 1);
    QCOMPARE(rec.log, QStringList({"info 1", "released", "info 2"}));
    QTRY_VERIFY(rec.log.contains("connect"));
    QCOMPARE(rec.log.indexOf("read"), 3);
    QCOMPARE(TClientSocket::PendingNotificationCount(), 0);
}

// A second Open from inside the first one's lookup wait must not free the socket the first
// is still connecting.
void TstClientSocket::reentrantOpenDuringLookupIsRefused()
{
    Listener server;
    server.serve({});
    m_api->setHost("timehost", "127.0.0.1");
    m_api->setHoldLookups(true);
    TClientSocket client;
    Recorder rec;
    rec.attach(client);
    client.setPort(QString::number(server.port));
    client.setAddress("timehost");
    QString refusal;
    QTimer::singleShot(20, [&] {
        try {
            client.Open();
        } catch (const ESockError& e) {
            refusal = e.message();
        }
        m_api->releaseLookups();
    });
    client.Open();
    QCOMPARE(refusal, "Socket Already opened");
    QTRY_VERIFY(rec.log.contains("connect"));
    QCOMPARE(m_api->hostLookups().size(), 1);
}

void TstClientSocket::hostLookupFailures_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<int>("startFailure");
    QTest::addColumn<bool>("hold");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("lookupsPassedOn");
    QTest::addColumn<QStringList>("events");
    QTest::newRow("unknown host") << "nowhere.invalid" << 0 << false
                                  << "Error 11001 (Host not found) finding address for host" << 1
                                  << QStringList{"info 1"};
    // Longer than the lookup takes: refused without a lookup, as not found.
    QTest::newRow("300 characters")
        << QString(300, u'h') << 0 << false
        << "Error 11001 (Host not found) finding address for host" << 0 << QStringList{"info 1"};
    QTest::newRow("lookup cannot start")
        << "timehost" << 10055 << false
        << "Error 10055 (No buffer space available) calling WSAAsyncGetHostByName" << 0
        << QStringList{"info 1"};
    QTest::newRow("no answer in time")
        << "timehost" << 0 << true << "Error 10060 (Connection timed out) finding address for host"
        << 1 << QStringList{"info 1", "info 8", "timeout"};
}

void TstClientSocket::hostLookupFailures()
{
    QFETCH(QString, address);
    QFETCH(int, startFailure);
    QFETCH(bool, hold);
    QFETCH(QString, message);
    QFETCH(int, lookupsPassedOn);
    QFETCH(QStringList, events);
    m_api->setHostError("nowhere.invalid", 11001);
    m_api->setHost("timehost", "127.0.0.1");
    m_api->setHoldLookups(hold);
    if (startFailure)
        m_api->failNext(FakeSocketApi::fnGetHostByName, startFailure);
    TClientSocket client;
    Recorder rec;
    rec.attach(client);
    client.setPort("37");
    client.setTimeOut(1);
    client.setAddress(address);
    QCOMPARE(client.Address().size(), qMin(address.size(), 255));
    try {
        client.Open();
        QFAIL("the lookup did not fail");
    } catch (const ESockError& e) {
        QCOMPARE(e.message(), message);
    }
    QCOMPARE(m_api->hostLookups().size(), lookupsPassedOn);
    QCOMPARE(rec.log, events);
    QCOMPARE(m_api->heldLookups(), 0); // a timed-out request is cancelled
}

void TstClientSocket::portAndProtocol_data()
{
    QTest::addColumn<QString>("protocol");
    QTest::addColumn<QString>("port");
    QTest::addColumn<QString>("protocolName");
    QTest::addColumn<int>("portNumber");
    QTest::addColumn<QString>("serviceName");
    QTest::newRow("service name") << "tcp"
                                  << "time"
                                  << "tcp" << 37 << "time";
    QTest::newRow("port number") << "tcp"
                                 << "37"
                                 << "tcp" << 37 << "time";
    QTest::newRow("-1 is a name") << "tcp"
                                  << "-1"
                                  << "tcp" << 0 << "-1";
    QTest::newRow("unknown service") << "tcp"
                                     << "no-such-service"
                                     << "tcp" << 0 << "no-such-service";
    QTest::newRow("port 1") << "tcp"
                            << "1"
                            << "tcp" << 1 << "tcpmux";
    QTest::newRow("kept to 16 bits") << "tcp"
                                     << "65573"
                                     << "tcp" << 37 << "time";
    QTest::newRow("protocol number") << "6"
                                     << "time"
                                     << "TCP" << 37 << "time";
    QTest::newRow("unknown protocol number") << "99"
                                             << "time"
                                             << "" << 37 << "time";
    QTest::newRow("udp") << "17"
                         << "37"
                         << "UDP" << 37 << "time";
}

void TstClientSocket::portAndProtocol()
{
    QFETCH(QString, protocol);
    QFETCH(QString, port);
    QFETCH(QString, protocolName);
    QFETCH(int, portNumber);
    QFETCH(QString, serviceName);
    TClientSocket client;
    client.setProtocol(protocol);
    client.setPort(port);
    QCOMPARE(client.ProtocolName(), protocolName);
    QCOMPARE(int(client.PortNumber()), portNumber);
    QCOMPARE(client.ServiceName(), serviceName);
    QCOMPARE(client.Port(), port);
}

void TstClientSocket::addressKinds_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("hostName");
    QTest::addColumn<QString>("hostAddress");
    QTest::newRow("dotted") << "192.0.2.7"
                            << ""
                            << "192.0.2.7";
    QTest::newRow("any") << "0.0.0.0"
                         << ""
                         << "0.0.0.0";
    QTest::newRow("broadcast reads as a name") << "255.255.255.255"
                                               << "255.255.255.255"
                                               << "";
    QTest::newRow("name") << "time.example"
                          << "time.example"
                          << "";
    QTest::newRow("empty") << ""
                           << ""
                           << "";
}

void TstClientSocket::addressKinds()
{
    QFETCH(QString, address);
    QFETCH(QString, hostName);
    QFETCH(QString, hostAddress);
    TClientSocket client;
    QCOMPARE(client.HostAddress(), "0.0.0.0");
    client.setAddress(address);
    QCOMPARE(client.HostName(), hostName);
    QCOMPARE(client.HostAddress(), hostAddress);
}

void TstClientSocket::openWhileConnectedOrPending()
{
    Listener server;
    server.serve({});
    TClientSocket client;
    Recorder rec;
    rec.attach(client);
    client.setPort(QString::number(server.port));
    client.setAddress(QString());
    try {
        client.Open();
        QFAIL("opened without an address");
    } catch (const ESockError& e) {
        QCOMPARE(e.message(), "No address specified");
    }

    client.setAddress("127.0.0.1");
    m_api->setConnectNeverCompletes(true);
    client.Open();
    const int closedBefore = m_api->calls(FakeSocketApi::fnClosesocket);
    client.Open(); // the pending socket is freed, its handle closed
    QCOMPARE(m_api->calls(FakeSocketApi::fnClosesocket), closedBefore + 1);

    m_api->setConnectNeverCompletes(false);
    client.Open();
    QTRY_VERIFY(rec.log.contains("connect"));
    try {
        client.Open();
        QFAIL("opened twice");
    } catch (const ESockError& e) {
        QCOMPARE(e.message(), "Socket Already opened");
    }
    QVERIFY(client.Socket()->Connected());
}

void TstClientSocket::closeDrainsThroughOnRead()
{
    Listener server;
    server.serve("0123456789");
    TClientSocket client;
    Recorder rec;
    rec.attach(client);
    bool draining = false;
    QByteArray got;
    bool sawData = false;
    client.OnRead = [&](QObject*, TSocketBase* s) {
        sawData = true;
        if (!draining)
            return; // leave it waiting
        char buffer[3];
        got.append(buffer, s->Read(buffer, sizeof buffer));
    };
    client.setPort(QString::number(server.port));
    client.setAddress("127.0.0.1");
    client.Open();
    QTRY_VERIFY(sawData);
    draining = true;
    client.Close();
    QCOMPARE(got, QByteArray("0123456789"));
    QCOMPARE(rec.log.last(), "info 7");
    QVERIFY(CatchingApplication::instance()->errors.isEmpty());
}

// Quitting the application while a lookup without time-out is awaited ends the wait.
void TstClientSocket::quitEndsAWaitWithoutTimeOut()
{
    m_api->setHost("timehost", "127.0.0.1");
    m_api->setHoldLookups(true);
    TClientSocket client;
    client.setPort("37");
    client.setAddress("timehost");
    QString message;
    QTimer::singleShot(0, [&] {
        try {
            client.Open();
        } catch (const ESockError& e) {
            message = e.message();
        }
    });
    QTimer::singleShot(100, [] { QCoreApplication::quit(); });
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [] { QCoreApplication::exit(1); });
    watchdog.start(5000);
    QCOMPARE(QCoreApplication::exec(), 0);
    QCOMPARE(message, "Error 10060 (Connection timed out) finding address for host");
    QCOMPARE(m_api->heldLookups(), 0);
}

void TstClientSocket::handlerExceptionIsReported()
{
    TClientSocket client;
    client.OnConnect = [](QObject*, TSocketBase*) { throw std::runtime_error("handler failed"); };
    client.setPort(QString::number(closedPort()));
    client.setAddress("127.0.0.1");
    client.Open();
    QTRY_COMPARE(CatchingApplication::instance()->errors, QStringList{"handler failed"});
    // Still usable.
    Listener server;
    server.serve({});
    bool connected = false;
    client.OnConnect = [&](QObject*, TSocketBase* s) { connected = s->Connected(); };
    client.setPort(QString::number(server.port));
    client.Open();
    QTRY_VERIFY(connected);
}

void TstClientSocket::socketLayerLifetime()
{
    {
        TClientSocket first;
        QVERIFY(TClientSocket::SocketLayerStarted());
        {
            TClientSocket second;
        }
        QVERIFY(TClientSocket::SocketLayerStarted());
    }
    QVERIFY(!TClientSocket::SocketLayerStarted());
    QCOMPARE(m_api->calls(FakeSocketApi::fnStartup), 1);
    QCOMPARE(m_api->calls(FakeSocketApi::fnCleanup), 1);

    m_api->failNext(FakeSocketApi::fnStartup, 10092);
    try {
        TClientSocket refused;
        QFAIL("started without the socket layer");
    } catch (const ESockError& e) {
        QCOMPARE(e.message(), "Error 10092 (WINSOCK DLL Version out of range) starting up WinSock");
    }
    QVERIFY(!TClientSocket::SocketLayerStarted());
    TClientSocket again;
    QVERIFY(TClientSocket::SocketLayerStarted());
}

int main(int argc, char** argv)
{
    CatchingApplication app(argc, argv);
    TstClientSocket test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_clientsocket.moc"
