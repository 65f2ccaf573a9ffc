#include "compat/winsock/TSocketBase.h"

#include "compat/winsock/SocketApi.h"
#include "compat/winsock/SocketErrors.h"
#include "compat/winsock/TSockCtrl.h"

#include <QCoreApplication>

TSocketBase::TSocketBase(TSockCtrl* owner) : m_owner(owner) {}

TSocketBase::~TSocketBase()
{
    // Freed without any event: a valid handle is closed silently.
    if (m_handle != Wsa::InvalidSocket) {
        if (ISocketApi* api = SocketApi())
            api->closesocket(m_handle);
    }
}

// Each handler is copied before the call: it may replace itself, or free this socket.
void TSocketBase::NotifyRead()
{
    if (auto handler = m_owner->OnRead)
        handler(m_owner, this);
}

void TSocketBase::NotifyWrite()
{
    if (auto handler = m_owner->OnWrite)
        handler(m_owner, this);
}

void TSocketBase::NotifyConnect()
{
    m_owner->NotifyConnect(this);
}

void TSocketBase::NotifyDisconnect()
{
    if (auto handler = m_owner->OnDisconnect)
        handler(m_owner, this);
}

void TSocketBase::NotifyInfo(TSockInfo code)
{
    if (code == siListening)
        m_state = ssListening;
    else if (code == siClosed)
        m_state = ssClosed;
    if (auto handler = m_owner->OnInfo)
        handler(m_owner, code, this);
}

void TSocketBase::NotifyTimeOut()
{
    if (auto handler = m_owner->OnTimeOut)
        handler(m_owner, this);
}

void TSocketBase::SetSocketType(qint32 type)
{
    m_type = type;
}

int TSocketBase::Write(const void*, int)
{
    return 0;
}

int TSocketBase::Read(void*, int)
{
    return 0;
}

void TSocketBase::Close()
{
    if (!TSockCtrl::SocketLayerStarted() || m_handle == Wsa::InvalidSocket)
        return;
    ISocketApi& api = RequireSocketApi();
    if (Connected()) {
        m_state = ssClosing;
        // The read handler is expected to consume what is waiting; one that reads nothing would
        // keep the loop going for ever, so the drain stops when a round took nothing. A Close
        // made from inside the drain finds the socket closing and goes no further.
        if (!m_draining) {
            m_draining = true;
            struct Reset {
                bool& flag;
                ~Reset() { flag = false; }
            } reset{m_draining};
            quint32 before = 0;
            while (m_owner->OnRead) {
                quint32 waiting = 0;
                CheckSocketResult(this, api.ioctlsocket(m_handle, Wsa::FionRead, &waiting), 0,
                                  smBytesWaiting);
                waiting &= 0xFFFFu;
                if (waiting == 0 || (before != 0 && waiting >= before))
                    break;
                before = waiting;
                NotifyRead();
                if (m_handle == Wsa::InvalidSocket)
                    return; // the handler closed it
            }
        }
    }
    api.closesocket(m_handle);
    m_owner->DisarmTimeOut();
    NotifyInfo(siClosed);
    m_handle = Wsa::InvalidSocket;
    QCoreApplication::postEvent(
        m_owner->NotificationWindow(),
        new SocketMessageEvent(SockMsgClosed, reinterpret_cast<quintptr>(this), 0));
}

void TSocketBase::Abandon()
{
    if (m_handle == Wsa::InvalidSocket)
        return;
    if (ISocketApi* api = SocketApi())
        api->closesocket(m_handle);
    m_handle = Wsa::InvalidSocket;
    m_state = ssClosed;
    QCoreApplication::postEvent(
        m_owner->NotificationWindow(),
        new SocketMessageEvent(SockMsgClosed, reinterpret_cast<quintptr>(this), 0));
}
