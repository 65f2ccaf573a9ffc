#include "app/ShutdownPath.h"

#include <QApplication>
#include <QDialog>
#include <QThread>
#include <QWidget>

#include <cstdlib>

namespace {

ShutdownPath* g_atExit = nullptr;

void saveAtExit()
{
    if (ShutdownPath* path = g_atExit) {
        g_atExit = nullptr;
        path->saveOnce();
    }
}

} // namespace

ShutdownPath::ShutdownPath(std::function<int()> save, QObject* parent)
    : QObject(parent), m_save(std::move(save))
{
}

ShutdownPath::~ShutdownPath()
{
    if (g_atExit == this)
        g_atExit = nullptr;
}

void ShutdownPath::saveOnce()
{
    if (m_ending)
        return;
    m_ending = true;
    emit started();
    m_status = m_save ? m_save() : 0;
}

void ShutdownPath::request()
{
    saveOnce();
    closeEveryWindow();
    // exit() leaves every event loop of this thread, the innermost dialog's as much as the
    // application's, and a loop started while they unwind returns at once. Outside any loop
    // (a test driving the window directly) there is nothing to leave, and exit() would
    // instead make the caller's next wait return at once.
    if (QThread::currentThread()->loopLevel() > 0)
        QCoreApplication::exit(m_status);
}

void ShutdownPath::saveAtProcessExit()
{
    static const bool registered = std::atexit(saveAtExit) == 0;
    if (registered)
        g_atExit = this;
}

// A modal dialog is rejected, which ends its own loop the way its Cancel would, and tells
// its caller that nothing is to be applied; every other window (the panel, help, reminder
// pop-ups, menus) is hidden. Quitting through Qt would instead ask each window to close,
// and one that refuses would keep the whole program.
void ShutdownPath::closeEveryWindow()
{
    // Innermost first: rejecting an outer dialog while an inner one runs would leave the
    // inner loop on the stack.
    while (QWidget* modal = QApplication::activeModalWidget()) {
        auto* dialog = qobject_cast<QDialog*>(modal);
        if (!dialog || !dialog->isVisible())
            break;
        dialog->reject();
        if (dialog->isVisible())
            dialog->hide();
    }
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (!w->isVisible())
            continue;
        if (auto* dialog = qobject_cast<QDialog*>(w))
            dialog->reject();
        w->hide();
    }
}
