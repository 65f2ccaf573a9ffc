#include "app/HoroluxApplication.h"

#include "ui/ModalSeam.h"

#include <exception>

HoroluxApplication::HoroluxApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("Horolux"));
    setApplicationDisplayName(QStringLiteral("Horolux"));
    // The panel is a tool window; the program ends when the panel is closed, not before.
    setQuitOnLastWindowClosed(false);
}

bool HoroluxApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        ModalSeam::warning(nullptr, applicationName(), QString::fromLocal8Bit(e.what()));
    } catch (...) {
        ModalSeam::warning(nullptr, applicationName(), QStringLiteral("Unexpected error"));
    }
    return false;
}
