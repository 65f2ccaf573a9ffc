#include "platform/linux/SessionBus.h"

#include "platform/linux/BusProbe.h"

#include <QDBusConnection>
#include <QFileInfo>

namespace {

enum class State { Unsettled, Usable, Unusable };
State s_state = State::Unsettled; // the GUI thread's

// Qt keeps the first outcome of connecting to the session bus for the whole run, and hands it
// to everyone who asks, its accessibility bridge and tray included. An address no transport
// takes fails at once, so that failure is what they all get, without a wait. The environment is
// put back for the programs the clock starts.
void refuseForTheRun()
{
    const char* const name = "DBUS_SESSION_BUS_ADDRESS";
    const bool wasSet = qEnvironmentVariableIsSet(name);
    const QByteArray was = qgetenv(name);
    qputenv(name, "horolux-not-answering:");
    QDBusConnection::sessionBus();
    if (wasSet)
        qputenv(name, was);
    else
        qunsetenv(name);
}

} // namespace

bool SessionBus::named()
{
    if (!qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"))
        return true;
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return !runtime.isEmpty() && QFileInfo::exists(runtime + QStringLiteral("/bus"));
}

QString SessionBus::settle(int limitMs)
{
    if (s_state != State::Unsettled)
        return {};
    s_state = State::Unusable;
    if (!named())
        return {};
    switch (BusProbe::await(BusProbe::sessionAddress(), limitMs)) {
    case BusProbe::Verdict::Answers:
    case BusProbe::Verdict::Unprobed:
        // Connected now, while it is known to answer, for every later user.
        if (QDBusConnection::sessionBus().isConnected())
            s_state = State::Usable;
        return {};
    case BusProbe::Verdict::Absent: // fails at once anyway, quietly as ever
        return {};
    case BusProbe::Verdict::Silent:
        break;
    }
    refuseForTheRun();
    return QStringLiteral("horolux: the session bus does not answer; running without it "
                          "(no accessibility, desktop notifications or reminders over the bus)");
}

bool SessionBus::usable()
{
    settle(BusProbe::DefaultLimitMs);
    return s_state == State::Usable;
}
