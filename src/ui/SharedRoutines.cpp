#include "ui/SharedRoutines.h"

#include "platform/IClock.h"
#include "platform/ILauncher.h"
#include "ui/ModalSeam.h"

#include <QApplication>
#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

namespace SharedRoutines {

void ShowWarning(const QString& text)
{
    ModalSeam::warning(QApplication::activeWindow(), QCoreApplication::applicationName(), text);
}

void DelayPumping(IClock& clock, qint32 milliseconds)
{
    const quint32 start = clock.tickCount();
    QCoreApplication::processEvents();
    // The difference is taken in 32 bits, so a wrap of the counter does no harm.
    for (;;) {
        const qint64 elapsed = static_cast<quint32>(clock.tickCount() - start);
        if (elapsed >= milliseconds)
            break;
        QEventLoop loop;
        QTimer::singleShot(static_cast<int>(milliseconds - elapsed), Qt::PreciseTimer, &loop,
                           &QEventLoop::quit);
        if (loop.exec() != 0)
            break; // the program is quitting: no loop runs any more
    }
}

bool LaunchProgram(ILauncher& launcher, const QString& file, const QString& parameters,
                   const QString& directory, quint16 show)
{
    return launcher.open(file, parameters, directory, show);
}

} // namespace SharedRoutines
