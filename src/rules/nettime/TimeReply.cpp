#include "rules/nettime/TimeReply.h"

#include <QCoreApplication>

namespace TimeReply {

quint32 decode(const quint8 bytes[4])
{
    return (quint32(bytes[0]) << 24) | (quint32(bytes[1]) << 16) | (quint32(bytes[2]) << 8) |
           quint32(bytes[3]);
}

const qint64 BuiltAt = HOROLUX_BUILT_AT;

qint64 unixSeconds(quint32 value)
{
    const qint64 eraStart = ((BuiltAt + SecondsBefore1970) >> 32) << 32;
    return eraStart + value - SecondsBefore1970;
}

bool plausible(qint64 unixSeconds)
{
    return unixSeconds >= BuiltAt;
}

Correction correction(const QDateTime& clockUtc, qint64 serverUnixSeconds)
{
    const QDateTime clock = clockUtc.toUTC();
    const QDateTime server = QDateTime::fromSecsSinceEpoch(serverUnixSeconds, Qt::UTC);
    const QTime serverTime = server.time();
    Correction c;
    c.hour = serverTime.hour();
    c.minute = serverTime.minute();
    c.second = serverTime.second();

    const QTime clockTime = clock.time();
    const qint64 whole = serverUnixSeconds - clock.toSecsSinceEpoch();
    if (server.date() != clock.date() && qAbs(whole) < 12 * 3600) {
        c.date = server.date();
        c.ahead = whole;
    } else {
        c.date = clock.date();
        c.ahead = (c.hour * 3600 + c.minute * 60 + c.second) -
                  (clockTime.hour() * 3600 + clockTime.minute() * 60 + clockTime.second());
    }
    return c;
}

QString report(bool set, qint64 ahead)
{
    if (ahead == 0)
        return QCoreApplication::translate("TimeReply", "Clock is correct");
    // Within a day, so the seconds fit an int.
    const int seconds = int(ahead > 0 ? ahead : -ahead);
    if (ahead > 0)
        return set ? QCoreApplication::translate("TimeReply", "Clock was %n seconds slow", nullptr,
                                                 seconds)
                   : QCoreApplication::translate("TimeReply", "Clock is %n seconds slow", nullptr,
                                                 seconds);
    return set ? QCoreApplication::translate("TimeReply", "Clock was %n seconds fast", nullptr,
                                             seconds)
               : QCoreApplication::translate("TimeReply", "Clock is %n seconds fast", nullptr,
                                             seconds);
}

} // namespace TimeReply
