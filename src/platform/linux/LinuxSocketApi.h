#pragma once

#include "ports/ISocketApi.h"

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QPointer>

#include <functional>
#include <memory>

class QSocketNotifier;

// The socket layer on the C library's BSD sockets. Sockets are non-blocking; their readiness is
// watched with QSocketNotifier and reported as the 1.1 interface's notifications, posted in the
// order they happen: FD_CONNECT once when a connect ends, FD_READ again only after recv, FD_WRITE
// after the connect and again after a send that would block, FD_CLOSE once at the end of the
// stream. Host and service lookups run on their own threads; their replies are copied into the
// caller's buffer on the GUI thread just before the reply message is posted, so a cancelled
// request never touches the caller's buffer. Error numbers are the 1.1 interface's.
class LinuxSocketApi : public ISocketApi {
public:
    LinuxSocketApi();
    ~LinuxSocketApi() override;

    // The 1.1 interface's number for an errno value; an errno without one is returned unchanged.
    static int wsaErrorFromErrno(int error);
    // The number for a getaddrinfo() result (EAI_*); errnoValue is used for EAI_SYSTEM.
    static int wsaErrorFromLookup(int eaiError, int errnoValue);

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
    struct Watch;
    struct Request;
    struct Hub;
    class Receiver;

    int fail(int wsaError);
    Watch* watchOf(Wsa::Socket s);
    void post(Watch& w, qint32 event, int error);
    void onReadable(Wsa::Socket s);
    void onWritable(Wsa::Socket s);
    void rearmRead(Watch& w);
    quint32 startRequest(QObject* window, quint32 message, char* buffer, int bufferLength,
                         std::function<QByteArray(int& error)> work);
    void finishRequest(quint32 id, const QByteArray& reply, int error);

    int m_lastError = 0;
    int m_startups = 0;
    quint32 m_nextRequest = 1;
    QHash<Wsa::Socket, Watch*> m_watches;
    QHash<quint32, Request*> m_requests;
    std::shared_ptr<Hub> m_hub;
    Receiver* m_receiver;
};
