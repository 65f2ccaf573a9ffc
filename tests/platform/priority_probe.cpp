// Asks the program's Linux priority setter for the normal class, in a process of four threads,
// and prints what came of it with each thread's class afterwards, this thread first:
//   priority_probe idle    every thread put in the idle class first, through the setter
//   priority_probe mixed   this thread SCHED_BATCH and the others idle: a refusal then comes
//                          after this thread was changed, and must undo that change
// Prints "right=0|1 result=set|not-permitted|failed threads=POLICY:NICE ...". It changes only
// its own threads, and never allows itself a lower nice value than it may already have.
#include "platform/LinuxPriority.h"

#include <QDir>
#include <QFile>

#include <sched.h>
#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <future>
#include <latch>
#include <thread>
#include <vector>

namespace {

constexpr int CapSysNice = 23;

bool mayRaisePriority()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return false;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("CapEff:"))
            return (line.mid(7).trimmed().toULongLong(nullptr, 16) >> CapSysNice) & 1;
    return false;
}

QString threadClasses()
{
    QList<int> tids;
    for (const QString& name : QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs))
        if (name.toInt() > 0)
            tids << name.toInt();
    std::sort(tids.begin(), tids.end());
    QStringList out;
    for (int tid : tids) {
        const int policy = sched_getscheduler(tid);
        const char* name = policy == SCHED_IDLE    ? "idle"
                           : policy == SCHED_BATCH ? "batch"
                           : policy == SCHED_OTHER ? "other"
                                                   : "?";
        out << QStringLiteral("%1:%2").arg(QLatin1String(name)).arg(getpriority(PRIO_PROCESS, tid));
    }
    return out.join(QLatin1Char(' '));
}

const char* resultName(IProcessPriority::Result r)
{
    switch (r) {
    case IProcessPriority::Result::Set:
        return "set";
    case IProcessPriority::Result::NotPermitted:
        return "not-permitted";
    default:
        return "failed";
    }
}

} // namespace

int main(int argc, char** argv)
{
    const bool mixed = argc > 1 && QByteArray(argv[1]) == "mixed";
    // Whatever the caller's limit, only the right (not a generous limit) may raise priority.
    const rlimit none{0, 0};
    setrlimit(RLIMIT_NICE, &none);
    sched_param param{};
    if (mixed)
        sched_setscheduler(0, SCHED_BATCH, &param);

    std::promise<void> done;
    std::shared_future<void> finished = done.get_future().share();
    std::latch ready(3);
    std::vector<std::thread> workers;
    for (int i = 0; i < 3; ++i) {
        workers.emplace_back([&, finished] {
            if (mixed) {
                sched_param p{};
                sched_setscheduler(0, SCHED_IDLE, &p);
            }
            ready.count_down();
            finished.wait();
        });
    }
    ready.wait();

    LinuxPriority priority;
    if (!mixed &&
        priority.setPriorityClass(IProcessPriority::IdleClass) != IProcessPriority::Result::Set) {
        std::puts("idle class refused");
        return 3;
    }
    const IProcessPriority::Result result =
        priority.setPriorityClass(IProcessPriority::NormalClass);
    std::printf("right=%d result=%s threads=%s\n", int(mayRaisePriority()), resultName(result),
                qPrintable(threadClasses()));
    done.set_value();
    for (std::thread& t : workers)
        t.join();
    return 0;
}
