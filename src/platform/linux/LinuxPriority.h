#pragma once

#include "ports/IProcessPriority.h"

// Idle class: SCHED_IDLE. Normal class: SCHED_OTHER with nice 0. Linux schedules threads, not
// processes, so each thread of the program is changed, the ones that exist at the call.
class LinuxPriority : public IProcessPriority {
public:
    Result setPriorityClass(int priorityClass) override;
};
