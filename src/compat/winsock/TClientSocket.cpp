#include "compat/winsock/TClientSocket.h"

TClientSocket::TClientSocket(QObject* owner) : TCustomClientSocket(owner) {}

TClientSocket::~TClientSocket() = default;
