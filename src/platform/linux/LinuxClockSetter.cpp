#include "platform/linux/LinuxClockSetter.h"

#include "platform/linux/SystemBus.h"
#include "ports/IClock.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDate>
#include <QEventLoop>
#include <QSet>
#include <QTimer>

#include <memory>

#include <cerrno>
#include <ctime>

namespace {

// Short enough for the date line.
const char* const ReasonBusy = "Already setting the clock";
const char* const ReasonSkipped = "Time skipped by summer time";
const char* const ReasonOutOfRange = "Cannot set that date";
const char* const ReasonSystem = "The system refused that time";
const char* const ReasonNoBus = "No system bus";
const char* const ReasonNoService = "No time service running";
const char* const ReasonNoAnswer = "The time service did not answer";
const char* const ReasonSync = "Automatic time synchronization is on";
const char* const ReasonDenied = "Not authorised to set the time";
const char* const ReasonRefused = "The time service refused";

constexpr qint64 JulianDayOf1970 = 2440588;

// The record's fields read as if they were UTC, in seconds since 1970.
qint64 fieldSeconds(const SystemTimeRecord& r)
{
    const qint64 days = QDate(r.wYear, r.wMonth, r.wDay).toJulianDay() - JulianDayOf1970;
    return days * 86400 + r.wHour * 3600 + r.wMinute * 60 + r.wSecond;
}

bool sameWallTime(const tm& t, const SystemTimeRecord& r)
{
    return t.tm_year + 1900 == r.wYear && t.tm_mon + 1 == r.wMonth && t.tm_mday == r.wDay &&
           t.tm_hour == r.wHour && t.tm_min == r.wMinute && t.tm_sec == r.wSecond;
}

QString reasonFor(const QString& dbusError)
{
    if (dbusError == QLatin1String("org.freedesktop.timedate1.AutomaticTimeSyncEnabled"))
        return QString::fromLatin1(ReasonSync);
    if (dbusError == QLatin1String("org.freedesktop.DBus.Error.AccessDenied") ||
        dbusError == QLatin1String("org.freedesktop.DBus.Error.InteractiveAuthorizationRequired"))
        return QString::fromLatin1(ReasonDenied);
    if (dbusError == QLatin1String("org.freedesktop.DBus.Error.ServiceUnknown") ||
        dbusError == QLatin1String("org.freedesktop.DBus.Error.NameHasNoOwner"))
        return QString::fromLatin1(ReasonNoService);
    if (dbusError == QLatin1String("org.freedesktop.DBus.Error.NoReply") ||
        dbusError == QLatin1String("org.freedesktop.DBus.Error.Timeout"))
        return QString::fromLatin1(ReasonNoAnswer);
    if (dbusError == QLatin1String("org.freedesktop.DBus.Error.Disconnected"))
        return QString::fromLatin1(ReasonNoBus);
    return QString::fromLatin1(ReasonRefused);
}

} // namespace

LinuxClockSetter::LinuxClockSetter(int timeoutMs, const IClock* clock)
    : m_timeoutMs(timeoutMs), m_clock(clock)
{
}

std::optional<qint64> LinuxClockSetter::utcToMs(const SystemTimeRecord& utc)
{
    if (!utc.isValid())
        return std::nullopt;
    return fieldSeconds(utc) * 1000 + utc.wMilliseconds;
}

std::optional<qint64> LinuxClockSetter::localToUtcMs(const SystemTimeRecord& local,
                                                     qint64 nowSeconds, bool* skipped)
{
    if (skipped)
        *skipped = false;
    if (!local.isValid())
        return std::nullopt;
    tzset();
    // The wall time is `naive` minus the offset in force at that moment. Every offset the zone
    // uses within a day either side is a candidate; the ones that read back as the same wall
    // time are the moments it names (none in a gap, two in an overlap). In an overlap the
    // user means the hour the clock is in: pressing Set on the fields as filled during the
    // repeated hour must not move the clock by an hour.
    const qint64 naive = fieldSeconds(local);
    QSet<long> offsets;
    for (int h = -26; h <= 26; ++h) {
        const time_t t = time_t(naive + h * 3600);
        tm parts{};
        if (localtime_r(&t, &parts))
            offsets.insert(parts.tm_gmtoff);
    }
    const time_t now = time_t(nowSeconds);
    tm nowParts{};
    const bool nowKnown = localtime_r(&now, &nowParts) != nullptr;
    std::optional<qint64> chosen;
    bool chosenInForce = false;
    for (long offset : offsets) {
        const time_t t = time_t(naive - offset);
        tm parts{};
        if (!localtime_r(&t, &parts) || !sameWallTime(parts, local))
            continue;
        const bool inForce = nowKnown && offset == nowParts.tm_gmtoff;
        if (!chosen || (inForce && !chosenInForce) ||
            (inForce == chosenInForce && qint64(t) < *chosen)) {
            chosen = qint64(t);
            chosenInForce = inForce;
        }
    }
    if (!chosen) {
        if (skipped)
            *skipped = true;
        return std::nullopt;
    }
    return *chosen * 1000 + local.wMilliseconds;
}

bool LinuxClockSetter::SetLocalTime(const SystemTimeRecord& local)
{
    if (m_busy) {
        m_reason = QString::fromLatin1(ReasonBusy);
        return false;
    }
    bool skipped = false;
    const qint64 now = m_clock ? m_clock->now().toSecsSinceEpoch() : qint64(time(nullptr));
    const std::optional<qint64> ms = localToUtcMs(local, now, &skipped);
    if (!ms) {
        m_reason = QString::fromLatin1(skipped ? ReasonSkipped : ReasonOutOfRange);
        return false;
    }
    return setUtcMs(*ms);
}

bool LinuxClockSetter::SetSystemTime(const SystemTimeRecord& utc)
{
    if (m_busy) {
        m_reason = QString::fromLatin1(ReasonBusy);
        return false;
    }
    const std::optional<qint64> ms = utcToMs(utc);
    if (!ms) {
        m_reason = QString::fromLatin1(ReasonOutOfRange);
        return false;
    }
    return setUtcMs(*ms);
}

bool LinuxClockSetter::setUtcMs(qint64 ms)
{
    m_reason.clear();
    // Neither the kernel nor the time service takes a time before 1970.
    if (ms < 0) {
        m_reason = QString::fromLatin1(ReasonOutOfRange);
        return false;
    }
    timespec ts{};
    ts.tv_sec = time_t(ms / 1000);
    ts.tv_nsec = long(ms % 1000) * 1000000;
    if (clock_settime(CLOCK_REALTIME, &ts) == 0)
        return true;
    if (errno != EPERM) {
        m_reason = QString::fromLatin1(ReasonSystem);
        return false;
    }
    return askTimeService(ms * 1000);
}

bool LinuxClockSetter::askTimeService(qint64 usec)
{
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.timedate1"), QStringLiteral("/org/freedesktop/timedate1"),
        QStringLiteral("org.freedesktop.timedate1"), QStringLiteral("SetTime"));
    call << qlonglong(usec) << false << true; // absolute, interactive
    call.setInteractiveAuthorizationAllowed(true);

    QEventLoop loop;
    bool ended = false;
    const auto end = [&] {
        ended = true;
        loop.quit();
    };
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, &loop, end);
    if (QCoreApplication* app = QCoreApplication::instance())
        QObject::connect(app, &QCoreApplication::aboutToQuit, &loop, end);
    // The clock face keeps ticking while the bus is found and the desktop asks for a password;
    // a request that arrives meanwhile is refused as busy.
    m_busy = true;
    deadline.start(m_timeoutMs);
    std::optional<BusProbe::Verdict> bus;
    std::unique_ptr<QDBusPendingCallWatcher> watcher;
    // Owns the question to the bus: an answer after this wait has ended reaches nobody.
    QObject asking;
    SystemBus::whenKnown(&asking, [&](BusProbe::Verdict found) {
        bus = found;
        if (found != BusProbe::Verdict::Answers) {
            end();
            return;
        }
        watcher = std::make_unique<QDBusPendingCallWatcher>(
            QDBusConnection::systemBus().asyncCall(call, m_timeoutMs));
        QObject::connect(watcher.get(), &QDBusPendingCallWatcher::finished, &loop, end);
        if (watcher->isFinished())
            end();
    });
    if (!ended)
        loop.exec();
    m_busy = false;

    if (!watcher) {
        if (bus == BusProbe::Verdict::Absent)
            m_reason = QString::fromLatin1(ReasonNoBus);
        else if (bus == BusProbe::Verdict::Silent || !deadline.isActive())
            m_reason = QString::fromLatin1(ReasonNoAnswer);
        else // the program is quitting and no longer waits
            m_reason.clear();
        return false;
    }
    if (!watcher->isFinished()) {
        // Out of time, or the program is quitting and no longer waits.
        m_reason = deadline.isActive() ? QString() : QString::fromLatin1(ReasonNoAnswer);
        return false;
    }
    if (watcher->isError()) {
        m_reason = reasonFor(watcher->error().name());
        return false;
    }
    return true;
}
