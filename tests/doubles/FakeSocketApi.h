#pragma once

#include "ports/ISocketApi.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QPointer>

// A socket layer for tests: passes every call on to an inner layer (normally the real one, on
// loopback), except that any function can be made to fail with a chosen error number, host and
// service lookups can be answered from tables (and held until released), and connects can be
// made to hang for ever. Without an inner layer, calls it does not answer itself fail with
// 10050 (network is down).
class FakeSocketApi : public ISocketApi {
public:
    enum Fn {
        fnSocket,
        fnConnect,
        fnRecv,
        fnSend,
        fnClosesocket,
        fnIoctlsocket,
        fnGetpeername,
        fnStartup,
        fnCleanup,
        fnAsyncSelect,
        fnGetHostByName,
        fnGetServByName,
        fnGetServByPort,
        fnCancelRequest,
        fnCount
    };

    explicit FakeSocketApi(ISocketApi* inner = nullptr);
    ~FakeSocketApi() override;

    // The next `times` calls of fn fail with this error number (WSAStartup returns it).
    void failNext(Fn fn, int wsaError, int times = 1);
    int calls(Fn fn) const { return m_calls[fn]; }

    // Host lookups of this name answer with this IPv4 address (dotted), or fail with the error.
    void setHost(const QByteArray& name, const QByteArray& dotted);
    void setHostError(const QByteArray& name, int wsaError);
    // Service lookups (by name or port) answer from this table instead of the inner layer.
    void setService(const QByteArray& name, quint16 port);
    // While held, answers from the tables wait for releaseLookups().
    void setHoldLookups(bool hold) { m_hold = hold; }
    void releaseLookups();
    int heldLookups() const { return static_cast<int>(m_held.size()); }
    // connect() then reports "would block" and never completes.
    void setConnectNeverCompletes(bool never) { m_connectHangs = never; }
    // Host names the lookups were asked for, in order.
    QList<QByteArray> hostLookups() const { return m_hostLookups; }

    Wsa::Socket socket(int af, int type, int protocol) override;
    int connect(Wsa::Socket s, const SockAddrIn* name, int nameLength) override;
    int recv(Wsa::Socket s, void* buffer, int length, int flags) override;
    int send(Wsa::Socket s, const void* buffer, int length, int flags) override;
    int closesocket(Wsa::Socket s) override;
    int ioctlsocket(Wsa::Socket s, qint32 command, quint32* argument) override;
    int getpeername(Wsa::Socket s, SockAddrIn* name, int* nameLength) override;
    quint32 inet_addr(const char* text) override;
    QByteArray inet_ntoa(quint32 address) override;
    quint16(htons)(quint16 value) override;
    quint16(ntohs)(quint16 value) override;
    quint32(ntohl)(quint32 value) override;
    int WSAStartup(quint16 versionRequested, WsaData* data) override;
    int WSACleanup() override;
    int WSAGetLastError() override;
    bool WSAIsBlocking() override;
    int WSACancelBlockingCall() override;
    int WSAAsyncSelect(Wsa::Socket s, QObject* window, quint32 message, qint32 events) override;
    quint32 WSAAsyncGetHostByName(QObject* window, quint32 message, const char* name, char* buffer,
                                  int bufferLength) override;
    quint32 WSAAsyncGetServByName(QObject* window, quint32 message, const char* name,
                                  const char* protocol, char* buffer, int bufferLength) override;
    quint32 WSAAsyncGetServByPort(QObject* window, quint32 message, int port, const char* protocol,
                                  char* buffer, int bufferLength) override;
    int WSACancelAsyncRequest(quint32 request) override;

private:
    struct Answer {
        quint32 id;
        QPointer<QObject> window;
        quint32 message;
        char* buffer;
        int bufferLength;
        QByteArray reply;
        int error;
    };
    // True when this call is to fail; the error is then the last error.
    bool injected(Fn fn);
    int fail(int wsaError);
    bool forwarded();
    quint32 answer(QObject* window, quint32 message, char* buffer, int bufferLength,
                   const QByteArray& reply, int error);
    void deliver(const Answer& a);

    ISocketApi* m_inner;
    int m_calls[fnCount] = {};
    int m_failCount[fnCount] = {};
    int m_failError[fnCount] = {};
    bool m_ownError = false;
    int m_lastError = 0;
    QHash<QByteArray, QByteArray> m_hosts;
    QHash<QByteArray, int> m_hostErrors;
    QHash<QByteArray, quint16> m_services;
    bool m_hold = false;
    bool m_connectHangs = false;
    QList<Answer> m_held;
    QList<QByteArray> m_hostLookups;
    quint32 m_nextId = 0x40000000u;
};
