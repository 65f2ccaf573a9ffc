#include "platform/linux/DBusReminderService.h"

#include "platform/linux/SessionBus.h"

#include <QDBusConnection>
#include <QDBusMessage>

namespace {

const QString InvalidArgument = QStringLiteral("org.horolux.Horolux.Error.InvalidArgument");
const QString Failed = QStringLiteral("org.horolux.Horolux.Error.Failed");

QDBusMessage busCall(const QString& method)
{
    return QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.DBus"),
                                          QStringLiteral("/org/freedesktop/DBus"),
                                          QStringLiteral("org.freedesktop.DBus"), method);
}

} // namespace

DBusReminderService::DBusReminderService(int answerLimitMs, QObject* parent)
    : QObject(parent), m_answerLimitMs(answerLimitMs)
{
}

DBusReminderService::~DBusReminderService()
{
    withdraw();
}

bool DBusReminderService::publish(ReminderRequestHandler handler)
{
    m_handler = std::move(handler);
    if (m_published)
        return true;
    // No bus is the usual case outside a desktop session, and nothing worth a word; one that
    // does not answer was told of at the start.
    if (!SessionBus::usable())
        return false;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.registerObject(Path, this, QDBusConnection::ExportScriptableSlots))
        return false;
    // Never queued for the name: a program that holds it keeps it, and the clock runs without.
    QDBusMessage request = busCall(QStringLiteral("RequestName"));
    request << Name << uint(0x4); // DBUS_NAME_FLAG_DO_NOT_QUEUE
    const QDBusMessage reply = bus.call(request, QDBus::Block, m_answerLimitMs);
    const uint result = reply.arguments().value(0).toUInt();
    if (reply.type() == QDBusMessage::ReplyMessage && (result == 1 || result == 4)) {
        m_published = true; // the primary owner, or already it
        return true;
    }
    bus.unregisterObject(Path);
    if (reply.type() == QDBusMessage::ErrorMessage) {
        // The bus may still grant the name after the wait ran out; it is given back at once.
        bus.send(busCall(QStringLiteral("ReleaseName")) << Name);
        qWarning("horolux: the session bus did not give the name %s: %s", qPrintable(Name),
                 qPrintable(reply.errorMessage()));
    } else {
        qWarning("horolux: another program owns the session bus name %s", qPrintable(Name));
    }
    return false;
}

void DBusReminderService::withdraw()
{
    // Calls already on their way are refused from here on, without the handler.
    m_handler = nullptr;
    if (!m_published)
        return;
    m_published = false;
    // Not waited for: the end of the run stays short even on a stuck bus, and the bus frees
    // the name with the connection in any case.
    QDBusConnection bus = QDBusConnection::sessionBus();
    bus.unregisterObject(Path);
    bus.send(busCall(QStringLiteral("ReleaseName")) << Name);
}

QStringList DBusReminderService::answer(const ReminderRequest& request)
{
    if (!m_handler) {
        sendErrorReply(Failed, QStringLiteral("The clock is ending"));
        return {};
    }
    const ReminderReply reply = m_handler(request);
    if (reply.status != 0)
        sendErrorReply(reply.status == 2 ? InvalidArgument : Failed, reply.error);
    return reply.lines;
}

void DBusReminderService::AddReminder(const QString& time, const QString& text, QStringList& lines)
{
    lines = answer({ReminderRequest::Verb::Remind, time, text, {}});
}

void DBusReminderService::List(QStringList& lines)
{
    lines = answer({ReminderRequest::Verb::List, {}, {}, {}});
}

void DBusReminderService::Cancel(const QString& id, QStringList& lines)
{
    lines = answer({ReminderRequest::Verb::Cancel, {}, {}, id});
}

void DBusReminderService::Snooze(const QString& id, uint minutes, QStringList& lines)
{
    lines = answer({ReminderRequest::Verb::Snooze, QStringLiteral("%1m").arg(minutes), {}, id});
}

void DBusReminderService::Show()
{
    answer({ReminderRequest::Verb::Show, {}, {}, {}});
}
