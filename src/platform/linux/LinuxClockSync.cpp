#include "platform/linux/LinuxClockSync.h"

#include "platform/linux/SystemBus.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QVariantMap>

namespace {

IClockSync::State stateOf(const QVariantMap& properties)
{
    const QVariant ntp = properties.value(QStringLiteral("NTP"));
    if (ntp.typeId() != QMetaType::Bool)
        return IClockSync::State::Unknown;
    if (!ntp.toBool())
        return IClockSync::State::Off;
    return properties.value(QStringLiteral("NTPSynchronized")).toBool()
               ? IClockSync::State::Synchronised
               : IClockSync::State::Synchronising;
}

} // namespace

void LinuxClockSync::readState(QObject* context, std::function<void(State)> done)
{
    const int timeoutMs = m_timeoutMs;
    SystemBus::whenKnown(context, [context, done, timeoutMs](BusProbe::Verdict bus) {
        if (bus != BusProbe::Verdict::Answers) {
            done(State::Unknown);
            return;
        }
        QDBusMessage call = QDBusMessage::createMethodCall(
            QStringLiteral("org.freedesktop.timedate1"),
            QStringLiteral("/org/freedesktop/timedate1"),
            QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("GetAll"));
        call << QStringLiteral("org.freedesktop.timedate1");
        // Owned by the context, so an answer after it is gone reaches nobody.
        auto* watcher = new QDBusPendingCallWatcher(
            QDBusConnection::systemBus().asyncCall(call, timeoutMs), context);
        QObject::connect(watcher, &QDBusPendingCallWatcher::finished, context,
                         [done](QDBusPendingCallWatcher* w) {
                             const QDBusPendingReply<QVariantMap> reply = *w;
                             w->deleteLater();
                             done(reply.isError() ? State::Unknown : stateOf(reply.value()));
                         });
    });
}
