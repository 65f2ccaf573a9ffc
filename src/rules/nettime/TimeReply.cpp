#include "rules/nettime/TimeReply.h"

#include <QCoreApplication>
#include <QLocale>

namespace TimeReply {

namespace {

// Whole seconds, to the nearest.
qint64 seconds(qint64 ms)
{
    return (qAbs(ms) + 500) / 1000;
}

} // namespace

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

Decision decide(qint64 clockMs, quint32 reply, quint32 roundTripMs, bool byHand)
{
    Decision d;
    const qint64 server = unixSeconds(reply);
    if (!plausible(server))
        return d;
    d.serverMs = server * 1000 + 500 + roundTripMs / 2;
    d.aheadMs = d.serverMs - clockMs;
    if (roundTripMs > MaxRoundTripMs)
        d.kind = Decision::TooSlow;
    else if (qAbs(d.aheadMs) < CorrectWithinMs)
        d.kind = Decision::Correct;
    else if (qAbs(d.aheadMs) <= MaxUnaskedStepMs)
        d.kind = Decision::Set;
    else
        d.kind = byHand ? Decision::Ask : Decision::Refuse;
    return d;
}

QString span(qint64 s)
{
    s = qAbs(s);
    const qint64 days = s / 86400, hours = s / 3600 % 24, minutes = s / 60 % 60, rest = s % 60;
    if (days > 0)
        return QCoreApplication::translate("TimeReply", "%1 d %2 h %3 min %4 s")
            .arg(days)
            .arg(hours)
            .arg(minutes)
            .arg(rest);
    if (hours > 0)
        return QCoreApplication::translate("TimeReply", "%1 h %2 min %3 s")
            .arg(hours)
            .arg(minutes)
            .arg(rest);
    if (minutes > 0)
        return QCoreApplication::translate("TimeReply", "%1 min %2 s").arg(minutes).arg(rest);
    return QCoreApplication::translate("TimeReply", "%1 s").arg(rest);
}

QString report(bool set, qint64 aheadMs)
{
    const qint64 s = seconds(aheadMs);
    if (qAbs(aheadMs) < CorrectWithinMs)
        return QCoreApplication::translate("TimeReply", "Clock is correct");
    const bool slow = aheadMs > 0;
    // Within a day the seconds are counted; beyond, days to seconds, so it fits the line.
    if (s < 86400) {
        const int n = int(s);
        if (slow)
            return set ? QCoreApplication::translate("TimeReply", "Clock was %n seconds slow",
                                                     nullptr, n)
                       : QCoreApplication::translate("TimeReply", "Clock is %n seconds slow",
                                                     nullptr, n);
        return set ? QCoreApplication::translate("TimeReply", "Clock was %n seconds fast", nullptr,
                                                 n)
                   : QCoreApplication::translate("TimeReply", "Clock is %n seconds fast", nullptr,
                                                 n);
    }
    if (slow)
        return (set ? QCoreApplication::translate("TimeReply", "Clock was %1 slow")
                    : QCoreApplication::translate("TimeReply", "Clock is %1 slow"))
            .arg(span(s));
    return (set ? QCoreApplication::translate("TimeReply", "Clock was %1 fast")
                : QCoreApplication::translate("TimeReply", "Clock is %1 fast"))
        .arg(span(s));
}

QString notSet(qint64 aheadMs)
{
    return (aheadMs > 0 ? QCoreApplication::translate("TimeReply", "Server %1 ahead, not set")
                        : QCoreApplication::translate("TimeReply", "Server %1 behind, not set"))
        .arg(span(seconds(aheadMs)));
}

QString question(const QDateTime& clock, const QDateTime& server, qint64 aheadMs)
{
    const QLocale locale;
    const auto full = [&locale](const QDateTime& t) {
        const QDateTime local = t.toLocalTime();
        return locale.toString(local.date(), QLocale::LongFormat) + QLatin1Char(' ') +
               local.time().toString(QStringLiteral("HH:mm:ss"));
    };
    const QString difference =
        (aheadMs > 0 ? QCoreApplication::translate("TimeReply", "The clock is %1 slow.")
                     : QCoreApplication::translate("TimeReply", "The clock is %1 fast."))
            .arg(span(seconds(aheadMs)));
    return QCoreApplication::translate("TimeReply",
                                       "The time server's time is far from the clock's.") +
           QLatin1String("\n\n") +
           QCoreApplication::translate("TimeReply", "Clock: %1").arg(full(clock)) +
           QLatin1Char('\n') +
           QCoreApplication::translate("TimeReply", "Server: %1").arg(full(server)) +
           QLatin1Char('\n') + difference + QLatin1String("\n\n") +
           QCoreApplication::translate("TimeReply", "Set the clock to the server's time?");
}

} // namespace TimeReply
