#include "compat/winsock/TStreamSocket.h"

#include "compat/winsock/ESockError.h"
#include "compat/winsock/SocketApi.h"
#include "compat/winsock/SocketErrors.h"
#include "compat/winsock/TSockCtrl.h"

TStreamSocket::TStreamSocket(TSockCtrl* owner) : TSocketBase(owner) {}

void TStreamSocket::SetSocketType(qint32 type)
{
    if (type == Wsa::SockStream)
        TSocketBase::SetSocketType(type);
}

int TStreamSocket::Write(const void* buffer, int count)
{
    NotifyInfo(siSending);
    if (m_handle == Wsa::InvalidSocket || !Connected())
        return 0;
    try {
        return CheckSocketResult(this, RequireSocketApi().send(m_handle, buffer, count, 0),
                                 Wsa::WSAEWOULDBLOCK, smSending);
    } catch (const ESockError&) {
        Close();
        throw;
    }
}

int TStreamSocket::Read(void* buffer, int count)
{
    NotifyInfo(siReceiving);
    // A closing socket still reads: Close drains what is waiting through OnRead.
    if (m_handle == Wsa::InvalidSocket || (m_state != ssConnected && m_state != ssClosing))
        throw ESockError(SocketErrorText(smNotOpen));
    try {
        return CheckSocketResult(this, RequireSocketApi().recv(m_handle, buffer, count, 0),
                                 Wsa::WSAEWOULDBLOCK, smReceiving);
    } catch (const ESockError&) {
        Close();
        throw;
    }
}

void TStreamSocket::Connect(const QString& hostName, TAsyncOptions options, quint16 portNumber,
                            const QString& serviceName, const QString& hostAddress)
{
    if (!TSockCtrl::SocketLayerStarted())
        RaiseSocketError(Wsa::WSANOTINITIALISED, smNone);
    if (Connected())
        RaiseSocketError(Wsa::WSAEISCONN, smNone);
    ISocketApi& api = RequireSocketApi();
    m_handle = CheckSocketResult(this, api.socket(Wsa::AfInet, m_type, 0), 0, smCreatingSocket);
    NotifyInfo(siLookup);

    m_address = SockAddrIn{};
    if (!hostName.isEmpty()) {
        m_address.sin_addr = m_owner->LookupHost(hostName);
        m_owner->setHostAddressText(QString::fromLatin1(api.inet_ntoa(m_address.sin_addr)));
    } else if (hostAddress.isEmpty()) {
        throw ESockError(SocketErrorText(smNoAddress));
    } else if (hostAddress != QLatin1String("0.0.0.0")) {
        // Only the start of the text can hold an address.
        m_address.sin_addr = api.inet_addr(hostAddress.left(31).toLatin1().constData());
    }
    const quint16 port = serviceName.isEmpty() ? portNumber : m_owner->LookupService(serviceName);
    m_address.sin_port = api.htons(port);

    BeforeSelect();
    api.WSAAsyncSelect(m_handle, m_owner->NotificationWindow(), SockMsgNotify,
                       options | Wsa::FdConnect | Wsa::FdClose);
    try {
        m_owner->ArmTimeOut();
        NotifyInfo(siConnecting);
        try {
            CheckSocketResult(this, api.connect(m_handle, &m_address, sizeof(m_address)),
                              Wsa::WSAEWOULDBLOCK, smConnecting);
        } catch (const ESockError&) {
            Close();
            throw;
        }
    } catch (...) {
        m_owner->DisarmTimeOut();
        throw;
    }
}
