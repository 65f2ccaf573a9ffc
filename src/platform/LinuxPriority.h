#pragma once

#include "platform/IProcessPriority.h"

// Idle class: SCHED_IDLE. Normal class: SCHED_OTHER with nice 0.
class LinuxPriority : public IProcessPriority {
public:
    bool setPriorityClass(int priorityClass) override;
};
