#pragma once

#include "ports/ISocketApi.h"

#include <QString>
#include <QtGlobal>

class TSockCtrl;

// Progress codes given to OnInfo.
enum TSockInfo : int {
    siLookup = 1,
    siConnecting = 2,
    siConnected = 3,
    siListening = 4,
    siReceiving = 5,
    siSending = 6,
    siClosed = 7,
    siTimedOut = 8,
    siAccepted = 9,
    siRejected = 11
};

// Which notifications a socket asks for: the FD_READ, FD_WRITE and FD_OOB bits.
using TAsyncOptions = qint32;
constexpr TAsyncOptions csoRead = Wsa::FdRead;
constexpr TAsyncOptions csoWrite = Wsa::FdWrite;
constexpr TAsyncOptions csoOOB = Wsa::FdOob;

// One socket handle with its address record and state. Notifications go to the owning
// component's events, with the owner as Sender and this object as Socket.
class TSocketBase {
public:
    enum State : quint8 { ssClosed = 0, ssConnected = 1, ssClosing = 2, ssListening = 3 };

    explicit TSocketBase(TSockCtrl* owner);
    virtual ~TSocketBase();
    TSocketBase(const TSocketBase&) = delete;
    TSocketBase& operator=(const TSocketBase&) = delete;

    virtual void NotifyRead();
    virtual void NotifyWrite();
    virtual void NotifyConnect();
    virtual void NotifyDisconnect();
    // Code 4 makes the state listening and code 7 closed before OnInfo is called.
    virtual void NotifyInfo(TSockInfo code);
    virtual void NotifyTimeOut();

    bool Connected() const { return m_state == ssConnected; }
    virtual void SetSocketType(qint32 type);
    // Bytes sent; 0 when not connected. Throws ESockError.
    virtual int Write(const void* buffer, int count);
    // Bytes placed, 0 when none waiting. Throws ESockError.
    virtual int Read(void* buffer, int count);
    virtual void BeforeSelect() {}
    virtual void Connect(const QString& hostName, TAsyncOptions options, quint16 portNumber,
                         const QString& serviceName, const QString& hostAddress) = 0;
    // Drains what is waiting through OnRead, closes the handle and reports siClosed; does nothing
    // when there is no handle.
    virtual void Close();
    // Closes the handle without draining or any event: for a connect given up on, whose late
    // completion must never be seen.
    void Abandon();

    qint32 LastError() const { return m_lastError; }
    void setLastError(qint32 code) { m_lastError = code; }
    Wsa::Socket Handle() const { return m_handle; }
    quint8 SocketState() const { return m_state; }
    void setSocketState(quint8 state) { m_state = state; }
    qint32 SocketType() const { return m_type; }
    const SockAddrIn& AddressRecord() const { return m_address; }
    TSockCtrl* Owner() const { return m_owner; }

protected:
    qint32 m_lastError = 0;
    Wsa::Socket m_handle = Wsa::InvalidSocket;
    TSockCtrl* m_owner;
    SockAddrIn m_address;
    quint8 m_state = ssClosed;
    qint32 m_type = Wsa::SockStream;

private:
    bool m_draining = false;
};
