#pragma once

// The priority class of this process: 64 is the idle class, 32 the normal class.
class IProcessPriority {
public:
    static constexpr int IdleClass = 64;
    static constexpr int NormalClass = 32;
    virtual ~IProcessPriority() = default;
    // Any other class is refused. False when refused.
    virtual bool setPriorityClass(int priorityClass) = 0;
};
