#pragma once

// The priority class of this process: 64 is the idle class, 32 the normal class.
class IProcessPriority {
public:
    static constexpr int IdleClass = 64;
    static constexpr int NormalClass = 32;

    enum class Result {
        Set,
        NotPermitted, // the system refused: raising the priority needs a right this user lacks
        Failed,       // refused for another reason
        UnknownClass, // neither of the two classes
    };

    virtual ~IProcessPriority() = default;
    // Every thread of the program gets the class, or none does: a refusal leaves the threads
    // as they were.
    virtual Result setPriorityClass(int priorityClass) = 0;
};
