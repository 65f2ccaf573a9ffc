// Saves two different schedules to one file in turn, for ever, so that a test can kill it at any
// moment. Prints one line once the file holds a complete schedule.
#include "doubles/DiskFiles.h"
#include "rules/sched/ScheduleEntry.h"
#include "rules/sched/ScheduleFile.h"
#include "rules/sched/ScheduleList.h"
#include "tst_schedulecrash_lists.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 2)
        return 2;
    const QString path = QString::fromLocal8Bit(argv[1]);
    ScheduleFile file(diskFiles(), path);
    ScheduleList lists[2];
    for (int i = 0; i < 2; ++i) {
        for (const QString& line : CrashLists::lines(i))
            lists[i].add(line);
    }
    if (file.save(lists[0]) != ScheduleFile::SaveResult::Saved)
        return 1;
    std::puts("ready");
    std::fflush(stdout);
    for (unsigned n = 1;; ++n) {
        if (file.save(lists[n % 2]) != ScheduleFile::SaveResult::Saved)
            return 1;
    }
}
