#include "doubles/FakeClockSetter.h"

bool FakeClockSetter::SetLocalTime(const SystemTimeRecord& local)
{
    calls.append({true, local});
    return result;
}

bool FakeClockSetter::SetSystemTime(const SystemTimeRecord& utc)
{
    calls.append({false, utc});
    return result;
}
