#pragma once

#include <QObject>

class QSocketNotifier;
class QTimer;

// Turns SIGTERM, SIGINT and SIGHUP into a Qt signal delivered in the event loop, so the
// program can close its main window in order and save everything.
// Made before anything else opens files: with a low descriptor limit a watcher made later could
// find none left, and the signals would kill the program unsaved.
class SignalWatcher : public QObject {
    Q_OBJECT
public:
    explicit SignalWatcher(QObject* parent = nullptr);
    ~SignalWatcher() override;
    // Starts delivering, once the application's event loop exists.
    void start();
    // For a run that saves nothing at the end (the reminder verbs): the signals held back at
    // start end the process as usual again.
    static void releaseHeldSignals();

signals:
    void terminationRequested(int signalNumber);

private:
    void readSignal();
    QSocketNotifier* m_notifier = nullptr;
    QTimer* m_poll = nullptr;
};
