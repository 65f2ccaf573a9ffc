#pragma once

#include <QByteArray>
#include <QEvent>
#include <QtGlobal>

class QObject;

// The socket layer as the client socket sees it: the BSD socket calls and the asynchronous
// requests of the 1.1 socket interface, with its error numbers. Notifications and lookup replies
// arrive as SocketMessageEvent posted to a notification object, in the order they happened.
namespace Wsa {

using Socket = qint32;
constexpr Socket InvalidSocket = -1;
constexpr int SocketError = -1;

constexpr int AfInet = 2;
constexpr int SockStream = 1;
constexpr quint32 InAddrNone = 0xFFFFFFFFu;
constexpr qint32 FionRead = 0x4004667F;

// Notification bits of an async select.
constexpr qint32 FdRead = 1;
constexpr qint32 FdWrite = 2;
constexpr qint32 FdOob = 4;
constexpr qint32 FdAccept = 8;
constexpr qint32 FdConnect = 16;
constexpr qint32 FdClose = 32;

constexpr int WSAEINTR = 10004;
constexpr int WSAEBADF = 10009;
constexpr int WSAEACCES = 10013;
constexpr int WSAEFAULT = 10014;
constexpr int WSAEINVAL = 10022;
constexpr int WSAEMFILE = 10024;
constexpr int WSAEWOULDBLOCK = 10035;
constexpr int WSAEINPROGRESS = 10036;
constexpr int WSAEALREADY = 10037;
constexpr int WSAENOTSOCK = 10038;
constexpr int WSAEAFNOSUPPORT = 10047;
constexpr int WSAENOBUFS = 10055;
constexpr int WSAEISCONN = 10056;
constexpr int WSAENOTCONN = 10057;
constexpr int WSAESHUTDOWN = 10058;
constexpr int WSAETIMEDOUT = 10060;
constexpr int WSAECONNREFUSED = 10061;
constexpr int WSAEHOSTUNREACH = 10065;
constexpr int WSAVERNOTSUPPORTED = 10092;
constexpr int WSANOTINITIALISED = 10093;
constexpr int WSAHOST_NOT_FOUND = 11001;
constexpr int WSATRY_AGAIN = 11002;
constexpr int WSANO_RECOVERY = 11003;
constexpr int WSANO_DATA = 11004;

// Select replies carry the event in the low word and the error in the high word; lookup replies
// carry the reply length in the low word and the error in the high word.
constexpr qint32 makeSelectReply(qint32 low, qint32 error)
{
    return static_cast<qint32>((static_cast<quint32>(error) << 16) |
                               (static_cast<quint32>(low) & 0xFFFFu));
}
constexpr qint32 lowWord(qint32 lParam)
{
    return static_cast<qint32>(static_cast<quint32>(lParam) & 0xFFFFu);
}
constexpr qint32 highWord(qint32 lParam)
{
    return static_cast<qint32>(static_cast<quint32>(lParam) >> 16);
}

} // namespace Wsa

// The IPv4 address record: family, port and address in network order, 8 zero bytes.
struct SockAddrIn {
    quint16 sin_family = Wsa::AfInet;
    quint16 sin_port = 0;
    quint32 sin_addr = 0;
    quint8 sin_zero[8] = {};
};
static_assert(sizeof(SockAddrIn) == 16);

struct WsaData {
    quint16 wVersion = 0;
    quint16 wHighVersion = 0;
    char szDescription[257] = {};
    char szSystemStatus[129] = {};
    quint16 iMaxSockets = 0;
    quint16 iMaxUdpDg = 0;
};

// What a host lookup leaves in the caller's buffer.
struct HostReply {
    qint16 addrType = Wsa::AfInet;
    qint16 addrLength = 4;
    qint32 addrCount = 0;
    quint32 addrList[16] = {}; // network order
    char name[256] = {};
};

// What a service lookup (by name or by port) leaves in the caller's buffer.
struct ServReply {
    char name[256] = {};
    char protocol[33] = {};
    quint16 port = 0; // network order
};

// A message posted to a notification object: the message number and its two parameters.
class SocketMessageEvent : public QEvent {
public:
    SocketMessageEvent(quint32 msg, quintptr wp, qint32 lp)
        : QEvent(eventType()), message(msg), wParam(wp), lParam(lp)
    {
    }
    static QEvent::Type eventType()
    {
        static const int type = QEvent::registerEventType();
        return static_cast<QEvent::Type>(type);
    }
    quint32 message;
    quintptr wParam;
    qint32 lParam;
};

// One entry per socket function the client socket uses; each takes and returns what the socket
// interface's function does. Failures return -1 (or 0 for a request handle) and leave their
// error number for WSAGetLastError. Every call is made on the GUI thread.
class ISocketApi {
public:
    virtual ~ISocketApi() = default;

    virtual Wsa::Socket socket(int af, int type, int protocol) = 0;
    virtual int connect(Wsa::Socket s, const SockAddrIn* name, int nameLength) = 0;
    virtual int recv(Wsa::Socket s, void* buffer, int length, int flags) = 0;
    virtual int send(Wsa::Socket s, const void* buffer, int length, int flags) = 0;
    virtual int closesocket(Wsa::Socket s) = 0;
    virtual int ioctlsocket(Wsa::Socket s, qint32 command, quint32* argument) = 0;
    virtual int getpeername(Wsa::Socket s, SockAddrIn* name, int* nameLength) = 0;
    // Network-order address of a dotted text, or InAddrNone.
    virtual quint32 inet_addr(const char* text) = 0;
    // Dotted text of a network-order address.
    virtual QByteArray inet_ntoa(quint32 address) = 0;
    // The names are in parentheses: the C library may define them as macros.
    virtual quint16(htons)(quint16 value) = 0;
    virtual quint16(ntohs)(quint16 value) = 0;
    virtual quint32(ntohl)(quint32 value) = 0;

    virtual int WSAStartup(quint16 versionRequested, WsaData* data) = 0;
    virtual int WSACleanup() = 0;
    virtual int WSAGetLastError() = 0;
    virtual bool WSAIsBlocking() = 0;
    virtual int WSACancelBlockingCall() = 0;
    // Asks for the notifications in events, posted to window as `message` with wParam the socket.
    virtual int WSAAsyncSelect(Wsa::Socket s, QObject* window, quint32 message, qint32 events) = 0;
    // Lookups run elsewhere and post `message` to window with wParam the request handle; the
    // reply is in the buffer by then. After a cancel nothing more is written or posted.
    virtual quint32 WSAAsyncGetHostByName(QObject* window, quint32 message, const char* name,
                                          char* buffer, int bufferLength) = 0;
    virtual quint32 WSAAsyncGetServByName(QObject* window, quint32 message, const char* name,
                                          const char* protocol, char* buffer, int bufferLength) = 0;
    // port in network order.
    virtual quint32 WSAAsyncGetServByPort(QObject* window, quint32 message, int port,
                                          const char* protocol, char* buffer, int bufferLength) = 0;
    virtual int WSACancelAsyncRequest(quint32 request) = 0;
};
