// The settings file: whether it is ours, reading a value from it, and writing one into it.
#include "FuzzCheck.h"

#include "rules/settings/RegFile.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <array>

namespace {

const std::array<QString, 3> Keys = {
    QStringLiteral("HKEY_CURRENT_USER\\Software\\Quillfern\\Horolux\\1.0\\Settings"),
    QStringLiteral("HKEY_CURRENT_USER\\Software\\Quillfern\\Horolux\\1.0\\Colours"),
    QStringLiteral("HKEY_CURRENT_USER\\Software\\Quillfern\\Horolux\\1.0"),
};
const std::array<QString, 4> Names = {
    QStringLiteral("StayOnTop"),
    QStringLiteral("Hide Interval"),
    QStringLiteral("Drive"),
    QStringLiteral("a\"b\\c"),
};

RegValue expectedAfterWrite(const RegValue& v)
{
    if (v.type != RegValue::Type::Sz)
        return v;
    // A stored text ends at a NUL and keeps no line break.
    QByteArray t = v.text.left(v.text.indexOf('\0') < 0 ? v.text.size() : v.text.indexOf('\0'));
    t.replace('\r', ' ');
    t.replace('\n', ' ');
    return RegValue::fromText(t);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    const size_t key = in.ConsumeIntegralInRange<size_t>(0, Keys.size() - 1);
    const size_t name = in.ConsumeIntegralInRange<size_t>(0, Names.size() - 1);
    RegValue value;
    if (in.ConsumeBool()) {
        value = RegValue::fromDword(in.ConsumeIntegral<quint32>());
    } else {
        const std::string t = in.ConsumeRandomLengthString(64);
        value = RegValue::fromText(QByteArray(t.data(), qsizetype(t.size())));
    }
    const std::string rest = in.ConsumeRemainingBytesAsString();
    const QByteArray text(rest.data(), qsizetype(rest.size()));

    // Reading any text is safe, understood or not.
    for (const QString& k : Keys)
        for (const QString& n : Names)
            (void)RegFile::find(text, k, n);
    if (!RegFile::understood(text))
        return 0;

    // A written value reads back, the file stays ours, and no other value changes.
    const QByteArray written = RegFile::withValue(text, Keys[key], Names[name], value);
    FUZZ_CHECK(RegFile::understood(written));
    FUZZ_CHECK(RegFile::find(written, Keys[key], Names[name]) == expectedAfterWrite(value));
    for (size_t k = 0; k < Keys.size(); ++k)
        for (size_t n = 0; n < Names.size(); ++n)
            if (k != key || n != name)
                FUZZ_CHECK(RegFile::find(written, Keys[k], Names[n]) ==
                           RegFile::find(text, Keys[k], Names[n]));
    // Writing the same value again changes nothing.
    FUZZ_CHECK(RegFile::withValue(written, Keys[key], Names[name], value) == written);
    return 0;
}
