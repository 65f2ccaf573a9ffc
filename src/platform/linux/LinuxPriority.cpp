#include "platform/linux/LinuxPriority.h"

#include <dirent.h>
#include <sched.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <optional>
#include <vector>

namespace {

struct ThreadClass {
    pid_t tid;
    int policy;
    sched_param param;
    int nice;
};

std::vector<pid_t> threadIds()
{
    std::vector<pid_t> ids;
    if (DIR* dir = opendir("/proc/self/task")) {
        while (const dirent* entry = readdir(dir)) {
            const long tid = std::strtol(entry->d_name, nullptr, 10);
            if (tid > 0)
                ids.push_back(pid_t(tid));
        }
        closedir(dir);
    }
    if (ids.empty()) // no /proc: at least this thread
        ids.push_back(gettid());
    return ids;
}

std::optional<ThreadClass> readClass(pid_t tid)
{
    ThreadClass c{tid, 0, {}, 0};
    c.policy = sched_getscheduler(tid);
    if (c.policy < 0 || sched_getparam(tid, &c.param) != 0)
        return std::nullopt;
    errno = 0;
    c.nice = getpriority(PRIO_PROCESS, id_t(tid));
    if (errno != 0)
        return std::nullopt;
    return c;
}

// Raising the nice value and entering the idle class are always allowed, so putting back
// what was there cannot be refused: the nice value first, then the class.
void restore(const ThreadClass& c)
{
    setpriority(PRIO_PROCESS, id_t(c.tid), c.nice);
    sched_setscheduler(c.tid, c.policy, &c.param);
}

bool apply(pid_t tid, int priorityClass)
{
    sched_param param{};
    if (priorityClass == IProcessPriority::IdleClass)
        return sched_setscheduler(tid, SCHED_IDLE, &param) == 0;
    return sched_setscheduler(tid, SCHED_OTHER, &param) == 0 &&
           setpriority(PRIO_PROCESS, id_t(tid), 0) == 0;
}

} // namespace

IProcessPriority::Result LinuxPriority::setPriorityClass(int priorityClass)
{
    if (priorityClass != IdleClass && priorityClass != NormalClass)
        return Result::UnknownClass;
    std::vector<ThreadClass> changed;
    const auto refused = [&changed](int error) {
        for (auto it = changed.rbegin(); it != changed.rend(); ++it)
            restore(*it);
        return error == EPERM || error == EACCES ? Result::NotPermitted : Result::Failed;
    };
    for (pid_t tid : threadIds()) {
        const std::optional<ThreadClass> before = readClass(tid);
        if (!before) {
            if (errno == ESRCH) // the thread has ended meanwhile
                continue;
            return refused(errno);
        }
        // Recorded first: a thread whose class changed but whose nice value was refused is
        // put back too.
        changed.push_back(*before);
        if (apply(tid, priorityClass))
            continue;
        const int error = errno;
        if (error != ESRCH)
            return refused(error);
        changed.pop_back();
    }
    return Result::Set;
}
