#include "compat/winsock/TSockCtrl.h"

#include "compat/winsock/ESockError.h"
#include "compat/winsock/SocketApi.h"
#include "compat/winsock/SocketErrors.h"

#include <QBasicTimer>
#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>
#include <QTimerEvent>

#include <algorithm>
#include <cstring>
#include <deque>

namespace {

// Lookup limits: longer names are not passed on (a host name is then not found).
constexpr int kHostNameLimit = 64;
constexpr int kServiceNameLimit = 64;
constexpr int kProtocolNameLimit = 32;
constexpr int kReplySize = 1024;
constexpr int kPropertyLimit = 255;

// Runs the deferred-notification queue one step per message.
class SockQueuePump : public QObject {
public:
    using QObject::QObject;

protected:
    bool event(QEvent* e) override;
};

// The shared one-second time-out tick.
class SockTimeOutTicker : public QObject {
public:
    using QObject::QObject;
    QBasicTimer timer;

protected:
    void timerEvent(QTimerEvent* e) override;
};

} // namespace

// Process-wide state of the socket layer.
struct SockLib {
    struct Pending {
        quint32 message;
        quintptr wParam;
        qint32 lParam;
        QPointer<TSockCtrl> component; // cleared when the entry is voided
    };
    static inline bool started = false;
    static inline int liveCount = 0;
    static inline int waitDepth = 0;
    static inline std::deque<Pending> pending;
    static inline QPointer<SockQueuePump> pump;
    static inline QPointer<SockTimeOutTicker> ticker;
    static inline TSockCtrl* armedHead = nullptr;
    static inline int armedCount = 0;

    static void postDrain()
    {
        if (!pump)
            pump = new SockQueuePump(QCoreApplication::instance());
        QCoreApplication::postEvent(pump, new SocketMessageEvent(SockMsgDrain, 0, 0));
    }

    // One deferred notification, when no wait is in progress. The next step is posted first,
    // so an exception from the handler cannot stall the queue.
    static void queueStep()
    {
        if (waitDepth != 0 || pending.empty())
            return;
        const Pending entry = pending.front();
        pending.pop_front();
        if (!pending.empty())
            postDrain();
        if (TSockCtrl* component = entry.component.data()) {
            const SocketMessageEvent message(entry.message, entry.wParam, entry.lParam);
            component->HandleSocketEvent(message);
        }
    }

    static void tick()
    {
        // Every armed component is served, the tail first; a handler may disarm or destroy
        // any of them meanwhile.
        std::vector<QPointer<TSockCtrl>> armed;
        for (TSockCtrl* c = armedHead; c; c = c->m_nextArmed)
            armed.emplace_back(c);
        for (auto it = armed.rbegin(); it != armed.rend(); ++it) {
            if (TSockCtrl* c = it->data(); c && c->m_armed)
                c->CountDown();
        }
    }

    static void start()
    {
        if (started)
            return;
        ISocketApi& api = RequireSocketApi();
        waitDepth = 0;
        liveCount = 0;
        WsaData data;
        const int result = api.WSAStartup(0x0101, &data);
        if (result != 0)
            RaiseSocketError(result, smStartingUp);
        started = true;
    }

    static void shutDown()
    {
        if (ISocketApi* api = SocketApi(); api && started) {
            if (api->WSAIsBlocking())
                api->WSACancelBlockingCall();
            api->WSACleanup();
        }
        pending.clear();
        waitDepth = 0;
        QThread::msleep(200);
        started = false;
    }
};

bool SockQueuePump::event(QEvent* e)
{
    if (e->type() != SocketMessageEvent::eventType())
        return QObject::event(e);
    SockLib::queueStep();
    return true;
}

void SockTimeOutTicker::timerEvent(QTimerEvent* e)
{
    if (e->timerId() == timer.timerId())
        SockLib::tick();
}

// The component's notification object: every message goes through WindowProc.
class SockNotifyWindow : public QObject {
public:
    explicit SockNotifyWindow(TSockCtrl* component) : m_component(component) {}

protected:
    bool event(QEvent* e) override
    {
        if (e->type() != SocketMessageEvent::eventType())
            return QObject::event(e);
        m_component->WindowProc(*static_cast<SocketMessageEvent*>(e));
        return true;
    }

private:
    TSockCtrl* m_component;
};

namespace {

// A whole number as the properties read one: optional sign and decimal digits, within 32 bits;
// -1 reads as no number.
bool wholeNumber(const QString& text, qint32& value)
{
    bool ok = false;
    value = text.trimmed().toInt(&ok, 10);
    return ok && value != -1;
}

struct Disarm {
    TSockCtrl* component;
    ~Disarm() { component->DisarmTimeOut(); }
};

} // namespace

TSockCtrl::TSockCtrl(QObject* owner) : QObject(owner)
{
    m_window = new SockNotifyWindow(this);
    try {
        SockLib::start();
    } catch (...) {
        delete m_window;
        throw;
    }
    setProtocol(QStringLiteral("tcp"));
    ++SockLib::liveCount;
}

TSockCtrl::~TSockCtrl()
{
    DisarmTimeOut();
    m_socket.reset();
    delete m_window;
    if (--SockLib::liveCount <= 0)
        SockLib::shutDown();
}

QObject* TSockCtrl::NotificationWindow() const
{
    return m_window;
}

void TSockCtrl::setAddress(const QString& value)
{
    ISocketApi& api = RequireSocketApi();
    m_address = value.left(kPropertyLimit);
    if (api.inet_addr(m_address.left(101).toLocal8Bit().constData()) != Wsa::InAddrNone) {
        m_hostAddress = m_address;
        m_hostName.clear();
    } else {
        m_hostName = m_address;
        m_hostAddress.clear();
    }
}

void TSockCtrl::setPort(const QString& value)
{
    RequireSocketApi();
    m_port = value.left(kPropertyLimit);
    qint32 number = 0;
    if (wholeNumber(m_port, number)) {
        m_portNumber = static_cast<quint16>(number);
        m_serviceName.clear();
        if (SockLib::started) {
            try {
                m_serviceName = LookupServiceName(m_portNumber);
            } catch (const ESockError&) {
                m_serviceName.clear();
            }
        }
    } else {
        m_serviceName = m_port;
        m_portNumber = 0;
        if (SockLib::started) {
            try {
                m_portNumber = LookupService(m_serviceName);
            } catch (const ESockError&) {
                m_portNumber = 0;
            }
        }
    }
}

void TSockCtrl::setProtocol(const QString& value)
{
    RequireSocketApi();
    m_protocol = value.left(kPropertyLimit);
    qint32 number = 0;
    if (!wholeNumber(m_protocol, number)) {
        m_protocolName = m_protocol;
        return;
    }
    switch (number) {
    case 0:
        m_protocolName = QStringLiteral("IP");
        break;
    case 1:
        m_protocolName = QStringLiteral("ICMP");
        break;
    case 2:
        m_protocolName = QStringLiteral("GGP");
        break;
    case 6:
        m_protocolName = QStringLiteral("TCP");
        break;
    case 12:
        m_protocolName = QStringLiteral("PUP");
        break;
    case 17:
        m_protocolName = QStringLiteral("UDP");
        break;
    case 22:
        m_protocolName = QStringLiteral("IDP");
        break;
    case 77:
        m_protocolName = QStringLiteral("ND");
        break;
    case 255:
        m_protocolName = QStringLiteral("RAW");
        break;
    default:
        m_protocolName.clear();
        break;
    }
}

void TSockCtrl::setTimeOut(int seconds)
{
    m_timeOut = std::max(seconds, 0);
}

void TSockCtrl::NotifyInfo(TSocketBase* socket, TSockInfo code)
{
    if (socket)
        socket->NotifyInfo(code);
    else if (auto handler = OnInfo)
        handler(this, code, nullptr);
}

void TSockCtrl::ArmTimeOut()
{
    if (m_timeOut <= 0 || !OnTimeOut)
        return;
    if (!SockLib::ticker)
        SockLib::ticker = new SockTimeOutTicker(QCoreApplication::instance());
    m_countdown = m_timeOut;
    m_timedOut = false;
    // Armed again while armed (a lookup made from inside a wait): the countdown restarts, the
    // list keeps one link.
    if (m_armed)
        return;
    m_prevArmed = nullptr;
    m_nextArmed = SockLib::armedHead;
    if (m_nextArmed)
        m_nextArmed->m_prevArmed = this;
    SockLib::armedHead = this;
    m_armed = true;
    if (++SockLib::armedCount == 1)
        SockLib::ticker->timer.start(1000, SockLib::ticker);
}

void TSockCtrl::DisarmTimeOut()
{
    if (!m_armed)
        return;
    if (m_prevArmed)
        m_prevArmed->m_nextArmed = m_nextArmed;
    else
        SockLib::armedHead = m_nextArmed;
    if (m_nextArmed)
        m_nextArmed->m_prevArmed = m_prevArmed;
    m_prevArmed = m_nextArmed = nullptr;
    m_armed = false;
    if (--SockLib::armedCount <= 0) {
        SockLib::armedCount = 0;
        if (SockLib::ticker)
            SockLib::ticker->timer.stop();
    }
}

void TSockCtrl::CountDown()
{
    if (m_countdown <= 0 || --m_countdown > 0)
        return;
    DisarmTimeOut();
    // Marked before the handlers run, so a handler that throws cannot keep a wait going.
    m_timedOut = true;
    WakeWaits();
    HandleTimeOut();
}

void TSockCtrl::HandleTimeOut()
{
    NotifyInfo(m_socket.get(), siTimedOut);
    if (TSocketBase* socket = m_socket.get())
        socket->NotifyTimeOut();
    else if (auto handler = OnTimeOut)
        handler(this, nullptr);
}

void TSockCtrl::HandleClose() {}
void TSockCtrl::HandleRead() {}
void TSockCtrl::HandleWrite() {}
void TSockCtrl::SocketClosed()
{
    for (SockLib::Pending& entry : SockLib::pending) {
        if (entry.component == this)
            entry.component = nullptr;
    }
}

quint32 TSockCtrl::LookupHost(const QString& name)
{
    ISocketApi& api = RequireSocketApi();
    const QByteArray host = name.toLocal8Bit();
    if (host.size() > kHostNameLimit)
        RaiseSocketError(Wsa::WSAHOST_NOT_FOUND, smFindingAddress);
    std::vector<char> buffer(kReplySize, 0);
    ArmTimeOut();
    Disarm disarm{this};
    const quint32 request = api.WSAAsyncGetHostByName(m_window, SockMsgLookupDone, host.constData(),
                                                      buffer.data(), kReplySize);
    if (request == 0)
        RaiseSocketError(api.WSAGetLastError(), smGetHostByName);
    const qint32 error = WaitForAsync(request);
    if (error != 0)
        RaiseSocketError(error, smFindingAddress);
    HostReply reply;
    std::memcpy(&reply, buffer.data(), sizeof reply);
    if (reply.addrCount < 1)
        RaiseSocketError(Wsa::WSANO_DATA, smFindingAddress);
    return reply.addrList[0];
}

quint16 TSockCtrl::LookupService(const QString& name)
{
    ISocketApi& api = RequireSocketApi();
    const QByteArray service = name.toLocal8Bit();
    const QByteArray protocol = m_protocolName.toLocal8Bit();
    if (service.size() > kServiceNameLimit || protocol.size() > kProtocolNameLimit)
        return 0;
    std::vector<char> buffer(kReplySize, 0);
    ArmTimeOut();
    Disarm disarm{this};
    const quint32 request =
        api.WSAAsyncGetServByName(m_window, SockMsgLookupDone, service.constData(),
                                  protocol.constData(), buffer.data(), kReplySize);
    if (request == 0)
        RaiseSocketError(api.WSAGetLastError(), smGetServByName);
    if (WaitForAsync(request) != 0)
        return 0;
    ServReply reply;
    std::memcpy(&reply, buffer.data(), sizeof reply);
    return api.ntohs(reply.port);
}

QString TSockCtrl::LookupServiceName(quint16 port)
{
    ISocketApi& api = RequireSocketApi();
    const QByteArray protocol = m_protocolName.toLocal8Bit();
    if (protocol.size() > kProtocolNameLimit)
        return {};
    std::vector<char> buffer(kReplySize, 0);
    ArmTimeOut();
    Disarm disarm{this};
    const quint32 request =
        api.WSAAsyncGetServByPort(m_window, SockMsgLookupDone, api.htons(port),
                                  protocol.constData(), buffer.data(), kReplySize);
    if (request == 0)
        RaiseSocketError(api.WSAGetLastError(), smGetServByPort);
    if (WaitForAsync(request) != 0)
        return {};
    ServReply reply;
    std::memcpy(&reply, buffer.data(), sizeof reply);
    reply.name[sizeof reply.name - 1] = '\0';
    return QString::fromLocal8Bit(reply.name).left(kPropertyLimit);
}

qint32 TSockCtrl::WaitForAsync(quint32 request)
{
    ISocketApi& api = RequireSocketApi();
    ++SockLib::waitDepth;
    m_replies.erase(request);
    bool quitting = false;
    {
        // Leaves the wait in order also when an exception escapes the nested loop.
        struct Leave {
            TSockCtrl* self;
            quint32 request;
            ISocketApi& api;
            ~Leave()
            {
                SockLib::waitDepth = std::max(SockLib::waitDepth - 1, 0);
                SockLib::postDrain();
                if (self->m_replies.find(request) == self->m_replies.end())
                    api.WSACancelAsyncRequest(request);
            }
        } leave{this, request, api};
        while (m_replies.find(request) == m_replies.end() && !m_timedOut) {
            QEventLoop loop;
            WaitFrame frame{&loop, false};
            m_waits.push_back(&frame);
            struct Pop {
                std::vector<WaitFrame*>& waits;
                WaitFrame* frame;
                ~Pop() { waits.erase(std::find(waits.begin(), waits.end(), frame)); }
            } pop{m_waits, &frame};
            loop.exec();
            // Only the application quitting ends the loop unwoken: the wait ends as timed out.
            if (!frame.woken) {
                quitting = true;
                break;
            }
        }
    }
    const auto it = m_replies.find(request);
    if (it == m_replies.end()) {
        if (quitting)
            m_timedOut = true;
        return Wsa::WSAETIMEDOUT;
    }
    const qint32 error = it->second.error;
    m_replies.erase(it);
    return error;
}

void TSockCtrl::WakeWaits()
{
    for (WaitFrame* frame : m_waits) {
        frame->woken = true;
        frame->loop->exit(0);
    }
}

void TSockCtrl::WindowProc(const SocketMessageEvent& message)
{
    if (QCoreApplication::closingDown() && message.message != SockMsgClosed)
        return;
    switch (message.message) {
    case SockMsgNotify:
        if (SockLib::waitDepth > 0 || !SockLib::pending.empty())
            SockLib::pending.push_back(
                {message.message, message.wParam, message.lParam, QPointer<TSockCtrl>(this)});
        else
            HandleSocketEvent(message);
        break;
    case SockMsgClosed:
        SocketClosed();
        break;
    case SockMsgLookupDone:
        m_replies[static_cast<quint32>(message.wParam)] =
            Reply{Wsa::highWord(message.lParam), Wsa::lowWord(message.lParam)};
        WakeWaits();
        break;
    default:
        break;
    }
    SockLib::queueStep();
}

bool TSockCtrl::SocketLayerStarted()
{
    return SockLib::started;
}

int TSockCtrl::WaitDepth()
{
    return SockLib::waitDepth;
}

int TSockCtrl::PendingNotificationCount()
{
    return static_cast<int>(SockLib::pending.size());
}
