#pragma once

#include "compat/winsock/TSocketBase.h"

// A TCP socket: connect, read, write, close.
class TStreamSocket : public TSocketBase {
public:
    explicit TStreamSocket(TSockCtrl* owner);

    // Only the stream type is accepted; anything else is ignored.
    void SetSocketType(qint32 type) override;
    int Write(const void* buffer, int count) override;
    int Read(void* buffer, int count) override;
    // Resolves the address and the service (waiting for the lookups), asks for notifications
    // and starts the connect; returns with the connect pending. Throws ESockError.
    void Connect(const QString& hostName, TAsyncOptions options, quint16 portNumber,
                 const QString& serviceName, const QString& hostAddress) override;
};
