// A time server entry as typed or chosen: "Country: host" becomes the host.
#include "FuzzCheck.h"

#include "core/LosslessText.h"
#include "rules/nettime/TimeServers.h"

#include <algorithm>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text =
        LosslessText::decode(QByteArrayView(reinterpret_cast<const char*>(data), qsizetype(size)));
    const QString host = TimeServers::StripCountryPrefix(text);

    FUZZ_CHECK(text.endsWith(host));
    const qsizetype colon = text.indexOf(u':');
    // Only a known country before the first colon goes, with the colon and the blanks after it.
    if (colon < 0)
        FUZZ_CHECK(host == text);
    else if (host != text)
        FUZZ_CHECK(host.size() <= text.size() - colon - 1 && !host.startsWith(u' '));
    // The host never starts with half a character.
    if (FuzzCheck::wellFormedUtf16(text))
        FUZZ_CHECK(FuzzCheck::wellFormedUtf16(host));
    return 0;
}
