#include "E2eRig.h"

#include <QElapsedTimer>
#include <QTest>
#include <QThread>

#include <functional>

// The panel under a real window manager: whatever the user does with it, the manager is
// told to keep it off the task bar and the pager, on every workspace, and above other windows
// exactly when Stay On Top is checked. Qt replaces the native window when its own stay-on-top flag
// changes, and a window manager forgets the states of every hidden window: either way the
// panel used to come back with a task-bar button.

namespace {

const QByteArray SettingsKey = "[HKEY_CURRENT_USER\\Software\\Quillfern\\Horolux\\1.0\\Settings]\n";
const QSize PanelSize(187, 53);
const QPoint OnDateLine(60, 40); // a point of the panel that hides it when clicked

} // namespace

class TestE2eWmStates : public QObject {
    Q_OBJECT
private slots:
    void panelNeverGetsATaskbarButton_data();
    void panelNeverGetsATaskbarButton();
    void trayStartedLaterTakesTheIcon();

private:
    // The panel's mapped window, found afresh: a new native window would have a new id.
    QString panel(E2eRig& rig);
    bool act(E2eRig& rig, const QString& action);

    QPoint m_trayIcon;
};

QString TestE2eWmStates::panel(E2eRig& rig)
{
    QStringList found;
    for (const QString& w : rig.visibleWindows("Horolux"))
        if (rig.geometry(w).size() == PanelSize)
            found << w;
    return found.size() == 1 ? found.first() : QString();
}

bool TestE2eWmStates::act(E2eRig& rig, const QString& action)
{
    const QString w = panel(rig);
    if (w.isEmpty())
        return false;
    const QPoint at = rig.geometry(w).topLeft() + OnDateLine;
    // No --sync: xdotool would wait for ever when the pointer is already there.
    const QStringList pointer = {"mousemove", QString::number(at.x()), QString::number(at.y()),
                                 "sleep", "0.2"};
    auto hidden = [&] { return panel(rig).isEmpty(); };
    auto shown = [&] { return !panel(rig).isEmpty(); };
    if (action == QLatin1String("menu")) {
        // "Stay On &Top" from the panel's menu.
        rig.x("xdotool", pointer + QStringList{"click", "3"});
        QThread::msleep(700);
        rig.x("xdotool", {"key", "t"});
        return true;
    }
    if (action ==
        QLatin1String("click")) { // hides the panel; it comes back by itself two ticks later
        rig.x("xdotool", pointer + QStringList{"click", "1"});
        return E2eRig::pollUntil(hidden, 3000) && E2eRig::pollUntil(shown, 6000);
    }
    if (action == QLatin1String("tray")) {
        const QStringList click = {"mousemove",
                                   QString::number(m_trayIcon.x()),
                                   QString::number(m_trayIcon.y()),
                                   "sleep",
                                   "0.2",
                                   "click",
                                   "1"};
        rig.x("xdotool", click);
        if (!E2eRig::pollUntil(hidden, 3000))
            return false;
        QThread::msleep(600); // two quick clicks would be a double click
        rig.x("xdotool", click);
        return E2eRig::pollUntil(shown, 3000);
    }
    if (action == "workspace") { // the next of openbox's four workspaces
        const int next = (rig.x("xdotool", {"get_desktop"}).toInt() + 1) % 4;
        rig.x("xdotool", {"set_desktop", QString::number(next)});
        return E2eRig::pollUntil([&] { return rig.x("xdotool", {"get_desktop"}).toInt() == next; },
                                 3000);
    }
    if (action == "drag") {
        const QPoint moved = rig.geometry(w).topLeft() + QPoint(40, 20);
        rig.x("xdotool", pointer + QStringList{"mousedown", "1"});
        for (int step = 1; step <= 4; ++step) {
            const QPoint to = at + QPoint(10, 5) * step;
            rig.x("xdotool",
                  {"mousemove", QString::number(to.x()), QString::number(to.y()), "sleep", "0.1"});
        }
        rig.x("xdotool", {"mouseup", "1"});
        return E2eRig::pollUntil(
            [&] { return shown() && rig.geometry(panel(rig)).topLeft() == moved; }, 3000);
    }
    return false;
}

void TestE2eWmStates::panelNeverGetsATaskbarButton_data()
{
    QTest::addColumn<bool>("storedOnTop");
    // Each step: an action, then whether the panel must be above other windows afterwards.
    QTest::addColumn<QStringList>("steps");
    QTest::newRow("stay on top, then hide")
        << false << QStringList{"menu above", "click above", "menu normal", "click normal"};
    QTest::newRow("tray, drag and hide mixed")
        << false << QStringList{"menu above", "tray above",  "drag above",  "click above",
                                "tray above", "menu normal", "tray normal", "drag normal"};
    // A panel shown again is a new window to the manager, which put it on the current
    // workspace only.
    QTest::newRow("workspaces") << false << QStringList{"workspace normal", "click normal",
                                                        "workspace normal", "menu above",
                                                        "tray above",       "workspace above"};
    QTest::newRow("on top from the last run")
        << true
        << QStringList{"click above", "menu normal", "tray normal", "menu above", "click above"};
}

void TestE2eWmStates::panelNeverGetsATaskbarButton()
{
    QFETCH(bool, storedOnTop);
    QFETCH(QStringList, steps);
    E2eRig rig;
    QVERIFY(rig.startX());
    QVERIFY(rig.startWindowManager());
    QVERIFY(rig.startTray());
    rig.writeSettings(SettingsKey +
                      "\"TaskIcon\"=dword:00000001\n\"Hide Interval\"=dword:00000002\n" +
                      "\"StayOnTop\"=dword:0000000" + (storedOnTop ? "1" : "0") + "\n");
    QVERIFY(rig.startClock());
    QVERIFY2(!rig.waitForWindow(30000).isEmpty(), qPrintable(rig.clockOutput()));
    const QRect icon = rig.trayIcon();
    QVERIFY2(!icon.isNull(), "no tray icon");
    m_trayIcon = icon.center();

    steps.prepend(storedOnTop ? "start above" : "start normal");
    for (const QString& step : steps) {
        const QString action = step.section(' ', 0, 0);
        const bool above = step.section(' ', 1) == QLatin1String("above");
        if (action != QLatin1String("start"))
            QVERIFY2(act(rig, action), qPrintable(step));
        // The manager answers in its own time; it writes the states it keeps into the window's
        // own property.
        QString state;
        const bool settled = E2eRig::pollUntil(
            [&] {
                const QString w = panel(rig);
                state = w.isEmpty() ? "no panel"
                                    : rig.property(w, "_NET_WM_STATE") + "; " +
                                          rig.property(w, "_NET_WM_DESKTOP");
                return state.contains("_NET_WM_DESKTOP(CARDINAL) = 4294967295") &&
                       state.contains("_NET_WM_STATE_SKIP_TASKBAR") &&
                       state.contains("_NET_WM_STATE_SKIP_PAGER") &&
                       state.contains("_NET_WM_STATE_ABOVE") == above;
            },
            5000);
        QVERIFY2(settled, qPrintable(step + ": " + state));
    }
    QCOMPARE(rig.terminate(), 0);
    QVERIFY(rig.readFile(rig.settingsPath())
                .contains(QByteArray("\"StayOnTop\"=dword:0000000") +
                          (steps.last().endsWith("above") ? "1" : "0")));
}

// The tray was once looked for only at start-up: one started later never got the icon.
void TestE2eWmStates::trayStartedLaterTakesTheIcon()
{
    E2eRig rig;
    QVERIFY(rig.startX());
    QVERIFY(rig.startWindowManager());
    rig.writeSettings(SettingsKey + "\"TaskIcon\"=dword:00000001\n");
    QVERIFY(rig.startClock("2000-01-03 09:00:45"));
    QVERIFY2(!rig.waitForWindow(30000).isEmpty(), qPrintable(rig.clockOutput()));
    QVERIFY(rig.startTray());
    QVERIFY2(!rig.trayIcon(60000).isNull(), "no tray icon after the change of minute");
    QCOMPARE(rig.terminate(), 0);
}

QTEST_MAIN(TestE2eWmStates)
#include "tst_e2e_wmstates.moc"
