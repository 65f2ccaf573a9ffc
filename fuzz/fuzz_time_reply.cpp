// A time server's four-byte reply, read against any clock reading: the seconds it counts and
// the correction made from them.
#include "FuzzCheck.h"

#include "rules/nettime/TimeReply.h"

#include <fuzzer/FuzzedDataProvider.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    quint8 reply[4] = {};
    in.ConsumeData(reply, sizeof reply);
    // Any clock the machine may hold, 1970 to the year 2400.
    const qint64 clockSeconds = in.ConsumeIntegralInRange<qint64>(0, 13569465600LL);

    const quint32 value = TimeReply::decode(reply);
    FUZZ_CHECK(value == (quint32(reply[0]) << 24 | quint32(reply[1]) << 16 |
                         quint32(reply[2]) << 8 | reply[3]));
    const qint64 server = TimeReply::unixSeconds(value);
    // One era of the 32-bit count, the one the build falls in.
    FUZZ_CHECK((server + TimeReply::SecondsBefore1970 - value) % (qint64(1) << 32) == 0);
    FUZZ_CHECK(server + TimeReply::SecondsBefore1970 <=
               TimeReply::BuiltAt + TimeReply::SecondsBefore1970 + (qint64(1) << 32));
    // A time before the build is refused; nothing is made of it.
    if (!TimeReply::plausible(server)) {
        FUZZ_CHECK(server < TimeReply::BuiltAt);
        return 0;
    }
    FUZZ_CHECK(server >= TimeReply::BuiltAt);

    const QDateTime clock = QDateTime::fromSecsSinceEpoch(clockSeconds, Qt::UTC);
    const TimeReply::Correction c = TimeReply::correction(clock, server);
    FUZZ_CHECK(c.date.isValid());
    FUZZ_CHECK(c.hour >= 0 && c.hour <= 23 && c.minute >= 0 && c.minute <= 59);
    FUZZ_CHECK(c.second >= 0 && c.second <= 59);
    // The time set is the clock moved by what the report says.
    const QDateTime set(c.date, QTime(c.hour, c.minute, c.second), Qt::UTC);
    FUZZ_CHECK(set.toSecsSinceEpoch() - clockSeconds == c.ahead);
    // It is the server's time of day, on the clock's date or, near midnight, the server's.
    FUZZ_CHECK(set.time() == QDateTime::fromSecsSinceEpoch(server, Qt::UTC).time());
    FUZZ_CHECK(c.ahead > -24 * 3600 && c.ahead < 24 * 3600);

    const QString line = TimeReply::report(in.ConsumeBool(), c.ahead);
    FUZZ_CHECK(!line.isEmpty());
    return 0;
}
