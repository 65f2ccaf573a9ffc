#include "windows/ui/HelpSystem.h"

#include "windows/ui/HelpPages.h"
#include "windows/ui/HelpWindow.h"

#include <QApplication>
#include <QPointer>

namespace {

QPointer<HelpWindow>& theWindow()
{
    static QPointer<HelpWindow> window;
    return window;
}

// One window for the whole run, so that its place and history survive closing it.
HelpWindow* ensureWindow()
{
    QPointer<HelpWindow>& window = theWindow();
    if (!window) {
        window = new HelpWindow;
        QObject::connect(qApp, &QCoreApplication::aboutToQuit, window.data(),
                         [] { HelpSystem::closeWindow(); });
    }
    return window;
}

bool present(const QString& id)
{
    HelpWindow* window = ensureWindow();
    // Help asked for from a dialog must be readable while that dialog is still open.
    window->attachTo(QApplication::activeModalWidget());
    // A filter left from an earlier search could hide the topic asked for now.
    window->setSearchText(QString());
    const bool known = window->showTopic(id);
    if (window->isMinimized())
        window->showNormal();
    else
        window->show();
    window->raise();
    window->activateWindow();
    return known;
}

} // namespace

namespace HelpSystem {

void showFinder()
{
    present(HelpPages::contentsId());
}

bool showTopic(const QString& id)
{
    return present(id);
}

QStringList topicIds()
{
    return HelpPages::ids();
}

HelpWindow* window()
{
    return theWindow();
}

void closeWindow()
{
    delete theWindow().data();
    theWindow() = nullptr;
}

} // namespace HelpSystem
