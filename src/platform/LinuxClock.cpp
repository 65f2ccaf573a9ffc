#include "platform/LinuxClock.h"

#include <QThread>

#include <ctime>

QDateTime LinuxClock::now() const
{
    return QDateTime::currentDateTime();
}

quint32 LinuxClock::tickCount() const
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<quint32>(qint64(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000);
}

void LinuxClock::sleepMs(int ms)
{
    if (ms > 0)
        QThread::msleep(static_cast<unsigned long>(ms));
}

bool LinuxClock::setSystemTimeUtc(const QDateTime& utc)
{
    // An invalid time would read as 1970: never set the clock from one.
    if (!utc.isValid() || utc.date().year() < 2000)
        return false;
    const qint64 ms = utc.toMSecsSinceEpoch();
    timespec ts{};
    ts.tv_sec = static_cast<time_t>(ms / 1000);
    ts.tv_nsec = static_cast<long>(ms % 1000) * 1000000;
    return clock_settime(CLOCK_REALTIME, &ts) == 0;
}
