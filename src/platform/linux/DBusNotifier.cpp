#include "platform/linux/DBusNotifier.h"

#include "platform/linux/SessionBus.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QGuiApplication>
#include <QVariantMap>

#include <utility>

namespace {

const QString Service = QStringLiteral("org.freedesktop.Notifications");
const QString Path = QStringLiteral("/org/freedesktop/Notifications");
const QString DismissKey = QStringLiteral("dismiss");
const QString SnoozeKey = QStringLiteral("snooze");
const QString DefaultKey = QStringLiteral("default");

} // namespace

DBusNotifier::DBusNotifier(int answerLimitMs, QObject* parent)
    : QObject(parent), m_answerLimitMs(answerLimitMs)
{
}

void DBusNotifier::withBus(std::function<void(bool up)> then)
{
    if (m_bus == Bus::Up) {
        then(true);
        return;
    }
    if (m_bus == Bus::Down) {
        QMetaObject::invokeMethod(
            this, [then = std::move(then)] { then(false); }, Qt::QueuedConnection);
        return;
    }
    m_waiting << std::move(then);
    if (m_bus == Bus::Connecting)
        return;
    m_bus = Bus::Connecting;
    // Decided once for the run, at the start; told later all the same, as callers expect.
    const bool up = SessionBus::usable();
    QMetaObject::invokeMethod(
        this, [this, up] { busFound(up); }, Qt::QueuedConnection);
}

void DBusNotifier::busFound(bool up)
{
    m_bus = up ? Bus::Up : Bus::Down;
    if (up) {
        QDBusConnection bus = QDBusConnection::sessionBus();
        // From whichever server owns the name now or later.
        bus.connect(QString(), Path, Service, QStringLiteral("ActionInvoked"), this,
                    SLOT(actionInvoked(uint, QString)));
        bus.connect(QString(), Path, Service, QStringLiteral("NotificationClosed"), this,
                    SLOT(notificationClosed(uint, uint)));
    }
    for (const auto& then : std::exchange(m_waiting, {}))
        then(up);
}

QDBusMessage DBusNotifier::call(const QString& method)
{
    return QDBusMessage::createMethodCall(Service, Path, Service, method);
}

void DBusNotifier::notify(const QString& title, const QString& text, quint32 replaces, Shown shown)
{
    withBus([this, title, text, replaces, shown = std::move(shown)](bool up) {
        if (up)
            send(title, text, replaces, shown);
        else
            shown(0);
    });
}

void DBusNotifier::send(const QString& title, const QString& text, quint32 replaces,
                        const Shown& shown)
{
    // The server says whether it reads the body as markup; the user's words are never markup.
    auto* asked =
        new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(
                                        call(QStringLiteral("GetCapabilities")), m_answerLimitMs),
                                    this);
    connect(asked, &QDBusPendingCallWatcher::finished, this,
            [this, title, text, replaces, shown](QDBusPendingCallWatcher* w) {
                w->deleteLater();
                const QDBusPendingReply<QStringList> capabilities = *w;
                if (capabilities.isError()) {
                    shown(0);
                    return;
                }
                const QStringList can = capabilities.value();
                const bool markup = can.contains(QStringLiteral("body-markup"));
                post(title, markup ? text.toHtmlEscaped() : text, replaces,
                     can.contains(QStringLiteral("actions")), shown);
            });
}

void DBusNotifier::post(const QString& title, const QString& body, quint32 replaces, bool actions,
                        const Shown& shown)
{
    const QString app = QGuiApplication::desktopFileName();
    QVariantMap hints;
    // The program plays the reminder's own sound, as the settings say.
    hints.insert(QStringLiteral("suppress-sound"), true);
    if (!app.isEmpty())
        hints.insert(QStringLiteral("desktop-entry"), app);
    QStringList keys{DismissKey, tr("Dismiss")};
    if (actions) {
        keys = QStringList{DefaultKey, tr("Open"), SnoozeKey, tr("Snooze 10 min")} + keys;
        // Kept after an action is picked, so that the program decides when it goes (and a
        // server does not drop the notice before the pop-up it opens is shown).
        hints.insert(QStringLiteral("resident"), true);
    }
    QDBusMessage message = call(QStringLiteral("Notify"));
    message << QGuiApplication::applicationDisplayName() << uint(replaces) << app << title << body
            << keys << hints << int(-1);
    auto* sent = new QDBusPendingCallWatcher(
        QDBusConnection::sessionBus().asyncCall(message, m_answerLimitMs), this);
    connect(sent, &QDBusPendingCallWatcher::finished, this, [shown](QDBusPendingCallWatcher* w) {
        w->deleteLater();
        const QDBusPendingReply<uint> id = *w;
        shown(id.isError() ? 0 : id.value());
    });
}

void DBusNotifier::close(quint32 id)
{
    withBus([id](bool up) {
        if (!up)
            return;
        QDBusMessage message = call(QStringLiteral("CloseNotification"));
        message << uint(id);
        // Nobody waits for the answer, and a server gone since is not started again for it.
        message.setAutoStartService(false);
        QDBusConnection::sessionBus().send(message);
    });
}

void DBusNotifier::setEvents(Events events)
{
    m_events = std::move(events);
}

void DBusNotifier::actionInvoked(uint id, const QString& action)
{
    if (!m_events)
        return;
    if (action == DismissKey)
        m_events(id, Event::Dismissed);
    else if (action == SnoozeKey)
        m_events(id, Event::Snoozed);
    else if (action == DefaultKey)
        m_events(id, Event::Opened);
}

void DBusNotifier::notificationClosed(uint id, uint)
{
    if (m_events)
        m_events(id, Event::Closed);
}
