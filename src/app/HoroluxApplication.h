#pragma once

#include <QApplication>

// The application object. An exception that escapes an event handler is shown in a message
// box with its text, and the program goes on.
class HoroluxApplication : public QApplication {
public:
    HoroluxApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;

private:
    void report(const QString& text);
};
