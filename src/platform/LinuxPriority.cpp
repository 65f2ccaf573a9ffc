#include "platform/LinuxPriority.h"

#include <sched.h>
#include <sys/resource.h>

bool LinuxPriority::setPriorityClass(int priorityClass)
{
    sched_param param{};
    param.sched_priority = 0;
    if (priorityClass == IdleClass)
        return sched_setscheduler(0, SCHED_IDLE, &param) == 0;
    if (priorityClass == NormalClass) {
        if (sched_setscheduler(0, SCHED_OTHER, &param) != 0)
            return false;
        return setpriority(PRIO_PROCESS, 0, 0) == 0;
    }
    return false;
}
