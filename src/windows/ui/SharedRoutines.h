#pragma once

#include <QString>

class ILauncher;
class QWidget;

// Small routines the windows share.
namespace SharedRoutines {

// A warning box captioned with the application title, exclamation icon, one OK button.
void ShowWarning(const QString& text);
// Opens a program, document or web address; true when something was started.
// show: 1 normal, 2 minimised, 3 maximised, 5 shown.
bool LaunchProgram(ILauncher& launcher, const QString& file, const QString& parameters,
                   const QString& directory, quint16 show);

} // namespace SharedRoutines
