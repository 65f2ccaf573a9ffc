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

    const qint64 clockMs = clockSeconds * 1000 + in.ConsumeIntegralInRange<int>(0, 999);
    const quint32 roundTrip = in.ConsumeIntegralInRange<quint32>(0, 5000);
    const bool byHand = in.ConsumeBool();
    const TimeReply::Decision d = TimeReply::decide(clockMs, value, roundTrip, byHand);
    // The server's time is what it sent, no more than a second and half the round trip on.
    FUZZ_CHECK(d.serverMs - server * 1000 >= 0 && d.serverMs - server * 1000 <= 1000 + roundTrip);
    FUZZ_CHECK(d.aheadMs == d.serverMs - clockMs);
    // Nothing unasked beyond the limit, nothing at all under a second.
    if (d.kind == TimeReply::Decision::Set)
        FUZZ_CHECK(qAbs(d.aheadMs) >= 1000 && qAbs(d.aheadMs) <= TimeReply::MaxUnaskedStepMs);
    if (d.kind == TimeReply::Decision::Ask)
        FUZZ_CHECK(byHand);

    FUZZ_CHECK(!TimeReply::report(in.ConsumeBool(), d.aheadMs).isEmpty());
    FUZZ_CHECK(!TimeReply::notSet(d.aheadMs).isEmpty());
    return 0;
}
