#include "windows/ui/SharedRoutines.h"

#include "ports/ILauncher.h"
#include "windows/ui/ModalSeam.h"

#include <QApplication>
#include <QCoreApplication>

namespace SharedRoutines {

void ShowWarning(const QString& text)
{
    ModalSeam::warning(QApplication::activeWindow(), QCoreApplication::applicationName(), text);
}

bool LaunchProgram(ILauncher& launcher, const QString& file, const QString& parameters,
                   const QString& directory, quint16 show)
{
    return launcher.open(file, parameters, directory, show);
}

} // namespace SharedRoutines
