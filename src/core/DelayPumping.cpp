#include "core/DelayPumping.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

namespace SharedRoutines {

bool DelayPumping(const std::function<quint32()>& tickCount, qint32 milliseconds)
{
    const quint32 start = tickCount();
    QCoreApplication::processEvents();
    // The difference is taken in 32 bits, so a wrap of the counter does no harm.
    for (;;) {
        const qint64 elapsed = static_cast<quint32>(tickCount() - start);
        if (elapsed >= milliseconds)
            return true;
        QEventLoop loop;
        QTimer::singleShot(static_cast<int>(milliseconds - elapsed), Qt::PreciseTimer, &loop,
                           &QEventLoop::quit);
        if (loop.exec() != 0)
            return false; // the program is quitting: no loop runs any more
    }
}

} // namespace SharedRoutines
