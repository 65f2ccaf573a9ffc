#include "doubles/FakeSocketApi.h"
#include "compat/winsock/ESockError.h"
#include "compat/winsock/SocketApi.h"
#include "compat/winsock/SocketErrors.h"
#include "compat/winsock/TClientSocket.h"
#include "compat/winsock/TStreamSocket.h"
#include "platform/linux/LinuxSocketApi.h"

#include <QtTest>

#include <cerrno>
#include <netdb.h>

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
    void errnoMap_data();
    void errnoMap();
    void lookupErrorMap_data();
    void lookupErrorMap();
};

void TstSocketErrors::errorText_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("text");
    // Entries the messages are built from, the misspellings the user reads, and the fallback.
    const QList<QPair<int, const char*>> rows = {
        {20001, "Error %d (%s) finding address for host"},
        {20008, "Error %d (%s) connecting"},
        {20013, "Error %d (%s) listining"},
        {20014, "Error %d (%s) recieving"},
        {20017, "No address specified"},
        {20018, "Socket not open"},
        {20020, "Socket Already opened"},
        {10035, "Operation would block"},
        {10037, "Operation, already in progress"},
        {10060, "Connection timed out"},
        {10061, "Connection refused"},
        {10093, "Successful WSASTARTUP not yet performed"},
        {11001, "Host not found"},
        {11003, "Non-Recoverable errors: FORMERR, REFUSED, NOTIMP"},
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
    QTest::newRow("refused connecting")
        << 10061 << 20008 << "Error 10061 (Connection refused) connecting";
    QTest::newRow("timed out connecting")
        << 10060 << 20008 << "Error 10060 (Connection timed out) connecting";
    QTest::newRow("host not found")
        << 11001 << 20001 << "Error 11001 (Host not found) finding address for host";
    QTest::newRow("unknown code in a message")
        << 10099 << 20014 << "Error 10099 (Unknown Error 10099) recieving";
    QTest::newRow("no message: the code's text")
        << 10093 << 0 << "Successful WSASTARTUP not yet performed";
    QTest::newRow("no message, unknown code") << 12345 << 0 << "Unknown Error 12345";
    QTest::newRow("unknown message, whatever the code") << 10061 << 20023 << "Unknown Error 20023";
    QTest::newRow("message without placeholders") << 10061 << 20017 << "No address specified";
    QTest::newRow("start-up") << 10092 << 20016
                              << "Error 10092 (WINSOCK DLL Version out of range) starting up "
                                 "WinSock";
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
        QCOMPARE(e.message(), QStringLiteral("Error 10061 (Connection refused) connecting"));
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

void TstSocketErrors::errnoMap_data()
{
    QTest::addColumn<int>("error");
    QTest::addColumn<int>("wsa");
    QTest::newRow("EINTR") << EINTR << 10004;
    QTest::newRow("EBADF") << EBADF << 10009;
    QTest::newRow("EACCES") << EACCES << 10013;
    QTest::newRow("EFAULT") << EFAULT << 10014;
    QTest::newRow("EINVAL") << EINVAL << 10022;
    QTest::newRow("EMFILE") << EMFILE << 10024;
    QTest::newRow("EWOULDBLOCK") << EWOULDBLOCK << 10035;
    QTest::newRow("EAGAIN") << EAGAIN << 10035;
    QTest::newRow("EINPROGRESS") << EINPROGRESS << 10035;
    QTest::newRow("EALREADY") << EALREADY << 10037;
    QTest::newRow("ENOTSOCK") << ENOTSOCK << 10038;
    QTest::newRow("EMSGSIZE") << EMSGSIZE << 10040;
    QTest::newRow("EAFNOSUPPORT") << EAFNOSUPPORT << 10047;
    QTest::newRow("EADDRINUSE") << EADDRINUSE << 10048;
    QTest::newRow("EADDRNOTAVAIL") << EADDRNOTAVAIL << 10049;
    QTest::newRow("ENETDOWN") << ENETDOWN << 10050;
    QTest::newRow("ENETUNREACH") << ENETUNREACH << 10051;
    QTest::newRow("ECONNABORTED") << ECONNABORTED << 10053;
    QTest::newRow("ECONNRESET") << ECONNRESET << 10054;
    QTest::newRow("ENOBUFS") << ENOBUFS << 10055;
    QTest::newRow("EISCONN") << EISCONN << 10056;
    QTest::newRow("ENOTCONN") << ENOTCONN << 10057;
    QTest::newRow("EPIPE") << EPIPE << 10058;
    QTest::newRow("ETIMEDOUT") << ETIMEDOUT << 10060;
    QTest::newRow("ECONNREFUSED") << ECONNREFUSED << 10061;
    QTest::newRow("EHOSTDOWN") << EHOSTDOWN << 10064;
    QTest::newRow("EHOSTUNREACH") << EHOSTUNREACH << 10065;
    QTest::newRow("unmapped stays") << ENOENT << ENOENT;
}

void TstSocketErrors::errnoMap()
{
    QFETCH(int, error);
    QFETCH(int, wsa);
    QCOMPARE(LinuxSocketApi::wsaErrorFromErrno(error), wsa);
}

void TstSocketErrors::lookupErrorMap_data()
{
    QTest::addColumn<int>("eai");
    QTest::addColumn<int>("error");
    QTest::addColumn<int>("wsa");
    QTest::newRow("no name") << EAI_NONAME << 0 << 11001;
    QTest::newRow("try again") << EAI_AGAIN << 0 << 11002;
    QTest::newRow("failure") << EAI_FAIL << 0 << 11003;
    QTest::newRow("no data") << EAI_NODATA << 0 << 11004;
    QTest::newRow("memory") << EAI_MEMORY << 0 << 10055;
    QTest::newRow("system error") << EAI_SYSTEM << ECONNREFUSED << 10061;
}

void TstSocketErrors::lookupErrorMap()
{
    QFETCH(int, eai);
    QFETCH(int, error);
    QFETCH(int, wsa);
    QCOMPARE(LinuxSocketApi::wsaErrorFromLookup(eai, error), wsa);
}

QTEST_GUILESS_MAIN(TstSocketErrors)
#include "tst_socketerrors.moc"
