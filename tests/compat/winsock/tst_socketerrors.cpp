#include "Loopback.h"
#include "compat/winsock/ESockError.h"
#include "compat/winsock/SocketApi.h"
#include "compat/winsock/SocketErrors.h"
#include "compat/winsock/TClientSocket.h"
#include "compat/winsock/TStreamSocket.h"
#include "doubles/FakeSocketApi.h"
#include "platform/linux/LinuxSocketApi.h"

#include <QtTest>

#include <arpa/inet.h>
#include <cerrno>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// A TCP server on 127.0.0.1 that takes one connection and can drop it with a reset.
class Server {
public:
    Server()
    {
        m_fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in a = loopback(0);
        ::bind(m_fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
        ::listen(m_fd, 1);
        socklen_t length = sizeof a;
        ::getsockname(m_fd, reinterpret_cast<sockaddr*>(&a), &length);
        port = ntohs(a.sin_port);
    }
    ~Server()
    {
        if (m_accepted >= 0)
            ::close(m_accepted);
        ::close(m_fd);
    }
    bool accept()
    {
        m_accepted = ::accept4(m_fd, nullptr, nullptr, SOCK_CLOEXEC);
        return m_accepted >= 0;
    }
    // Closing with a zero linger time sends a reset instead of the orderly end.
    void reset()
    {
        const linger now{1, 0};
        ::setsockopt(m_accepted, SOL_SOCKET, SO_LINGER, &now, sizeof now);
        ::close(m_accepted);
        m_accepted = -1;
    }
    quint16 port = 0;

private:
    int m_fd = -1;
    int m_accepted = -1;
};

// Keeps the select replies posted to it.
class Notifications : public QObject {
public:
    bool event(QEvent* e) override
    {
        if (e->type() != SocketMessageEvent::eventType())
            return QObject::event(e);
        replies << static_cast<SocketMessageEvent*>(e)->lParam;
        return true;
    }
    QList<qint32> replies;
};

// The real socket layer, started.
struct Loopback {
    Loopback() { api.WSAStartup(0x0101, nullptr); }
    ~Loopback() { api.WSACleanup(); }
    SockAddrIn address(quint16 port)
    {
        SockAddrIn a;
        a.sin_port = htons(port);
        a.sin_addr = htonl(INADDR_LOOPBACK);
        return a;
    }
    // A socket connected to the server, which has taken the connection; -1 if that failed.
    Wsa::Socket connected(Server& server)
    {
        Notifications sink;
        const Wsa::Socket s = api.socket(Wsa::AfInet, Wsa::SockStream, 0);
        const SockAddrIn to = address(server.port);
        api.WSAAsyncSelect(s, &sink, 1, Wsa::FdConnect);
        if (api.connect(s, &to, sizeof to) != 0 && api.WSAGetLastError() != 10035)
            return -1;
        if (!QTest::qWaitFor([&] { return !sink.replies.isEmpty(); }) ||
            sink.replies[0] != Wsa::makeSelectReply(Wsa::FdConnect, 0) || !server.accept())
            return -1;
        api.WSAAsyncSelect(s, nullptr, 0, 0);
        return s;
    }
    LinuxSocketApi api;
};

} // namespace

class TstSocketErrors : public QObject {
    Q_OBJECT
private slots:
    void errorText_data();
    void errorText();
    void message_data();
    void message();
    void raiseThrowsTheMessage();
    void checkResult_data();
    void checkResult();
    void systemErrorMessages_data();
    void systemErrorMessages();
    void lookupErrorMessages_data();
    void lookupErrorMessages();
    void refusedOnLoopback();
    void resetByPeer();
    void nothingToReadWouldBlock();
    void readBeforeConnecting();
};

void TstSocketErrors::errorText_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("text");
    // Texts the user reads as they are, odd spelling and all, and the fallback; the texts of the
    // common failures are checked below through the messages that carry them.
    const QList<QPair<int, const char*>> rows = {
        {20013, "Error %d (%s) listining"},
        {10037, "Operation, already in progress"},
        {0, ""},
        {10099, "Unknown Error 10099"},
        {20023, "Unknown Error 20023"},
        {10000, "Unknown Error 10000"},
    };
    for (const auto& [id, text] : rows)
        QTest::addRow("%d", id) << id << QString::fromLatin1(text);
}

void TstSocketErrors::errorText()
{
    QFETCH(int, id);
    QFETCH(QString, text);
    QCOMPARE(SocketErrorText(id), text);
}

void TstSocketErrors::message_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("messageId");
    QTest::addColumn<QString>("text");
    QTest::newRow("unknown code in a message")
        << 10099 << 20014 << "Error 10099 (Unknown Error 10099) recieving";
    QTest::newRow("no message: the code's text")
        << 10093 << 0 << "Successful WSASTARTUP not yet performed";
    QTest::newRow("no message, unknown code") << 12345 << 0 << "Unknown Error 12345";
    QTest::newRow("unknown message, whatever the code") << 10061 << 20023 << "Unknown Error 20023";
    QTest::newRow("message without placeholders") << 10061 << 20017 << "No address specified";
    QTest::newRow("code 0 in a message") << 0 << 20015 << "Error 0 () sending";
}

void TstSocketErrors::message()
{
    QFETCH(int, code);
    QFETCH(int, messageId);
    QFETCH(QString, text);
    QCOMPARE(SocketErrorMessage(code, messageId), text);
}

void TstSocketErrors::raiseThrowsTheMessage()
{
    try {
        RaiseSocketError(10061, 20008);
        QFAIL("nothing raised");
    } catch (const ESockError& e) {
        QCOMPARE(e.message(), "Error 10061 (Connection refused) connecting");
        QCOMPARE(QByteArray(e.what()), QByteArray("Error 10061 (Connection refused) connecting"));
    }
}

void TstSocketErrors::checkResult_data()
{
    QTest::addColumn<int>("result");
    QTest::addColumn<int>("lastError");
    QTest::addColumn<int>("tolerated");
    QTest::addColumn<int>("expected");
    QTest::addColumn<int>("expectedLastError");
    QTest::addColumn<QString>("raised");
    QTest::newRow("success passes through") << 7 << 10061 << 10035 << 7 << 0 << "";
    QTest::newRow("zero passes through") << 0 << 10061 << 0 << 0 << 0 << "";
    QTest::newRow("would block tolerated") << -1 << 10035 << 10035 << 0 << 10035 << "";
    QTest::newRow("would block not tolerated")
        << -1 << 10035 << 0 << 0 << 10035 << "Error 10035 (Operation would block) connecting";
    QTest::newRow("refused") << -1 << 10061 << 10035 << 0 << 10061
                             << "Error 10061 (Connection refused) connecting";
}

void TstSocketErrors::checkResult()
{
    QFETCH(int, result);
    QFETCH(int, lastError);
    QFETCH(int, tolerated);
    QFETCH(int, expected);
    QFETCH(int, expectedLastError);
    QFETCH(QString, raised);

    FakeSocketApi api;
    InstallSocketApi(&api);
    {
        TClientSocket owner;
        TStreamSocket socket(&owner);
        socket.setLastError(-5);
        // Leaves the error number behind as a failed call does.
        api.failNext(FakeSocketApi::fnSend, lastError);
        api.send(0, "x", 1, 0);
        try {
            QCOMPARE(CheckSocketResult(&socket, result, tolerated, 20008), expected);
            QVERIFY(raised.isEmpty());
        } catch (const ESockError& e) {
            QCOMPARE(e.message(), raised);
        }
        QCOMPARE(socket.LastError(), expectedLastError);
    }
    InstallSocketApi(nullptr);
}

// What the user reads for failures of the network itself, which loopback cannot bring about.
void TstSocketErrors::systemErrorMessages_data()
{
    QTest::addColumn<int>("error");
    QTest::addColumn<QString>("text");
    QTest::newRow("timed out") << ETIMEDOUT << "Error 10060 (Connection timed out) connecting";
    QTest::newRow("host unreachable")
        << EHOSTUNREACH << "Error 10065 (No Route to Host) connecting";
    QTest::newRow("network unreachable")
        << ENETUNREACH << "Error 10051 (Network is unreachable) connecting";
    QTest::newRow("network down") << ENETDOWN << "Error 10050 (Network is down) connecting";
    // A connect under way is the code the connect call tolerates.
    QTest::newRow("in progress") << EINPROGRESS << "Error 10035 (Operation would block) connecting";
    QTest::newRow("errno of no socket meaning") << ENOENT << "Error 2 (Unknown Error 2) connecting";
}

void TstSocketErrors::systemErrorMessages()
{
    QFETCH(int, error);
    QFETCH(QString, text);
    QCOMPARE(SocketErrorMessage(LinuxSocketApi::wsaErrorFromErrno(error), smConnecting), text);
}

// Lookups fail only with a name server to ask, which the tests do not reach.
void TstSocketErrors::lookupErrorMessages_data()
{
    QTest::addColumn<int>("eai");
    QTest::addColumn<int>("error");
    QTest::addColumn<QString>("text");
    QTest::newRow("no such host") << EAI_NONAME << 0
                                  << "Error 11001 (Host not found) finding address for host";
    QTest::newRow("name server not answering")
        << EAI_AGAIN << 0
        << "Error 11002 (Non-Authoritative Host not found) finding address for host";
    QTest::newRow("name server failed") << EAI_FAIL << 0
                                        << "Error 11003 (Non-Recoverable errors: FORMERR, REFUSED, "
                                           "NOTIMP) finding address for host";
    QTest::newRow("no address")
        << EAI_NODATA << 0
        << "Error 11004 (Valid name, no data record of requested type) finding address for host";
    QTest::newRow("system error: its errno")
        << EAI_SYSTEM << ECONNREFUSED
        << "Error 10061 (Connection refused) finding address for host";
}

void TstSocketErrors::lookupErrorMessages()
{
    QFETCH(int, eai);
    QFETCH(int, error);
    QFETCH(QString, text);
    QCOMPARE(SocketErrorMessage(LinuxSocketApi::wsaErrorFromLookup(eai, error), smFindingAddress),
             text);
}

// Nothing listens on the port: the connect ends with "refused", reported as its notification.
void TstSocketErrors::refusedOnLoopback()
{
    Loopback net;
    Notifications sink;
    const Wsa::Socket s = net.api.socket(Wsa::AfInet, Wsa::SockStream, 0);
    QVERIFY(s != Wsa::InvalidSocket);
    QCOMPARE(net.api.WSAAsyncSelect(s, &sink, 1, Wsa::FdConnect), 0);
    const SockAddrIn to = net.address(closedPort());
    QCOMPARE(net.api.connect(s, &to, sizeof to), Wsa::SocketError);
    QCOMPARE(net.api.WSAGetLastError(), 10035);
    QTRY_COMPARE(sink.replies.size(), 1);
    QCOMPARE(Wsa::lowWord(sink.replies[0]), Wsa::FdConnect);
    QCOMPARE(SocketErrorMessage(Wsa::highWord(sink.replies[0]), smConnecting),
             "Error 10061 (Connection refused) connecting");
    net.api.closesocket(s);
}

// The server takes the connection and drops it at once: the client reads a reset, then may not
// send any more.
void TstSocketErrors::resetByPeer()
{
    Loopback net;
    Server server;
    const Wsa::Socket s = net.connected(server);
    QVERIFY(s != Wsa::InvalidSocket);
    server.reset();
    char buffer[8];
    QCOMPARE(net.api.recv(s, buffer, sizeof buffer, 0), Wsa::SocketError);
    QCOMPARE(SocketErrorMessage(net.api.WSAGetLastError(), smReceiving),
             "Error 10054 (Connection reset by peer) recieving");
    QCOMPARE(net.api.send(s, "x", 1, 0), Wsa::SocketError);
    QCOMPARE(SocketErrorMessage(net.api.WSAGetLastError(), smSending),
             "Error 10058 (Can't send after socket shutdown) sending");
    net.api.closesocket(s);
}

// Reading before the server has sent anything must give the one code reads tolerate, or the
// wait for a reply would end in an error.
void TstSocketErrors::nothingToReadWouldBlock()
{
    Loopback net;
    Server server;
    const Wsa::Socket s = net.connected(server);
    QVERIFY(s != Wsa::InvalidSocket);
    char buffer[8];
    QCOMPARE(net.api.recv(s, buffer, sizeof buffer, 0), Wsa::SocketError);
    QCOMPARE(net.api.WSAGetLastError(), 10035);
    net.api.closesocket(s);
}

void TstSocketErrors::readBeforeConnecting()
{
    Loopback net;
    const Wsa::Socket s = net.api.socket(Wsa::AfInet, Wsa::SockStream, 0);
    char buffer[8];
    QCOMPARE(net.api.recv(s, buffer, sizeof buffer, 0), Wsa::SocketError);
    QCOMPARE(SocketErrorMessage(net.api.WSAGetLastError(), smReceiving),
             "Error 10057 (Socket is not connected) recieving");
    net.api.closesocket(s);
}

QTEST_GUILESS_MAIN(TstSocketErrors)
#include "tst_socketerrors.moc"
