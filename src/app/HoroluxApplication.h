#pragma once

#include <QApplication>

// The application object. An exception that escapes an event handler is shown in a message
// box with its text, and the program goes on. A request to quit (the end of the desktop
// session, quit()) becomes endRequested, for the program's own shutdown path: Qt's would ask
// each window to close and give up when one of them refuses.
class HoroluxApplication : public QApplication {
    Q_OBJECT
public:
    HoroluxApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;

signals:
    void endRequested();

protected:
    bool event(QEvent* event) override;

private:
    void report(const QString& text);
};
