#pragma once

#include <QObject>

#include <functional>

// The one way the program ends, whatever asks for it: the menu's Close, the window manager
// closing the panel, SIGTERM, SIGINT or SIGHUP, the end of the desktop session. Everything is
// saved once, then every window is put away and every event loop on the stack is left, so no
// dialog, box, help window or pumped wait that happens to be running can hold the program.
class ShutdownPath : public QObject {
    Q_OBJECT
public:
    // `save` writes what the run owns and returns the exit status: 0, or 1 when something could
    // not be saved.
    explicit ShutdownPath(std::function<int()> save, QObject* parent = nullptr);
    ~ShutdownPath() override;

    // Saves (the first time only), closes every top-level window and leaves every running event
    // loop. A second request while the loops unwind leaves them again: nothing started in the
    // meantime can keep the program.
    void request();
    // Saves if no request did, without touching any window: for the end of a run whose event
    // loop stopped by itself.
    void saveOnce();
    bool ending() const { return m_ending; }
    int status() const { return m_status; }

    // Qt ends the process with exit() when the X server goes away, under every frame on the
    // stack: the save still runs then, from the process's exit handlers. Off again when the
    // path is destroyed.
    void saveAtProcessExit();

signals:
    // Once, as the end begins and before the save: what still takes requests from outside stops.
    void started();

private:
    static void closeEveryWindow();

    std::function<int()> m_save;
    bool m_ending = false;
    int m_status = 0;
};
