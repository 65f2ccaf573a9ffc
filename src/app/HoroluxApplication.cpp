#include "app/HoroluxApplication.h"

#include "windows/components/AppIcon.h"
#include "windows/ui/ModalSeam.h"

#include <QSessionManager>

#include <exception>

HoroluxApplication::HoroluxApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("Horolux"));
    // The panel is a tool window; the program ends when the panel is closed, not before.
    setQuitOnLastWindowClosed(false);
    // Every top-level window shows the program's icon, those without a parent (help, reminders)
    // too.
    setWindowIcon(AppIcon::make());
    // A resident clock comes back at the next login when it ran at the end of the session,
    // and only then: a user who closed it wants it gone. Said at every save the session
    // manager asks for, where Qt lets the hint be given.
    connect(this, &QGuiApplication::saveStateRequest, this, [](QSessionManager& manager) {
        manager.setRestartHint(QSessionManager::RestartIfRunning);
    });
}

bool HoroluxApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        report(QString::fromLocal8Bit(e.what()));
    } catch (...) {
        report(tr("Unexpected error"));
    }
    return false;
}

bool HoroluxApplication::event(QEvent* event)
{
    if (event->type() == QEvent::Quit) {
        emit endRequested();
        return true;
    }
    return QApplication::event(event);
}

void HoroluxApplication::report(const QString& text)
{
    // A failure that repeats on every tick must not stack one box on another.
    static bool showing = false;
    if (showing)
        return;
    showing = true;
    ModalSeam::warning(nullptr, applicationName(), text);
    showing = false;
}
