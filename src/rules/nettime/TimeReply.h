#pragma once

#include <QDateTime>
#include <QString>
#include <QtGlobal>

// The four bytes a time server sends, and what is done with the clock from them.
namespace TimeReply {

// Seconds from 1900-01-01 to 1970-01-01.
constexpr qint64 SecondsBefore1970 = 2208988800LL;
// A clock less than this far off is left alone: the reply names whole seconds only.
constexpr qint64 CorrectWithinMs = 1000;
// The most an update may step the clock without the user's word: a reply further off is more
// likely a broken server than a clock that far out (NTP's panic threshold).
constexpr qint64 MaxUnaskedStepMs = 1000 * 1000;
// A reply that took longer from the connect on is not trusted to set the clock: half the
// round trip is all it can be corrected by, and the error grows with it.
constexpr quint32 MaxRoundTripMs = 3000;

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

// What one reply does to the clock.
struct Decision {
    enum Kind {
        Invalid, // a time before the build
        TooSlow, // the round trip was too long to trust
        Correct, // off by less than a second: nothing is set
        Set,     // set to `serverMs`
        Ask,     // beyond the step an update may make: set only if the user says so
        Refuse,  // beyond it, and nobody asked for this update
    };
    Kind kind = Invalid;
    // The server's time when the reply arrived, in milliseconds since 1970 UTC: the middle of
    // the second it names (it names whole seconds) plus half the round trip.
    qint64 serverMs = 0;
    // By how much the server is ahead of the clock.
    qint64 aheadMs = 0;
};

// `clockMs` is the clock's reading when the reply arrived; `byHand`: the user asked for this
// update, so a step beyond the limit is put to them.
Decision decide(qint64 clockMs, quint32 reply, quint32 roundTripMs, bool byHand);

// A difference as the date line can hold it: "16 min 41 s", "2 d 3 h 4 min 5 s".
QString span(qint64 seconds);

// The date-line report: `set` tells whether the clock accepted the new time.
QString report(bool set, qint64 aheadMs);
// The date line when a step beyond the limit was not made.
QString notSet(qint64 aheadMs);
// The question put before such a step, with both times in full.
QString question(const QDateTime& clock, const QDateTime& server, qint64 aheadMs);

} // namespace TimeReply
