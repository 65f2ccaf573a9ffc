#pragma once

#include <QString>

#include <functional>

class QObject;

// Whether a D-Bus bus answers, found out over a socket of our own within a deadline.
//
// Qt opens every bus connection in one thread of its own and waits there, without a limit of
// ours, for the bus to answer: a bus that takes the connection and never answers holds that
// thread for half a minute and more, and with it every other bus and whatever on the GUI thread
// touches one (accessibility, the tray, this program's services). So no bus is handed to Qt
// before it has answered here.
namespace BusProbe {

enum class Verdict {
    Answers,  // answered the greeting
    Silent,   // took the connection but did not answer in time
    Absent,   // nothing listens there, or it hung up
    Unprobed, // an address this probe does not read (tcp, autolaunch, ...): Qt decides as ever
};

// Long enough for a bus on a machine busy logging in; a bus answers within milliseconds.
constexpr int DefaultLimitMs = 2000;

// The address the bus library would use for each bus.
QString sessionAddress();
QString systemAddress();

// Blocks the calling thread for at most `limitMs`; for use before the event loop runs.
Verdict await(const QString& address, int limitMs = DefaultLimitMs);

// Never blocks: `done` runs later on `context`'s thread, within `limitMs`, and not at all once
// `context` is gone.
void ask(const QString& address, QObject* context, std::function<void(Verdict)> done,
         int limitMs = DefaultLimitMs);

} // namespace BusProbe
