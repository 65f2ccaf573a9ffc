#include "doubles/FakeSocketApi.h"

#include <QCoreApplication>
#include <QtEndian>

#include <cstring>

FakeSocketApi::FakeSocketApi(ISocketApi* inner) : m_inner(inner) {}

FakeSocketApi::~FakeSocketApi() = default;

void FakeSocketApi::failNext(Fn fn, int wsaError, int times)
{
    m_failCount[fn] = times;
    m_failError[fn] = wsaError;
}

void FakeSocketApi::setHost(const QByteArray& name, const QByteArray& dotted)
{
    m_hosts.insert(name, dotted);
}

void FakeSocketApi::setHostError(const QByteArray& name, int wsaError)
{
    m_hostErrors.insert(name, wsaError);
}

void FakeSocketApi::setService(const QByteArray& name, quint16 port)
{
    m_services.insert(name, port);
}

void FakeSocketApi::releaseLookups()
{
    const QList<Answer> held = std::exchange(m_held, {});
    for (const Answer& a : held)
        deliver(a);
}

bool FakeSocketApi::injected(Fn fn)
{
    ++m_calls[fn];
    if (m_failCount[fn] <= 0)
        return false;
    --m_failCount[fn];
    fail(m_failError[fn]);
    return true;
}

int FakeSocketApi::fail(int wsaError)
{
    m_ownError = true;
    m_lastError = wsaError;
    return Wsa::SocketError;
}

bool FakeSocketApi::forwarded()
{
    if (!m_inner) {
        fail(10050);
        return false;
    }
    m_ownError = false;
    return true;
}

void FakeSocketApi::deliver(const Answer& a)
{
    int length = 0;
    if (a.error == 0) {
        std::memcpy(a.buffer, a.reply.constData(), static_cast<size_t>(a.reply.size()));
        length = static_cast<int>(a.reply.size());
    }
    if (a.window)
        QCoreApplication::postEvent(
            a.window,
            new SocketMessageEvent(a.message, a.id, Wsa::makeSelectReply(length, a.error)));
}

quint32 FakeSocketApi::answer(QObject* window, quint32 message, char* buffer, int bufferLength,
                              const QByteArray& reply, int error)
{
    if (reply.size() > bufferLength)
        error = Wsa::WSAENOBUFS;
    const Answer a{++m_nextId, window, message, buffer, bufferLength, reply, error};
    if (m_hold)
        m_held.append(a);
    else
        deliver(a);
    return a.id;
}

Wsa::Socket FakeSocketApi::socket(int af, int type, int protocol)
{
    if (injected(fnSocket) || !forwarded())
        return Wsa::SocketError;
    return m_inner->socket(af, type, protocol);
}

int FakeSocketApi::connect(Wsa::Socket s, const SockAddrIn* name, int nameLength)
{
    if (injected(fnConnect))
        return Wsa::SocketError;
    if (m_connectHangs)
        return fail(Wsa::WSAEWOULDBLOCK);
    return forwarded() ? m_inner->connect(s, name, nameLength) : Wsa::SocketError;
}

int FakeSocketApi::recv(Wsa::Socket s, void* buffer, int length, int flags)
{
    if (injected(fnRecv) || !forwarded())
        return Wsa::SocketError;
    return m_inner->recv(s, buffer, length, flags);
}

int FakeSocketApi::send(Wsa::Socket s, const void* buffer, int length, int flags)
{
    if (injected(fnSend) || !forwarded())
        return Wsa::SocketError;
    return m_inner->send(s, buffer, length, flags);
}

int FakeSocketApi::closesocket(Wsa::Socket s)
{
    if (injected(fnClosesocket) || !forwarded())
        return Wsa::SocketError;
    return m_inner->closesocket(s);
}

int FakeSocketApi::ioctlsocket(Wsa::Socket s, qint32 command, quint32* argument)
{
    if (injected(fnIoctlsocket) || !forwarded())
        return Wsa::SocketError;
    return m_inner->ioctlsocket(s, command, argument);
}

int FakeSocketApi::getpeername(Wsa::Socket s, SockAddrIn* name, int* nameLength)
{
    if (injected(fnGetpeername) || !forwarded())
        return Wsa::SocketError;
    return m_inner->getpeername(s, name, nameLength);
}

quint32 FakeSocketApi::inet_addr(const char* text)
{
    if (m_inner)
        return m_inner->inet_addr(text);
    // Just enough for tests without an inner layer: four decimal parts.
    const QList<QByteArray> parts = QByteArray(text ? text : "").split('.');
    if (parts.size() != 4)
        return Wsa::InAddrNone;
    quint32 host = 0;
    for (const QByteArray& part : parts) {
        bool ok = false;
        const uint v = part.toUInt(&ok);
        if (!ok || v > 255)
            return Wsa::InAddrNone;
        host = (host << 8) | v;
    }
    return qToBigEndian(host);
}

QByteArray FakeSocketApi::inet_ntoa(quint32 address)
{
    if (m_inner)
        return m_inner->inet_ntoa(address);
    const quint32 host = qFromBigEndian(address);
    return QByteArray::number(host >> 24) + '.' + QByteArray::number((host >> 16) & 255) + '.' +
           QByteArray::number((host >> 8) & 255) + '.' + QByteArray::number(host & 255);
}

quint16(FakeSocketApi::htons)(quint16 value)
{
    return qToBigEndian(value);
}

quint16(FakeSocketApi::ntohs)(quint16 value)
{
    return qFromBigEndian(value);
}

quint32(FakeSocketApi::ntohl)(quint32 value)
{
    return qFromBigEndian(value);
}

int FakeSocketApi::WSAStartup(quint16 versionRequested, WsaData* data)
{
    if (injected(fnStartup))
        return m_lastError;
    m_ownError = false;
    return m_inner ? m_inner->WSAStartup(versionRequested, data) : 0;
}

int FakeSocketApi::WSACleanup()
{
    if (injected(fnCleanup))
        return Wsa::SocketError;
    m_ownError = false;
    return m_inner ? m_inner->WSACleanup() : 0;
}

int FakeSocketApi::WSAGetLastError()
{
    if (m_ownError || !m_inner)
        return m_lastError;
    return m_inner->WSAGetLastError();
}

bool FakeSocketApi::WSAIsBlocking()
{
    return false;
}

int FakeSocketApi::WSACancelBlockingCall()
{
    return fail(Wsa::WSAEINVAL);
}

int FakeSocketApi::WSAAsyncSelect(Wsa::Socket s, QObject* window, quint32 message, qint32 events)
{
    if (injected(fnAsyncSelect) || !forwarded())
        return Wsa::SocketError;
    return m_inner->WSAAsyncSelect(s, window, message, events);
}

quint32 FakeSocketApi::WSAAsyncGetHostByName(QObject* window, quint32 message, const char* name,
                                             char* buffer, int bufferLength)
{
    if (injected(fnGetHostByName))
        return 0;
    const QByteArray host(name ? name : "");
    m_hostLookups.append(host);
    if (m_hostErrors.contains(host))
        return answer(window, message, buffer, bufferLength, {}, m_hostErrors.value(host));
    if (m_hosts.contains(host)) {
        HostReply reply;
        reply.addrCount = 1;
        reply.addrList[0] = inet_addr(m_hosts.value(host).constData());
        std::strncpy(reply.name, host.constData(), sizeof reply.name - 1);
        return answer(window, message, buffer, bufferLength,
                      QByteArray(reinterpret_cast<const char*>(&reply), sizeof reply), 0);
    }
    if (!forwarded())
        return 0;
    return m_inner->WSAAsyncGetHostByName(window, message, name, buffer, bufferLength);
}

quint32 FakeSocketApi::WSAAsyncGetServByName(QObject* window, quint32 message, const char* name,
                                             const char* protocol, char* buffer, int bufferLength)
{
    if (injected(fnGetServByName))
        return 0;
    const QByteArray service(name ? name : "");
    if (m_services.contains(service)) {
        ServReply reply;
        std::strncpy(reply.name, service.constData(), sizeof reply.name - 1);
        reply.port = qToBigEndian(m_services.value(service));
        return answer(window, message, buffer, bufferLength,
                      QByteArray(reinterpret_cast<const char*>(&reply), sizeof reply), 0);
    }
    if (!m_inner)
        return answer(window, message, buffer, bufferLength, {}, Wsa::WSANO_DATA);
    m_ownError = false;
    return m_inner->WSAAsyncGetServByName(window, message, name, protocol, buffer, bufferLength);
}

quint32 FakeSocketApi::WSAAsyncGetServByPort(QObject* window, quint32 message, int port,
                                             const char* protocol, char* buffer, int bufferLength)
{
    if (injected(fnGetServByPort))
        return 0;
    const quint16 hostPort = qFromBigEndian(static_cast<quint16>(port));
    for (auto it = m_services.constBegin(); it != m_services.constEnd(); ++it) {
        if (it.value() != hostPort)
            continue;
        ServReply reply;
        std::strncpy(reply.name, it.key().constData(), sizeof reply.name - 1);
        reply.port = static_cast<quint16>(port);
        return answer(window, message, buffer, bufferLength,
                      QByteArray(reinterpret_cast<const char*>(&reply), sizeof reply), 0);
    }
    if (!m_inner)
        return answer(window, message, buffer, bufferLength, {}, Wsa::WSANO_DATA);
    m_ownError = false;
    return m_inner->WSAAsyncGetServByPort(window, message, port, protocol, buffer, bufferLength);
}

int FakeSocketApi::WSACancelAsyncRequest(quint32 request)
{
    if (injected(fnCancelRequest))
        return Wsa::SocketError;
    for (qsizetype i = 0; i < m_held.size(); ++i) {
        if (m_held[i].id == request) {
            m_held.removeAt(i);
            return 0;
        }
    }
    if (request > 0x40000000u || !m_inner)
        return fail(Wsa::WSAEINVAL);
    m_ownError = false;
    return m_inner->WSACancelAsyncRequest(request);
}
