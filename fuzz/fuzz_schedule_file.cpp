// A whole schedule file's bytes: the list read from them, the file written back, and the
// set-aside file the unreadable lines go to.
#include "FuzzCheck.h"

#include "core/LosslessText.h"
#include "rules/sched/ScheduleEntry.h"
#include "rules/sched/ScheduleList.h"

#include <QCollator>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));

    // Bytes that are not UTF-8 come back unchanged.
    FUZZ_CHECK(LosslessText::encode(LosslessText::decode(bytes)) == bytes);

    ScheduleList list;
    const int setAside = list.parse(bytes);
    FUZZ_CHECK(setAside >= 0 && setAside == list.setAsideLines().size());

    const QStringList lines = list.lines();
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        FUZZ_CHECK(ScheduleEntry::isWellFormed(lines.at(i)));
        // Sorted, and no two lines equal but for case.
        if (i > 0)
            FUZZ_CHECK(collator.compare(lines.at(i - 1), lines.at(i)) < 0);
        FUZZ_CHECK(list.indexOf(lines.at(i)) == i);
    }

    // The saved file reads back as the same list, with nothing set aside.
    const QByteArray saved = list.format();
    ScheduleList again;
    FUZZ_CHECK(again.parse(saved) == 0);
    FUZZ_CHECK(again.lines() == lines);
    FUZZ_CHECK(again.format() == saved);

    // Reading the same file into the list it filled adds nothing.
    list.clearSetAside();
    FUZZ_CHECK(list.parse(bytes) == setAside);
    FUZZ_CHECK(list.lines() == lines);

    // Every set-aside line is kept once, and keeping them again adds nothing.
    const QByteArrayList rejected = list.setAsideLines();
    for (const QByteArray& line : rejected)
        FUZZ_CHECK(!line.isEmpty() && !line.contains('\r') && !line.contains('\n'));
    const QByteArray kept = ScheduleList::withSetAside(QByteArray(), rejected);
    FUZZ_CHECK(kept.isEmpty() == rejected.isEmpty());
    FUZZ_CHECK(ScheduleList::withSetAside(kept, rejected).isEmpty());
    // Appending to whatever a set-aside file already holds keeps its bytes in front.
    const QByteArray existing = bytes.toByteArray();
    const QByteArray appended = ScheduleList::withSetAside(existing, rejected);
    FUZZ_CHECK(appended.isEmpty() || appended.startsWith(existing));
    return 0;
}
