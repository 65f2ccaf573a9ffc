#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QtGlobal>

// The four bytes a time server sends, and what the clock is set to from them.
namespace TimeReply {

// Seconds from 1900-01-01 to 1970-01-01.
constexpr qint64 SecondsBefore1970 = 2208988800LL;

// The bytes as an unsigned number, most significant first.
quint32 decode(const quint8 bytes[4]);

// When this program was built, in seconds since 1970-01-01 00:00:00 UTC. No true reply can
// name an earlier time.
extern const qint64 BuiltAt;

// Seconds since 1970-01-01 00:00:00 UTC, read in the era of the count (it wraps every 2^32
// seconds, next on 2036-02-07 06:28:16 UTC) that the build falls in. A wrapped count then
// reads as a time before the build, and is refused as one, rather than guessed at.
qint64 unixSeconds(quint32 value);

// False for a time no server can truly send: one before the program was built.
bool plausible(qint64 unixSeconds);

// The fields to set and by how many seconds the server is ahead of the clock.
struct Correction {
    QDate date;
    int hour = 0;
    int minute = 0;
    int second = 0;
    qint64 ahead = 0;
};

// `clockUtc` is the clock's reading R. The clock keeps its date and takes the server's time
// of day, unless the two lie less than 12 hours apart on different sides of midnight: then the
// server's date is the right one, and the difference is the whole one.
Correction correction(const QDateTime& clockUtc, qint64 serverUnixSeconds);

// The date-line report: `set` tells whether the clock accepted the new time.
QString report(bool set, qint64 ahead);

} // namespace TimeReply
