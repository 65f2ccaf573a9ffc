#pragma once

#include "compat/winsock/TCustomClientSocket.h"

// The client socket the program uses. Typical round:
//   setPort("time"); setTimeOut(10); setAddress(host); OnConnect/OnRead/OnTimeOut = ...;
//   Open();   // looks up, starts the connect, returns
//   ... OnInfo(siConnected), OnConnect, OnRead -> Socket->Read(...) ... Close();
// Events are called on the GUI thread from the event loop; see TSockCtrl for what happens to an
// exception thrown there.
class TClientSocket : public TCustomClientSocket {
public:
    explicit TClientSocket(QObject* owner = nullptr);
    ~TClientSocket() override;
};
