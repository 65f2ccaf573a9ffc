// One schedule line, as read from the file: the field readers, the run item's detail, and the
// line built back from fields.
#include "FuzzCheck.h"

#include "core/LosslessText.h"
#include "rules/sched/ScheduleEntry.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>

using namespace ScheduleEntry;

namespace {

void checkReaders(const QString& line)
{
    const int h = hour(line);
    const int m = minute(line);
    const int day = dayNumber(line);
    const int type = typeCode(line);
    const int time = timeNumber(line);
    FUZZ_CHECK(h >= -1 && h <= 99 && m >= -1 && m <= 99);
    FUZZ_CHECK(day >= -1 && day <= MaxDay && type >= -1 && type <= 99);
    FUZZ_CHECK(time >= -1 && time <= 9999);
    if (isWellFormed(line)) {
        FUZZ_CHECK(h >= 0 && h <= 23 && m >= 0 && m <= 59 && day >= 0 && type >= 0);
        FUZZ_CHECK(time == h * 100 + m);
    }

    // The detail is limited in characters (code points), not UTF-16 units.
    const auto codePoints = [](const QString& s) { return s.toUcs4().size(); };
    const QString d = detail(line);
    FUZZ_CHECK(codePoints(d) <= MaxDetail);
    FUZZ_CHECK(codePoints(detailText(d)) <= MaxDetail);
    // Cutting a field to length must not split a character.
    if (isWellFormed(line) && FuzzCheck::wellFormedUtf16(line)) {
        FUZZ_CHECK(FuzzCheck::wellFormedUtf16(d));
        FUZZ_CHECK(FuzzCheck::wellFormedUtf16(detailText(d)));
    }
    const ItemKind kind = detailKind(d);
    FUZZ_CHECK(kind == OtherItem || kind == ReminderItem || kind == RunItem);

    const RunDetail run = ParseRunDetail(d);
    // The program, parameters and folder are the first three comma-separated fields.
    FUZZ_CHECK(!run.program.contains(u',') && !run.parameters.contains(u','));
    FUZZ_CHECK(!run.directory.contains(u','));
    FUZZ_CHECK(codePoints(run.program) + codePoints(run.parameters) + codePoints(run.directory) <=
               MaxDetail);
}

// A line built from fields must read back as those fields, whatever the detail holds.
void checkFormat(FuzzedDataProvider& in)
{
    const int h = in.ConsumeIntegralInRange(-2, 25);
    const int m = in.ConsumeIntegralInRange(-2, 61);
    const int day = in.ConsumeIntegralInRange(-2, MaxDay + 2);
    const int type = in.ConsumeIntegralInRange(-2, 101);
    const std::string bytes = in.ConsumeRemainingBytesAsString();
    const QString text =
        LosslessText::decode(QByteArrayView(bytes.data(), qsizetype(bytes.size())));

    const QString line = FormatScheduleEntry(h, m, day, type, text);
    const bool fits = h >= 0 && h <= 23 && m >= 0 && m <= 59 && day >= 0 && day <= MaxDay &&
                      type >= 0 && type <= 99;
    FUZZ_CHECK(line.isEmpty() == !fits);
    if (!fits)
        return;
    FUZZ_CHECK(isWellFormed(line));
    FUZZ_CHECK(hour(line) == h && minute(line) == m && dayNumber(line) == day);
    FUZZ_CHECK(typeCode(line) == type);
    const QString flat = withoutLineBreaks(text);
    FUZZ_CHECK(flat.size() <= text.size());
    // The detail is the text, cut to length (one unit short rather than half a character).
    const QString d = detail(line);
    FUZZ_CHECK(flat.startsWith(d) && d.size() >= std::min(flat.size(), qsizetype(MaxDetail)) - 1);
    // What goes into the file comes back as the same line.
    FUZZ_CHECK(LosslessText::decode(LosslessText::encode(line)) == line);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    // The file is split at CR and LF: no line read from it holds one.
    qsizetype end = 0;
    while (end < bytes.size() && bytes[end] != '\r' && bytes[end] != '\n')
        ++end;
    checkReaders(LosslessText::decode(bytes.first(end)));
    // Lines typed into the editor may hold anything.
    checkReaders(QString::fromUtf8(bytes));

    FuzzedDataProvider in(data, size);
    checkFormat(in);
    return 0;
}
