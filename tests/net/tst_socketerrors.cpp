#include "doubles/FakeSocketApi.h"
#include "net/ESockError.h"
#include "net/SocketApi.h"
#include "net/SocketErrors.h"
#include "net/TClientSocket.h"
#include "net/TStreamSocket.h"
#include "platform/LinuxSocketApi.h"

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
    // Every entry as the user reads it, misspellings included.
    const QList<QPair<int, const char*>> rows = {
        {20001, "Error %d (%s) finding address for host"},
        {20002, "Error %d (%s) calling WSAAsyncGetHostByAddr"},
        {20003, "Error %d (%s) calling WSAAsyncGetHostByName"},
        {20004, "Error %d (%s) calling WSAAsyncGetServByName"},
        {20005, "Error %d (%s) calling WSAAsyncGetServByPort"},
        {20006, "Error %d (%s) finding host for address"},
        {20007, "Error %d (%s) Binding Socket"},
        {20008, "Error %d (%s) connecting"},
        {20009, "Error %d (%s) creating new socket"},
        {20010, "Error %d (%s) calling getpeername"},
        {20011, "Error %d (%s) calling getsockname"},
        {20012, "Error %d (%s) getting # of bytes in Receive Buffer"},
        {20013, "Error %d (%s) listining"},
        {20014, "Error %d (%s) recieving"},
        {20015, "Error %d (%s) sending"},
        {20016, "Error %d (%s) starting up WinSock"},
        {20017, "No address specified"},
        {20018, "Socket not open"},
        {20019, "Can't do reverse lookup on address 0.0.0.0"},
        {20020, "Socket Already opened"},
        {20021, "Datagram exceeds Winsock's max UDP packet size"},
        {20022, "Winsock DLL Already Loaded, Cannot change name"},
        {10004, "Interrupted system call"},
        {10009, "Bad file number"},
        {10013, "Permission denied"},
        {10014, "Bad address"},
        {10022, "Invalid argument"},
        {10024, "Too many open files"},
        {10035, "Operation would block"},
        {10036, "Operation now in progress"},
        {10037, "Operation, already in progress"},
        {10038, "Socket operation on non-socket"},
        {10039, "Destination address required"},
        {10040, "Message too long"},
        {10041, "Protocol wrong type for socket"},
        {10042, "Bad protocol option"},
        {10043, "Protocol not supported"},
        {10044, "Socket type not supported"},
        {10045, "Operation not supported on socket"},
        {10046, "Protocol family not supported"},
        {10047, "Address family not supported by protocol family"},
        {10048, "Address already in use"},
        {10049, "Can't assign requested address"},
        {10050, "Network is down"},
        {10051, "Network is unreachable"},
        {10052, "Net dropped connection or reset"},
        {10053, "Software caused connection abort"},
        {10054, "Connection reset by peer"},
        {10055, "No buffer space available"},
        {10056, "Socket is already connected"},
        {10057, "Socket is not connected"},
        {10058, "Can't send after socket shutdown"},
        {10059, "Too many references, can't splice"},
        {10060, "Connection timed out"},
        {10061, "Connection refused"},
        {10062, "Too many levels of symbolic links"},
        {10063, "File name too long"},
        {10064, "Host is down"},
        {10065, "No Route to Host"},
        {10066, "Directory not empty"},
        {10067, "Too many processes"},
        {10068, "Too many users"},
        {10069, "Disc Quota Exceeded"},
        {10070, "Stale NFS file handle"},
        {10071, "Too many levels of remote in path"},
        {10091, "Network SubSystem is unavailable"},
        {10092, "WINSOCK DLL Version out of range"},
        {10093, "Successful WSASTARTUP not yet performed"},
        {10101, "Socket Disconnected"},
        {11001, "Host not found"},
        {11002, "Non-Authoritative Host not found"},
        {11003, "Non-Recoverable errors: FORMERR, REFUSED, NOTIMP"},
        {11004, "Valid name, no data record of requested type"},
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
