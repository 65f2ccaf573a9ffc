#pragma once

#include "compat/winsock/TSockCtrl.h"

// Client behaviour: Open, Close, the connect notification and OnConnect.
class TCustomClientSocket : public TSockCtrl {
public:
    explicit TCustomClientSocket(QObject* owner = nullptr);
    ~TCustomClientSocket() override;

    // Replaces the current socket with a new TStreamSocket and starts it connecting; returns
    // with the connect pending. Throws ESockError "Socket Already opened" while connected, and
    // also when called again while an earlier Open still waits for its lookups (the pending
    // Open goes on undisturbed).
    void Open();
    // Closes the current connection, draining what is waiting through OnRead. Throws ESockError
    // "Socket not open" when not connected.
    void Close();
    // The connected peer's dotted address, "?" unless connected. Throws ESockError.
    QString PeerAddressText(TSocketBase* socket);

    void setOptions(TAsyncOptions options) { m_options = options; }
    TAsyncOptions Options() const { return m_options; }

    TSocketEvent OnConnect;

    void NotifyConnect(TSocketBase* socket) override;

protected:
    void HandleSocketEvent(const SocketMessageEvent& message) override;
    virtual void HandleConnect(qint32 error);
    void HandleRead() override;
    void HandleWrite() override;
    void HandleClose() override;
    void HandleTimeOut() override;

private:
    TAsyncOptions m_options = csoRead | csoWrite;
    bool m_opening = false;
};
