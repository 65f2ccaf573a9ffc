#pragma once

#include <QImage>
#include <QList>
#include <QMap>
#include <QProcess>
#include <QRect>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>

// Runs the real program on its own Xvfb display with its own HOME, without the right to set
// the system clock, and looks at it from outside with the X11 tools.
class E2eRig {
public:
    E2eRig();
    ~E2eRig();

    bool startX(int width = 800, int height = 600);
    // Ends the X server under the program, as a crashed or closed session would.
    void stopX();
    // Uses a display someone else started (an Xwayland one) instead of starting Xvfb.
    void useDisplay(const QString& display) { m_display = display; }
    // A real window manager (openbox) on the display, ready once it manages windows.
    bool startWindowManager();
    // A system tray (trayer), 24 pixels high, at the right end of the bottom edge.
    bool startTray();
    // Another program's top-level window with this title, shown until the rig ends.
    bool showWindowTitled(const QString& title);
    // Where the clock's tray icon is, once the tray has taken it in (none before the timeout).
    QRect trayIcon(int timeoutMs = 10000);
    // Starts the clock with `arguments`; `fakeTime` (e.g. "2000-01-03 13:59:55") runs it under
    // faketime.
    bool startClock(const QString& fakeTime = {}, const QStringList& arguments = {});
    // The clock's top-level window id, waiting for it to be mapped.
    QString waitForWindow(int timeoutMs = 10000);
    // The mapped top-level windows titled exactly `title`.
    QStringList visibleWindows(const QString& title);
    QRect geometry(const QString& window);
    QString property(const QString& window, const QString& name);
    QImage screenshot();
    // Sends SIGTERM to the program itself and returns its exit status (-1 on a crash).
    int terminate();
    // Kills the program outright, as the out-of-memory killer would, and waits for its end.
    bool killHard();
    bool clockRunning() const { return m_clock.state() != QProcess::NotRunning; }
    // Runs one more copy, started as the last one was (on `display` when given), until it ends:
    // its exit status (-1 on a crash, -2 when it had not ended after 20 s) and, in `elapsedMs`,
    // how long it ran; `output` receives what it printed.
    int runAnotherCopy(qint64* elapsedMs = nullptr, const QString& display = {},
                       QString* output = nullptr);
    // One more Xvfb display for the same user, ended with the rig: its name (":N").
    QString startAnotherDisplay();
    // Waits for the program to end by itself: its exit status, -1 on a crash, -2 on a timeout.
    int waitForEnd(int timeoutMs);
    // The program itself, under setpriv and faketime.
    qint64 clockPid() const;
    // Every process of this rig's user folder running the clock or its sound player.
    QList<qint64> ourProcesses() const;
    int clockExitCode() const { return m_clock.exitCode(); }
    // Whether the colon of a panel at `panel` is lit in the screenshot: only its middle shows,
    // in the 3-pixel gap between the two displays.
    static bool colonLit(const QImage& shot, const QPoint& panel);
    // Asks `ready` every 100 ms until it says yes or the time is up.
    static bool pollUntil(const std::function<bool()>& ready, int timeoutMs);
    // Runs an X11 tool against the display and returns its output.
    QString x(const QString& program, const QStringList& args, int* status = nullptr);

    QString home() const { return m_home.path(); }
    QString display() const { return m_display; }
    QString settingsPath() const { return m_home.path() + "/config/horolux/settings.reg"; }
    QString schedulePath() const { return m_home.path() + "/data/horolux/horolux.dat"; }
    void writeSettings(const QByteArray& values); // lines below the Settings and Window keys
    QByteArray readFile(const QString& path) const;
    // What the program printed since the last call.
    QString clockOutput();
    // Every sound the program asked for ("beep", "play FILE"), in order.
    QStringList sounds();
    // Extra environment for the program (set before startClock); a null value removes one.
    void setEnv(const QString& name, const QString& value) { m_extraEnv[name] = value; }
    // The environment the program runs in, for other copies a test starts itself.
    QProcessEnvironment environment() const { return env(); }

private:
    QProcessEnvironment env() const;
    void readOutput();

    QTemporaryDir m_home;
    QProcess m_xvfb;
    QProcess m_clock;
    QList<qint64> m_fakeTimePids;
    QString m_display;
    QMap<QString, QString> m_extraEnv;
    // Everything the program printed; clockOutput() has handed out the first m_outputShown.
    QByteArray m_output;
    qsizetype m_outputShown = 0;
    QList<QProcess*> m_helpers; // window manager, tray: ended before the display
};
