#include "platform/linux/LinuxClock.h"

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
