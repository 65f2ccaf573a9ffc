#include "doubles/FakeClock.h"

QDateTime FakeClock::now() const
{
    return current;
}

quint32 FakeClock::tickCount() const
{
    return ticks;
}

void FakeClock::sleepMs(int ms)
{
    slept += ms;
    ticks += static_cast<quint32>(ms);
}
