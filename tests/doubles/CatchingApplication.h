#pragma once

#include <QCoreApplication>
#include <QStringList>

#include <exception>

// An exception that escapes event handling is recorded here, where the program's application
// shows it in a box, and the event loop goes on.
class CatchingApplication : public QCoreApplication {
public:
    using QCoreApplication::QCoreApplication;
    bool notify(QObject* receiver, QEvent* event) override
    {
        try {
            return QCoreApplication::notify(receiver, event);
        } catch (const std::exception& e) {
            errors << QString::fromUtf8(e.what());
        }
        return false;
    }
    static CatchingApplication* instance()
    {
        return static_cast<CatchingApplication*>(QCoreApplication::instance());
    }
    QStringList errors;
};
