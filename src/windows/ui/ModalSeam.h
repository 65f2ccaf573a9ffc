#pragma once

#include <QString>
#include <QStringList>

class QWidget;

// Every modal box and chooser of the program goes through here, so that tests can answer
// them in advance instead of blocking in exec().
namespace ModalSeam {

// Queued answers are taken first-in first-out; with none queued the real box is shown.
void queueMessageAnswer();          // a message box is dismissed with OK
void queueQuestionAnswer(bool yes); // a question is answered Yes or No
void queueFileAnswer(
    const QString& path); // a file or folder chooser returns this (empty: cancelled)
void clearQueues();
// The texts of message boxes shown (or answered) so far; tests read and clear it.
QStringList& shownMessages();

// A message box with an exclamation icon and one OK button, captioned `title`.
void warning(QWidget* parent, const QString& title, const QString& text);
// The same box, but it closes by itself after `closeAfterMs` when nobody answers it: for the
// end of the program, when nobody may be there.
void passingWarning(QWidget* parent, const QString& title, const QString& text, int closeAfterMs);
// A question with Yes and No, No the default: true for Yes.
bool question(QWidget* parent, const QString& title, const QString& text);
// File-open chooser; empty when cancelled. `filter` in Qt's form ("Name (*.x *.y);;All (*)").
QString chooseFile(QWidget* parent, const QString& title, const QString& start,
                   const QString& filter);
// Folder chooser; empty when cancelled.
QString chooseFolder(QWidget* parent, const QString& title, const QString& start);

} // namespace ModalSeam
