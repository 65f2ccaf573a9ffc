#include "compat/winsock/TCustomClientSocket.h"

#include "compat/winsock/ESockError.h"
#include "compat/winsock/SocketApi.h"
#include "compat/winsock/SocketErrors.h"
#include "compat/winsock/TStreamSocket.h"

TCustomClientSocket::TCustomClientSocket(QObject* owner) : TSockCtrl(owner) {}

TCustomClientSocket::~TCustomClientSocket() = default;

void TCustomClientSocket::Open()
{
    // An Open made while an earlier one waits for its lookups would free the socket that Open
    // is still working on; a closing socket is still draining through OnRead.
    if (m_opening ||
        (m_socket && (m_socket->Connected() || m_socket->SocketState() == TSocketBase::ssClosing)))
        throw ESockError(SocketErrorText(smAlreadyOpened));
    m_socket.reset();
    m_socket = std::make_unique<TStreamSocket>(this);
    m_opening = true;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{m_opening};
    m_socket->Connect(HostName(), m_options, PortNumber(), ServiceName(), HostAddress());
}

void TCustomClientSocket::Close()
{
    if (!m_socket || !m_socket->Connected())
        throw ESockError(SocketErrorText(smNotOpen));
    DisarmTimeOut();
    m_socket->Close();
}

QString TCustomClientSocket::PeerAddressText(TSocketBase* socket)
{
    if (!socket || socket->Handle() == Wsa::InvalidSocket || !socket->Connected())
        return QStringLiteral("?");
    ISocketApi& api = RequireSocketApi();
    SockAddrIn peer;
    int length = sizeof peer;
    CheckSocketResult(socket, api.getpeername(socket->Handle(), &peer, &length), 0, smGetPeerName);
    return QString::fromLatin1(api.inet_ntoa(peer.sin_addr));
}

void TCustomClientSocket::NotifyConnect(TSocketBase* socket)
{
    if (auto handler = OnConnect)
        handler(this, socket);
}

void TCustomClientSocket::HandleSocketEvent(const SocketMessageEvent& message)
{
    // The handle in wParam is not compared: whatever arrives is for the current socket, unless
    // that was closed since (a connect given up on may have completed just before).
    TSocketBase* socket = m_socket.get();
    if (!socket || socket->Handle() == Wsa::InvalidSocket)
        return;
    const qint32 event = Wsa::lowWord(message.lParam);
    const qint32 error = Wsa::highWord(message.lParam);
    socket->setLastError(error);
    switch (event) {
    case Wsa::FdRead:
        HandleRead();
        break;
    case Wsa::FdWrite:
        HandleWrite();
        break;
    case Wsa::FdConnect:
        HandleConnect(error);
        break;
    case Wsa::FdClose:
        HandleClose();
        break;
    default:
        break;
    }
}

void TCustomClientSocket::HandleConnect(qint32 error)
{
    DisarmTimeOut();
    TSocketBase* socket = m_socket.get();
    if (error == 0) {
        socket->setSocketState(TSocketBase::ssConnected);
        NotifyInfo(socket, siConnected);
    }
    // A failed connect is reported here too, with LastError set and Connected false.
    socket->NotifyConnect();
}

void TCustomClientSocket::HandleRead()
{
    m_socket->NotifyRead();
}

void TCustomClientSocket::HandleWrite()
{
    m_socket->NotifyWrite();
}

void TCustomClientSocket::HandleClose()
{
    if (m_socket->Connected())
        DisarmTimeOut();
    m_socket->NotifyDisconnect();
}

void TCustomClientSocket::HandleTimeOut()
{
    // A connect that timed out is over for good: left open, the kernel would finish it later
    // and a connection nobody waits for would be reported, used, and block the next Open.
    // A lookup's time-out ends its wait instead, and Open fails there.
    if (TSocketBase* socket = m_socket.get(); socket && !socket->Connected() && !Waiting())
        socket->Abandon();
    TSockCtrl::HandleTimeOut();
}
