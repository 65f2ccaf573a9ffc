#include "windows/ui/ModalSeam.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QQueue>
#include <QTimer>

namespace {
struct Queues {
    int messages = 0;
    QQueue<bool> questions;
    QQueue<QString> files;
    QStringList shown;
};
Queues& queues()
{
    static Queues q;
    return q;
}
} // namespace

namespace ModalSeam {

void queueMessageAnswer()
{
    ++queues().messages;
}
void queueQuestionAnswer(bool yes)
{
    queues().questions.enqueue(yes);
}
void queueFileAnswer(const QString& path)
{
    queues().files.enqueue(path);
}
void clearQueues()
{
    queues().messages = 0;
    queues().files.clear();
    queues().questions.clear();
}
QStringList& shownMessages()
{
    return queues().shown;
}

void warning(QWidget* parent, const QString& title, const QString& text)
{
    passingWarning(parent, title, text, -1);
}

void passingWarning(QWidget* parent, const QString& title, const QString& text, int closeAfterMs)
{
    queues().shown.append(text);
    if (queues().messages > 0) {
        --queues().messages;
        return;
    }
    QMessageBox box(QMessageBox::Warning, title, text, QMessageBox::Ok, parent);
    if (closeAfterMs >= 0)
        QTimer::singleShot(closeAfterMs, &box, [&box] { box.done(QMessageBox::Ok); });
    box.exec();
}

bool question(QWidget* parent, const QString& title, const QString& text)
{
    queues().shown.append(text);
    if (!queues().questions.isEmpty())
        return queues().questions.dequeue();
    QMessageBox box(QMessageBox::Warning, title, text, QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(QMessageBox::No);
    // Closed any other way (Escape, or by the end of the program): No.
    return box.exec() == QMessageBox::Yes;
}

QString chooseFile(QWidget* parent, const QString& title, const QString& start,
                   const QString& filter)
{
    if (!queues().files.isEmpty())
        return queues().files.dequeue();
    return QFileDialog::getOpenFileName(parent, title, start, filter);
}

QString chooseFolder(QWidget* parent, const QString& title, const QString& start)
{
    if (!queues().files.isEmpty())
        return queues().files.dequeue();
    return QFileDialog::getExistingDirectory(parent, title, start, QFileDialog::ShowDirsOnly);
}

} // namespace ModalSeam
