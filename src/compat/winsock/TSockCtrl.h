#pragma once

#include "compat/winsock/TSocketBase.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <map>
#include <memory>
#include <vector>

class QEventLoop;
class SocketMessageEvent;

// Messages of the notification object.
enum SockMsg : quint32 {
    SockMsgNotify = 2135,     // a socket notification: wParam handle, lParam event | error << 16
    SockMsgClosed = 2136,     // a socket was closed: wParam the socket object
    SockMsgLookupDone = 2138, // wParam request, lParam length | error << 16
    SockMsgDrain = 2139       // moves the deferred-notification queue on by one
};

// A socket component: its notification object, lookups, time-out and events. Everything runs on
// the GUI thread from the event loop.
//
// Exceptions: an exception raised while a notification or a time-out is handled (also one thrown
// by an event handler) leaves the Qt event delivery. The application's notify() override catches
// it and reports it (HoroluxApplication shows it in a box); a test catches it the same way with
// its own QCoreApplication::notify override. The component stays usable.
//
// Waits: lookups wait with a nested event loop, so timers, input and other components keep
// running. Notifications that arrive meanwhile are queued and handled in arrival order once no
// wait is in progress. When the application quits during a wait, the wait ends as timed out
// (error 10060) without calling OnTimeOut; a wait without time-out cannot outlive the event loop.
class TSockCtrl : public QObject {
public:
    using TSocketEvent = std::function<void(QObject* Sender, TSocketBase* Socket)>;
    using TSockInfoEvent =
        std::function<void(QObject* Sender, TSockInfo icode, TSocketBase* Socket)>;

    // Starts the socket layer with the first component; throws ESockError when it cannot be
    // started, std::runtime_error when no socket layer is installed.
    explicit TSockCtrl(QObject* owner = nullptr);
    ~TSockCtrl() override;

    // Address: a dotted address (HostAddress) or a host name (HostName). Cut to 255 characters.
    void setAddress(const QString& value);
    QString Address() const { return m_address; }
    // Port: a number (PortNumber, ServiceName looked up) or a service name (PortNumber looked up).
    void setPort(const QString& value);
    QString Port() const { return m_port; }
    // Protocol: a name, or a number turned into a name; used by service lookups.
    void setProtocol(const QString& value);
    QString Protocol() const { return m_protocol; }
    // Seconds allowed for each lookup and for the connect; 0 = no time-out. Negative is 0.
    void setTimeOut(int seconds);
    int TimeOut() const { return m_timeOut; }

    QString HostName() const { return m_hostName; }
    QString HostAddress() const { return m_hostAddress; }
    QString ServiceName() const { return m_serviceName; }
    quint16 PortNumber() const { return m_portNumber; }
    QString ProtocolName() const { return m_protocolName; }
    bool TimedOut() const { return m_timedOut; }
    // The current socket object (none before the first Open).
    TSocketBase* Socket() const { return m_socket.get(); }
    // The object socket notifications and lookup replies are posted to.
    QObject* NotificationWindow() const;

    TSockInfoEvent OnInfo;
    TSocketEvent OnDisconnect, OnRead, OnWrite, OnTimeOut;

    // For the socket objects.
    // With no current socket (a time-out of a Port lookup before the first Open), OnInfo and
    // OnTimeOut are called with a null Socket.
    virtual void NotifyInfo(TSocketBase* socket, TSockInfo code);
    virtual void NotifyConnect(TSocketBase*) {}
    void ArmTimeOut();
    void DisarmTimeOut();
    // Host lookup: the first address, network order. Names over 64 bytes are refused as not
    // found. Throws ESockError.
    quint32 LookupHost(const QString& name);
    // Service lookup: the port in host order, 0 when not found or timed out. Names over 64 bytes
    // and protocol names over 32 are not looked up (0). Throws ESockError when the request
    // cannot be started.
    quint16 LookupService(const QString& name);
    // Reverse service lookup: the service name, empty when not found. Throws ESockError.
    QString LookupServiceName(quint16 port);
    // Waits for a lookup reply while the event loop runs; the reply's error, 0 on success,
    // 10060 after a time-out or when the application quits.
    qint32 WaitForAsync(quint32 request);
    void setHostAddressText(const QString& text) { m_hostAddress = text.left(255); }

    // Process-wide state of the socket layer.
    static bool SocketLayerStarted();
    static int WaitDepth();
    static int PendingNotificationCount();

protected:
    // A socket of this component was closed: its queued notifications are voided.
    virtual void SocketClosed();
    virtual void HandleSocketEvent(const SocketMessageEvent& message) = 0;
    virtual void HandleClose();
    virtual void HandleRead();
    virtual void HandleWrite();
    virtual void HandleTimeOut();
    // A lookup of this component is being waited for.
    bool Waiting() const { return !m_waits.empty(); }

    std::unique_ptr<TSocketBase> m_socket;

private:
    friend class SockNotifyWindow;
    friend struct SockLib;
    void WindowProc(const SocketMessageEvent& message);
    void CountDown();
    void WakeWaits();

    QObject* m_window = nullptr;
    bool m_timedOut = false;
    TSockCtrl* m_prevArmed = nullptr;
    TSockCtrl* m_nextArmed = nullptr;
    qint32 m_countdown = 0;
    bool m_armed = false;
    QString m_hostName;
    QString m_hostAddress = QStringLiteral("0.0.0.0");
    QString m_serviceName;
    quint16 m_portNumber = 0;
    QString m_address;
    QString m_port;
    qint32 m_timeOut = 0;
    QString m_protocol;
    QString m_protocolName = QStringLiteral("tcp");
    // Replies that arrived, by request handle: error and length. Kept per request so that a
    // nested wait on the same component cannot hide an outer wait's reply.
    struct Reply {
        qint32 error = 0;
        qint32 length = 0;
    };
    std::map<quint32, Reply> m_replies;
    struct WaitFrame {
        QEventLoop* loop;
        bool woken;
    };
    std::vector<WaitFrame*> m_waits;
};
