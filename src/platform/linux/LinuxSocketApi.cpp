#include "platform/linux/LinuxSocketApi.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <QtEndian>

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace {

constexpr qint32 kFionBio = static_cast<qint32>(0x8004667Eu);

// A lookup's reply, handed from its thread to the GUI thread.
class LookupFinishedEvent : public QEvent {
public:
    LookupFinishedEvent(quint32 lookupId, QByteArray replyBytes, int errorCode)
        : QEvent(eventType()), id(lookupId), reply(std::move(replyBytes)), error(errorCode)
    {
    }
    static QEvent::Type eventType()
    {
        static const int type = QEvent::registerEventType();
        return static_cast<QEvent::Type>(type);
    }
    quint32 id;
    QByteArray reply;
    int error;
};

template <typename T> QByteArray bytesOf(const T& value)
{
    return QByteArray(reinterpret_cast<const char*>(&value), sizeof value);
}

void copyName(char* target, size_t size, const char* source)
{
    if (!source)
        return;
    std::strncpy(target, source, size - 1);
    target[size - 1] = '\0';
}

// Service names and protocols are matched without regard to case, as the 1.1 interface does;
// the services database spells them in lower case.
QByteArray lowerProtocol(const QByteArray& protocol)
{
    return protocol.toLower();
}

QByteArray serviceReply(const servent& entry)
{
    ServReply reply;
    copyName(reply.name, sizeof reply.name, entry.s_name);
    copyName(reply.protocol, sizeof reply.protocol, entry.s_proto);
    reply.port = static_cast<quint16>(entry.s_port); // already network order
    return bytesOf(reply);
}

} // namespace

struct LinuxSocketApi::Watch {
    Wsa::Socket fd = Wsa::InvalidSocket;
    QPointer<QObject> window;
    quint32 message = 0;
    qint32 events = 0;
    QSocketNotifier* reader = nullptr;
    QSocketNotifier* writer = nullptr;
    bool connecting = false;
    bool connected = false;
    bool readArmed = true; // FD_READ comes again only after a recv
    bool writeWanted = false;
    bool closed = false; // FD_CLOSE was given
};

struct LinuxSocketApi::Request {
    QPointer<QObject> window;
    quint32 message = 0;
    char* buffer = nullptr;
    int bufferLength = 0;
};

// What the lookup threads share with the layer: they post to target while it exists.
struct LinuxSocketApi::Hub {
    std::mutex mutex;
    QObject* target = nullptr;
};

class LinuxSocketApi::Receiver : public QObject {
public:
    explicit Receiver(LinuxSocketApi* api) : m_api(api) {}

protected:
    bool event(QEvent* e) override
    {
        if (e->type() != LookupFinishedEvent::eventType())
            return QObject::event(e);
        const auto* done = static_cast<LookupFinishedEvent*>(e);
        m_api->finishRequest(done->id, done->reply, done->error);
        return true;
    }

private:
    LinuxSocketApi* m_api;
};

LinuxSocketApi::LinuxSocketApi() : m_hub(std::make_shared<Hub>()), m_receiver(new Receiver(this))
{
    m_hub->target = m_receiver;
}

LinuxSocketApi::~LinuxSocketApi()
{
    {
        std::lock_guard<std::mutex> lock(m_hub->mutex);
        m_hub->target = nullptr;
    }
    for (Watch* w : std::as_const(m_watches)) {
        delete w->reader;
        delete w->writer;
        ::close(w->fd);
        delete w;
    }
    qDeleteAll(m_requests);
    delete m_receiver;
}

int LinuxSocketApi::wsaErrorFromErrno(int error)
{
    switch (error) {
    case EINTR:
        return 10004;
    case EBADF:
        return 10009;
    case EACCES:
    case EPERM:
        return 10013;
    case EFAULT:
        return 10014;
    case EINVAL:
        return 10022;
    case EMFILE:
    case ENFILE:
        return 10024;
    case EWOULDBLOCK: // EAGAIN
    case EINPROGRESS:
        return 10035; // a non-blocking connect under way "would block"
    case EALREADY:
        return 10037;
    case ENOTSOCK:
        return 10038;
    case EDESTADDRREQ:
        return 10039;
    case EMSGSIZE:
        return 10040;
    case EPROTOTYPE:
        return 10041;
    case ENOPROTOOPT:
        return 10042;
    case EPROTONOSUPPORT:
        return 10043;
    case ESOCKTNOSUPPORT:
        return 10044;
    case EOPNOTSUPP:
        return 10045;
    case EPFNOSUPPORT:
        return 10046;
    case EAFNOSUPPORT:
        return 10047;
    case EADDRINUSE:
        return 10048;
    case EADDRNOTAVAIL:
        return 10049;
    case ENETDOWN:
        return 10050;
    case ENETUNREACH:
        return 10051;
    case ENETRESET:
        return 10052;
    case ECONNABORTED:
        return 10053;
    case ECONNRESET:
        return 10054;
    case ENOBUFS:
    case ENOMEM:
        return 10055;
    case EISCONN:
        return 10056;
    case ENOTCONN:
        return 10057;
    case ESHUTDOWN:
    case EPIPE:
        return 10058;
    case ETOOMANYREFS:
        return 10059;
    case ETIMEDOUT:
        return 10060;
    case ECONNREFUSED:
        return 10061;
    case ELOOP:
        return 10062;
    case ENAMETOOLONG:
        return 10063;
    case EHOSTDOWN:
        return 10064;
    case EHOSTUNREACH:
        return 10065;
    case ENOTEMPTY:
        return 10066;
    case EUSERS:
        return 10068;
    case EDQUOT:
        return 10069;
    case ESTALE:
        return 10070;
    case EREMOTE:
        return 10071;
    default:
        return error;
    }
}

int LinuxSocketApi::wsaErrorFromLookup(int eaiError, int errnoValue)
{
    switch (eaiError) {
    case 0:
        return 0;
    case EAI_NONAME:
        return Wsa::WSAHOST_NOT_FOUND;
    case EAI_AGAIN:
        return Wsa::WSATRY_AGAIN;
    case EAI_NODATA:
    case EAI_ADDRFAMILY:
        return Wsa::WSANO_DATA;
    case EAI_MEMORY:
        return Wsa::WSAENOBUFS;
    case EAI_FAMILY:
        return Wsa::WSAEAFNOSUPPORT;
    case EAI_SYSTEM:
        return errnoValue ? wsaErrorFromErrno(errnoValue) : Wsa::WSANO_RECOVERY;
    default:
        return Wsa::WSANO_RECOVERY;
    }
}

int LinuxSocketApi::fail(int wsaError)
{
    m_lastError = wsaError;
    return Wsa::SocketError;
}

LinuxSocketApi::Watch* LinuxSocketApi::watchOf(Wsa::Socket s)
{
    return m_watches.value(s, nullptr);
}

void LinuxSocketApi::post(Watch& w, qint32 event, int error)
{
    if (w.window && (w.events & event))
        QCoreApplication::postEvent(w.window,
                                    new SocketMessageEvent(w.message, static_cast<quintptr>(w.fd),
                                                           Wsa::makeSelectReply(event, error)));
}

void LinuxSocketApi::rearmRead(Watch& w)
{
    if (w.reader)
        w.reader->setEnabled(w.connected && !w.closed && w.readArmed &&
                             (w.events & (Wsa::FdRead | Wsa::FdClose)));
    if (w.writer)
        w.writer->setEnabled(w.window && (w.connecting || (w.connected && w.writeWanted)));
}

void LinuxSocketApi::onWritable(Wsa::Socket s)
{
    Watch* w = watchOf(s);
    if (!w)
        return;
    if (w->connecting) {
        w->connecting = false;
        int error = 0;
        socklen_t length = sizeof error;
        if (::getsockopt(s, SOL_SOCKET, SO_ERROR, &error, &length) != 0)
            error = errno;
        if (error == 0) {
            w->connected = true;
            post(*w, Wsa::FdConnect, 0);
            post(*w, Wsa::FdWrite, 0);
        } else {
            post(*w, Wsa::FdConnect, wsaErrorFromErrno(error));
        }
    } else if (w->writeWanted) {
        w->writeWanted = false;
        post(*w, Wsa::FdWrite, 0);
    }
    rearmRead(*w);
}

void LinuxSocketApi::onReadable(Wsa::Socket s)
{
    Watch* w = watchOf(s);
    if (!w)
        return;
    w->readArmed = false;
    int waiting = 0;
    if (::ioctl(s, FIONREAD, &waiting) == 0 && waiting > 0) {
        post(*w, Wsa::FdRead, 0);
    } else {
        char byte;
        const ssize_t got = ::recv(s, &byte, 1, MSG_PEEK | MSG_DONTWAIT);
        if (got > 0) {
            post(*w, Wsa::FdRead, 0);
        } else if (got == 0) {
            w->closed = true;
            post(*w, Wsa::FdClose, 0);
        } else if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR) {
            w->readArmed = true;
        } else {
            w->closed = true;
            post(*w, Wsa::FdClose, wsaErrorFromErrno(errno));
        }
    }
    rearmRead(*w);
}

Wsa::Socket LinuxSocketApi::socket(int af, int type, int protocol)
{
    if (m_startups == 0)
        return fail(Wsa::WSANOTINITIALISED);
    if (af != Wsa::AfInet)
        return fail(Wsa::WSAEAFNOSUPPORT);
    if (type != Wsa::SockStream)
        return fail(10044); // socket type not supported
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, protocol);
    if (fd < 0)
        return fail(wsaErrorFromErrno(errno));
    auto* w = new Watch;
    w->fd = fd;
    m_watches.insert(fd, w);
    return fd;
}

int LinuxSocketApi::connect(Wsa::Socket s, const SockAddrIn* name, int nameLength)
{
    Watch* w = watchOf(s);
    if (!w)
        return fail(Wsa::WSAENOTSOCK);
    if (!name || nameLength < static_cast<int>(sizeof(SockAddrIn)))
        return fail(Wsa::WSAEFAULT);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = name->sin_port;
    address.sin_addr.s_addr = name->sin_addr;
    if (::connect(s, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) {
        w->connected = true;
        post(*w, Wsa::FdConnect, 0);
        post(*w, Wsa::FdWrite, 0);
        rearmRead(*w);
        return 0;
    }
    const int error = errno;
    if (error == EINPROGRESS) {
        w->connecting = true;
        rearmRead(*w);
        return fail(Wsa::WSAEWOULDBLOCK);
    }
    // Outcomes of the connection itself arrive as FD_CONNECT, however early Linux knows them.
    if (w->window && (w->events & Wsa::FdConnect) &&
        (error == ECONNREFUSED || error == ENETUNREACH || error == EHOSTUNREACH ||
         error == ETIMEDOUT || error == ECONNRESET)) {
        post(*w, Wsa::FdConnect, wsaErrorFromErrno(error));
        return fail(Wsa::WSAEWOULDBLOCK);
    }
    return fail(wsaErrorFromErrno(error));
}

int LinuxSocketApi::recv(Wsa::Socket s, void* buffer, int length, int flags)
{
    Watch* w = watchOf(s);
    if (!w)
        return fail(Wsa::WSAENOTSOCK);
    if (length < 0 || (!buffer && length > 0))
        return fail(Wsa::WSAEFAULT);
    const ssize_t got = ::recv(s, buffer, static_cast<size_t>(length), flags | MSG_DONTWAIT);
    const int error = errno;
    w->readArmed = true;
    rearmRead(*w);
    if (got < 0)
        return fail(wsaErrorFromErrno(error));
    return static_cast<int>(got);
}

int LinuxSocketApi::send(Wsa::Socket s, const void* buffer, int length, int flags)
{
    Watch* w = watchOf(s);
    if (!w)
        return fail(Wsa::WSAENOTSOCK);
    if (length < 0 || (!buffer && length > 0))
        return fail(Wsa::WSAEFAULT);
    // No SIGPIPE: a peer that went away is an error number, not the end of the program.
    const ssize_t sent =
        ::send(s, buffer, static_cast<size_t>(length), flags | MSG_NOSIGNAL | MSG_DONTWAIT);
    if (sent < 0) {
        const int error = errno;
        if (error == EAGAIN || error == EWOULDBLOCK) {
            w->writeWanted = true;
            rearmRead(*w);
        }
        return fail(wsaErrorFromErrno(error));
    }
    return static_cast<int>(sent);
}

int LinuxSocketApi::closesocket(Wsa::Socket s)
{
    Watch* w = m_watches.take(s);
    if (!w)
        return fail(Wsa::WSAENOTSOCK);
    delete w->reader;
    delete w->writer;
    const int result = ::close(s);
    const int error = errno;
    delete w;
    if (result != 0 && error != EINTR)
        return fail(wsaErrorFromErrno(error));
    return 0;
}

int LinuxSocketApi::ioctlsocket(Wsa::Socket s, qint32 command, quint32* argument)
{
    if (!watchOf(s))
        return fail(Wsa::WSAENOTSOCK);
    if (!argument)
        return fail(Wsa::WSAEFAULT);
    if (command == Wsa::FionRead) {
        int waiting = 0;
        if (::ioctl(s, FIONREAD, &waiting) != 0)
            return fail(wsaErrorFromErrno(errno));
        *argument = static_cast<quint32>(waiting);
        return 0;
    }
    if (command == kFionBio) {
        const int flags = ::fcntl(s, F_GETFL);
        const int wanted = *argument ? (flags | O_NONBLOCK) : (flags & ~O_NONBLOCK);
        if (flags < 0 || ::fcntl(s, F_SETFL, wanted) != 0)
            return fail(wsaErrorFromErrno(errno));
        return 0;
    }
    return fail(Wsa::WSAEINVAL);
}

int LinuxSocketApi::getpeername(Wsa::Socket s, SockAddrIn* name, int* nameLength)
{
    if (!watchOf(s))
        return fail(Wsa::WSAENOTSOCK);
    if (!name || !nameLength || *nameLength < static_cast<int>(sizeof(SockAddrIn)))
        return fail(Wsa::WSAEFAULT);
    sockaddr_in peer{};
    socklen_t length = sizeof peer;
    if (::getpeername(s, reinterpret_cast<sockaddr*>(&peer), &length) != 0)
        return fail(wsaErrorFromErrno(errno));
    *name = SockAddrIn{};
    name->sin_family = Wsa::AfInet;
    name->sin_port = peer.sin_port;
    name->sin_addr = peer.sin_addr.s_addr;
    *nameLength = sizeof(SockAddrIn);
    return 0;
}

quint32 LinuxSocketApi::inet_addr(const char* text)
{
    return text ? ::inet_addr(text) : Wsa::InAddrNone;
}

QByteArray LinuxSocketApi::inet_ntoa(quint32 address)
{
    in_addr a{};
    a.s_addr = address;
    char text[INET_ADDRSTRLEN] = {};
    ::inet_ntop(AF_INET, &a, text, sizeof text);
    return QByteArray(text);
}

quint16(LinuxSocketApi::htons)(quint16 value)
{
    return qToBigEndian(value);
}

quint16(LinuxSocketApi::ntohs)(quint16 value)
{
    return qFromBigEndian(value);
}

quint32(LinuxSocketApi::ntohl)(quint32 value)
{
    return qFromBigEndian(value);
}

int LinuxSocketApi::WSAStartup(quint16 versionRequested, WsaData* data)
{
    const int major = versionRequested & 0xFF;
    const int minor = versionRequested >> 8;
    if (major < 1 || (major == 1 && minor < 1))
        return Wsa::WSAVERNOTSUPPORTED;
    if (data) {
        *data = WsaData{};
        data->wVersion = 0x0101;
        data->wHighVersion = 0x0101;
        copyName(data->szDescription, sizeof data->szDescription, "BSD sockets");
        copyName(data->szSystemStatus, sizeof data->szSystemStatus, "Running");
        data->iMaxSockets = 0x7FFF;
        data->iMaxUdpDg = 65507;
    }
    ++m_startups;
    return 0;
}

int LinuxSocketApi::WSACleanup()
{
    if (m_startups == 0)
        return fail(Wsa::WSANOTINITIALISED);
    --m_startups;
    return 0;
}

int LinuxSocketApi::WSAGetLastError()
{
    return m_lastError;
}

bool LinuxSocketApi::WSAIsBlocking()
{
    return false; // no call ever blocks
}

int LinuxSocketApi::WSACancelBlockingCall()
{
    return fail(Wsa::WSAEINVAL);
}

int LinuxSocketApi::WSAAsyncSelect(Wsa::Socket s, QObject* window, quint32 message, qint32 events)
{
    Watch* w = watchOf(s);
    if (!w)
        return fail(Wsa::WSAENOTSOCK);
    w->window = window;
    w->message = message;
    w->events = window ? events : 0;
    if (!w->reader) {
        w->reader = new QSocketNotifier(s, QSocketNotifier::Read, m_receiver);
        w->writer = new QSocketNotifier(s, QSocketNotifier::Write, m_receiver);
        QObject::connect(w->reader, &QSocketNotifier::activated, m_receiver,
                         [this, s] { onReadable(s); });
        QObject::connect(w->writer, &QSocketNotifier::activated, m_receiver,
                         [this, s] { onWritable(s); });
    }
    if (w->connected)
        post(*w, Wsa::FdWrite, 0);
    rearmRead(*w);
    return 0;
}

quint32 LinuxSocketApi::startRequest(QObject* window, quint32 message, char* buffer,
                                     int bufferLength, std::function<QByteArray(int&)> work)
{
    if (m_startups == 0) {
        fail(Wsa::WSANOTINITIALISED);
        return 0;
    }
    if (!window || !buffer || bufferLength <= 0) {
        fail(Wsa::WSAEINVAL);
        return 0;
    }
    const quint32 id = m_nextRequest++;
    if (m_nextRequest == 0)
        m_nextRequest = 1;
    auto* request = new Request;
    request->window = window;
    request->message = message;
    request->buffer = buffer;
    request->bufferLength = bufferLength;
    m_requests.insert(id, request);
    try {
        std::thread([hub = m_hub, id, work = std::move(work)] {
            int error = 0;
            QByteArray reply = work(error);
            std::lock_guard<std::mutex> lock(hub->mutex);
            if (hub->target)
                QCoreApplication::postEvent(hub->target,
                                            new LookupFinishedEvent(id, std::move(reply), error));
        }).detach();
    } catch (const std::system_error&) {
        delete m_requests.take(id);
        fail(Wsa::WSAENOBUFS);
        return 0;
    }
    return id;
}

void LinuxSocketApi::finishRequest(quint32 id, const QByteArray& reply, int error)
{
    Request* request = m_requests.take(id);
    if (!request)
        return; // cancelled
    int length = 0;
    if (error == 0) {
        if (reply.size() > request->bufferLength) {
            error = Wsa::WSAENOBUFS;
        } else {
            std::memcpy(request->buffer, reply.constData(), static_cast<size_t>(reply.size()));
            length = static_cast<int>(reply.size());
        }
    }
    if (request->window)
        QCoreApplication::postEvent(
            request->window,
            new SocketMessageEvent(request->message, id, Wsa::makeSelectReply(length, error)));
    delete request;
}

quint32 LinuxSocketApi::WSAAsyncGetHostByName(QObject* window, quint32 message, const char* name,
                                              char* buffer, int bufferLength)
{
    const QByteArray host(name ? name : "");
    return startRequest(window, message, buffer, bufferLength, [host](int& error) {
        addrinfo hints{};
        hints.ai_family = AF_INET;
        hints.ai_socktype = SOCK_STREAM;
        addrinfo* found = nullptr;
        errno = 0;
        const int result = ::getaddrinfo(host.constData(), nullptr, &hints, &found);
        if (result != 0) {
            error = wsaErrorFromLookup(result, errno);
            return QByteArray();
        }
        HostReply reply;
        copyName(reply.name, sizeof reply.name, host.constData());
        for (addrinfo* a = found; a && reply.addrCount < 16; a = a->ai_next) {
            if (a->ai_family != AF_INET || !a->ai_addr)
                continue;
            const auto* in = reinterpret_cast<const sockaddr_in*>(a->ai_addr);
            reply.addrList[reply.addrCount++] = in->sin_addr.s_addr;
        }
        ::freeaddrinfo(found);
        if (reply.addrCount == 0) {
            error = Wsa::WSANO_DATA;
            return QByteArray();
        }
        return bytesOf(reply);
    });
}

quint32 LinuxSocketApi::WSAAsyncGetServByName(QObject* window, quint32 message, const char* name,
                                              const char* protocol, char* buffer, int bufferLength)
{
    const QByteArray service(name ? name : "");
    const QByteArray proto = lowerProtocol(QByteArray(protocol ? protocol : ""));
    return startRequest(window, message, buffer, bufferLength, [service, proto](int& error) {
        servent entry{};
        servent* found = nullptr;
        char scratch[4096];
        ::getservbyname_r(service.constData(), proto.isEmpty() ? nullptr : proto.constData(),
                          &entry, scratch, sizeof scratch, &found);
        if (!found) {
            error = Wsa::WSANO_DATA;
            return QByteArray();
        }
        return serviceReply(*found);
    });
}

quint32 LinuxSocketApi::WSAAsyncGetServByPort(QObject* window, quint32 message, int port,
                                              const char* protocol, char* buffer, int bufferLength)
{
    const QByteArray proto = lowerProtocol(QByteArray(protocol ? protocol : ""));
    return startRequest(window, message, buffer, bufferLength, [port, proto](int& error) {
        servent entry{};
        servent* found = nullptr;
        char scratch[4096];
        ::getservbyport_r(port, proto.isEmpty() ? nullptr : proto.constData(), &entry, scratch,
                          sizeof scratch, &found);
        if (!found) {
            error = Wsa::WSANO_DATA;
            return QByteArray();
        }
        return serviceReply(*found);
    });
}

int LinuxSocketApi::WSACancelAsyncRequest(quint32 request)
{
    Request* pending = m_requests.take(request);
    if (!pending)
        return fail(Wsa::WSAEINVAL);
    delete pending;
    return 0;
}
