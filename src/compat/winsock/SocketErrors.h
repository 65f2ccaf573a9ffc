#pragma once

#include <QString>

class TSocketBase;

// String-table ids of the socket messages.
enum SocketMessageId : int {
    smNone = 0,
    smFindingAddress = 20001,
    smGetHostByAddr = 20002,
    smGetHostByName = 20003,
    smGetServByName = 20004,
    smGetServByPort = 20005,
    smFindingHost = 20006,
    smBinding = 20007,
    smConnecting = 20008,
    smCreatingSocket = 20009,
    smGetPeerName = 20010,
    smGetSockName = 20011,
    smBytesWaiting = 20012,
    smListening = 20013,
    smReceiving = 20014,
    smSending = 20015,
    smStartingUp = 20016,
    smNoAddress = 20017,
    smNotOpen = 20018,
    smReverseLookupZero = 20019,
    smAlreadyOpened = 20020,
    smDatagramTooLarge = 20021,
    smLibraryLoaded = 20022,
};

// The string-table entry with this id, a socket message or the description of an error number
// (at most 255 characters); empty for 0; "Unknown Error <id>" for an id without an entry.
QString SocketErrorText(int id);

// The exception text for an error number and a message id.
QString SocketErrorMessage(int code, int messageId);

// Throws ESockError with SocketErrorMessage(code, messageId).
[[noreturn]] void RaiseSocketError(int code, int messageId);

// A result of -1 is a failure: the socket's LastError takes the layer's last error, and unless
// that is the tolerated code (then 0 is returned) the failure is raised with messageId. Any other
// result clears LastError and is returned.
int CheckSocketResult(TSocketBase* socket, int result, int toleratedCode, int messageId);
