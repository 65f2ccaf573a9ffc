#include "E2eRig.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTest>
#include <QThread>

#include <algorithm>
#include <csignal>
#include <random>

// A random walk through the real program under a real window manager: menu items, dialogs and
// their help, boxes, the tray, minimising, second starts on this display and another, and
// signals at random moments. After every step the rules that hold whatever is open are
// checked: a signal or Close ends the program within 3 s with status 0 and its files
// written, nothing of it is left running, one copy runs, and the face keeps ticking.
namespace {

const QByteArray SettingsKey = "[HKEY_CURRENT_USER\\Software\\Quillfern\\Horolux\\1.0\\Settings]\n";

// Where each dialog's Help button is, from the dialog's top-left corner.
struct HelpButton {
    QSize dialog;
    QPoint button;
};
const HelpButton HelpButtons[] = {
    {{306, 253}, {259, 236}}, // Settings
    {{392, 213}, {272, 192}}, // Performance Report
    {{472, 229}, {426, 197}}, // Scheduler
    {{266, 193}, {215, 176}}, // Quick Reminder
};

// Menu rows: Settings, Scheduler, Quick Reminder, Report, Stay On Top, Automatic Time Update,
// Help, (Connect: never, it opens a web browser), About, Close.
const int MenuRows[] = {0, 1, 2, 3, 4, 5, 6, 8};
constexpr int CloseRow = 9;

class Walk {
public:
    // `ending`: whether signals and Close are among the steps (a soak leaves them out, so that
    // one run lasts the whole walk).
    Walk(E2eRig& rig, unsigned seed, bool ending) : m_rig(rig), m_random(seed), m_ending(ending) {}

    bool start()
    {
        if (!m_rig.startClock())
            return fail("the clock did not start");
        m_panel = m_rig.waitForWindow(15000);
        if (m_panel.isEmpty())
            return fail("no panel: " + m_rig.clockOutput());
        return true;
    }

    bool step(int number)
    {
        m_step = number;
        switch (pick(14)) {
        case 0:
        case 1:
        case 2:
            return menu(MenuRows[pick(std::size(MenuRows))]);
        case 3:
        case 4:
            return helpOfActiveDialog();
        case 5:
            return key("Escape");
        case 6:
            return key("Return");
        case 7:
            return minimiseActive();
        case 8:
            return trayClick();
        case 9:
            return secondStart();
        case 10:
            return otherDisplayStart();
        case 11:
            if (m_ending)
                return pick(4) == 0 ? menu(CloseRow) : signal();
            return checkRunning();
        case 12:
            return m_ending ? signal() : checkRunning();
        default:
            note("pause");
            QThread::msleep(static_cast<unsigned long>(pick(2000)));
            return checkRunning();
        }
    }

    QString failure() const { return m_failure; }
    const QList<qint64>& endTimes() const { return m_endTimes; }

private:
    int pick(size_t n) { return static_cast<int>(m_random() % n); }

    void note(const QString& what) { m_trail << QString("%1: %2").arg(m_step).arg(what); }

    bool fail(const QString& why)
    {
        m_failure =
            why + "\nlast steps:\n" + m_trail.mid(std::max(0, int(m_trail.size()) - 15)).join('\n');
        return false;
    }

    bool key(const QString& name)
    {
        note("key " + name);
        m_rig.x("xdotool", {"key", name});
        QThread::msleep(200);
        return checkRunning();
    }

    // Our mapped windows: the panel, dialogs, boxes, help, menus.
    QStringList ourWindows()
    {
        return m_rig
            .x("xdotool", {"search", "--onlyvisible", "--pid", QString::number(m_rig.clockPid())})
            .split('\n', Qt::SkipEmptyParts);
    }

    bool menu(int row)
    {
        // With only the panel up the menu surely opens, so Close must end the program; with a
        // dialog up the menu stays shut (or the right button meets the dialog).
        const QStringList before = ourWindows();
        const bool alone = before == QStringList{m_panel};
        const QByteArray place = row == CloseRow && alone ? movePanel() : QByteArray();
        note(QString("menu row %1").arg(row));
        const QRect panel = m_rig.geometry(m_panel);
        m_rig.x("xdotool", {"mousemove", QString::number(panel.center().x()),
                            QString::number(panel.center().y()), "click", "3"});
        const bool opened = E2eRig::pollUntil([&] { return ourWindows().size() > before.size(); },
                                              alone ? 3000 : 300);
        if (!opened)
            return checkRunning();
        QStringList keys{"key", "--delay", "30"};
        for (int i = 0; i <= row; ++i)
            keys << "Down";
        keys << "Return";
        m_rig.x("xdotool", keys);
        QThread::msleep(300);
        if (row == CloseRow)
            return expectEnd("menu Close", -1, 0, place);
        return checkRunning();
    }

    bool helpOfActiveDialog()
    {
        const QString active = m_rig.x("xdotool", {"getactivewindow"}).trimmed();
        const QRect r = active.isEmpty() ? QRect() : m_rig.geometry(active);
        for (const HelpButton& b : HelpButtons) {
            if (r.size() != b.dialog)
                continue;
            note("help of the active dialog");
            m_rig.x("xdotool", {"mousemove", "--window", active, QString::number(b.button.x()),
                                QString::number(b.button.y()), "click", "1"});
            QThread::msleep(300);
            break;
        }
        return checkRunning();
    }

    bool minimiseActive()
    {
        note("minimise the active window");
        const QString active = m_rig.x("xdotool", {"getactivewindow"}).trimmed();
        if (!active.isEmpty())
            m_rig.x("xdotool", {"windowminimize", active});
        QThread::msleep(200);
        return checkRunning();
    }

    bool trayClick()
    {
        const QRect tray = m_rig.trayIcon(0);
        if (tray.isEmpty())
            return checkRunning();
        note("tray click");
        const QPoint icon(tray.right() - tray.height() / 2, tray.center().y());
        m_rig.x("xdotool",
                {"mousemove", QString::number(icon.x()), QString::number(icon.y()), "click", "1"});
        QThread::msleep(300);
        return checkRunning();
    }

    // A second start on this display leaves at once and brings the panel back.
    bool secondStart()
    {
        note("second start");
        qint64 elapsed = 0;
        QString output;
        const int status = m_rig.runAnotherCopy(&elapsed, {}, &output);
        if (status != 0)
            return fail(QString("a second start ended with %1: %2").arg(status).arg(output));
        // The window manager maps it a moment later, a long moment on a loaded machine.
        if (!E2eRig::pollUntil([&] { return m_rig.visibleWindows("Horolux").contains(m_panel); },
                               6000))
            return fail("a second start did not bring the panel back");
        return checkRunning();
    }

    // A start on another display for the same user runs no second scheduler.
    bool otherDisplayStart()
    {
        if (m_otherDisplay.isEmpty())
            m_otherDisplay = m_rig.startAnotherDisplay();
        note("start on display " + m_otherDisplay);
        QString output;
        const int status = m_rig.runAnotherCopy(nullptr, m_otherDisplay, &output);
        if (status == -2)
            return fail("a start on another display kept running");
        return checkRunning();
    }

    bool signal()
    {
        static const int Signals[] = {SIGTERM, SIGINT, SIGHUP};
        const int number = Signals[pick(3)];
        const QByteArray place = movePanel();
        // Half the signals land while the last step is still settling.
        QThread::msleep(static_cast<unsigned long>(pick(2) ? 0 : pick(1500)));
        note(QString("signal %1").arg(number));
        const qint64 pid = m_rig.clockPid();
        return expectEnd(QString("signal %1").arg(number), pid > 0 ? number : -1, pid, place);
    }

    // Half the ends come right after the panel was dragged somewhere new: that place must be
    // in the settings afterwards, as a run's changes are.
    QByteArray movePanel()
    {
        if (pick(2) || !m_rig.visibleWindows("Horolux").contains(m_panel))
            return {};
        const QPoint to(20 + pick(500), 20 + pick(400));
        m_rig.x("xdotool",
                {"windowmove", m_panel, QString::number(to.x()), QString::number(to.y())});
        if (!E2eRig::pollUntil([&] { return m_rig.geometry(m_panel).topLeft() == to; }, 2000))
            return {};
        note(QString("panel moved to %1,%2").arg(to.x()).arg(to.y()));
        QThread::msleep(100); // the program hears of it a moment later
        return QString("\"Top\"=dword:%1\n\"Left\"=dword:%2")
            .arg(to.y(), 8, 16, QChar('0'))
            .arg(to.x(), 8, 16, QChar('0'))
            .toLatin1();
    }

    // The end asked for (by `signalNumber` to `pid`, or already by the menu) comes within 3 s,
    // with status 0, the panel's place written and nothing of the program left; then a new run.
    bool expectEnd(const QString& cause, int signalNumber, qint64 pid = 0,
                   const QByteArray& place = {})
    {
        QElapsedTimer timer;
        timer.start();
        if (signalNumber > 0)
            ::kill(static_cast<pid_t>(pid), signalNumber);
        const int status = m_rig.waitForEnd(10000);
        const qint64 took = timer.elapsed();
        if (status == -2)
            return fail(cause + ": the program did not end");
        m_endTimes << took;
        if (took > 3000)
            return fail(QString("%1: the end took %2 ms").arg(cause).arg(took));
        if (status != 0)
            return fail(
                QString("%1: exit status %2: %3").arg(cause).arg(status).arg(m_rig.clockOutput()));
        if (!place.isEmpty() && !m_rig.readFile(m_rig.settingsPath()).contains(place))
            return fail(cause + ": the panel's place was not saved: " +
                        QString::fromLatin1(m_rig.readFile(m_rig.settingsPath())));
        if (!E2eRig::pollUntil([&] { return m_rig.ourProcesses().isEmpty(); }, 2000))
            return fail(cause + ": a process of the program outlived it");
        note("ended in " + QString::number(took) + " ms; started again");
        return start();
    }

    // One copy, running, and (when nothing covers it) a colon that blinks.
    bool checkRunning()
    {
        if (!m_rig.clockRunning())
            return fail("the program ended by itself: " + m_rig.clockOutput());
        int copies = 0;
        for (qint64 pid : m_rig.ourProcesses())
            if (QFileInfo(QString("/proc/%1/exe").arg(pid)).symLinkTarget().endsWith("/horolux"))
                ++copies;
        if (copies != 1)
            return fail(QString("%1 copies of the program run").arg(copies));
        if (++m_sinceTickCheck >= 10)
            return checkTicking();
        return true;
    }

    bool checkTicking()
    {
        if (ourWindows() != QStringList{m_panel})
            return true; // something may cover the colon
        m_sinceTickCheck = 0;
        // The panel alone is quick to grab, so a loaded machine still sees both phases.
        const QString file = m_rig.home() + "/panel.png";
        bool lit = false, dark = false;
        E2eRig::pollUntil(
            [&] {
                m_rig.x("import", {"-window", m_panel, file});
                const QImage shot = QImage(file).convertToFormat(QImage::Format_RGB32);
                if (!shot.isNull())
                    (E2eRig::colonLit(shot, QPoint(0, 0)) ? lit : dark) = true;
                return lit && dark;
            },
            8000);
        if (!lit || !dark)
            return fail("the colon does not blink");
        return true;
    }

    E2eRig& m_rig;
    std::mt19937 m_random;
    QString m_panel;
    QString m_otherDisplay;
    QStringList m_trail;
    QString m_failure;
    QList<qint64> m_endTimes;
    bool m_ending = true;
    int m_step = 0;
    int m_sinceTickCheck = 0;
};

} // namespace

class TestE2eWalk : public QObject {
    Q_OBJECT
private slots:
    void walk_data();
    void walk();
};

void TestE2eWalk::walk_data()
{
    QTest::addColumn<unsigned>("seed");
    QTest::newRow("seed 1") << 1u;
    QTest::newRow("seed 17") << 17u;
}

void TestE2eWalk::walk()
{
    QFETCH(unsigned, seed);
    const int steps = qEnvironmentVariableIntValue("HOROLUX_WALK_STEPS") > 0
                          ? qEnvironmentVariableIntValue("HOROLUX_WALK_STEPS")
                          : 200;
    E2eRig rig;
    QVERIFY(rig.startX());
    QVERIFY(rig.startWindowManager());
    QVERIFY(rig.startTray());
    // Automatic updates look for this window every minute and start the time client's waits;
    // nothing answers on loopback's time port.
    QVERIFY(rig.showWindowTitled("Connected to Internet"));
    rig.writeSettings(SettingsKey + "\"AutoUpdate\"=dword:00000001\n"
                                    "\"HostName\"=\"127.0.0.1\"\n\"TaskIcon\"=dword:00000001\n");

    Walk walk(rig, seed, qEnvironmentVariable("HOROLUX_WALK_ENDS") != QLatin1String("0"));
    QVERIFY2(walk.start(), qPrintable(walk.failure()));
    for (int i = 0; i < steps; ++i)
        QVERIFY2(walk.step(i),
                 qPrintable(QString("seed %1, step %2: %3").arg(seed).arg(i).arg(walk.failure())));
    QList<qint64> times = walk.endTimes();
    std::sort(times.begin(), times.end());
    if (!times.isEmpty())
        qInfo("seed %u: %d steps, %lld ends, signal or Close to exit median %lld ms, max %lld ms",
              seed, steps, static_cast<long long>(times.size()),
              static_cast<long long>(times.at(times.size() / 2)),
              static_cast<long long>(times.last()));
    const qint64 pid = rig.clockPid();
    const QStringList status =
        QString::fromLatin1(rig.readFile(QString("/proc/%1/status").arg(pid))).split('\n');
    qInfo("at the end: %lld descriptors, %s",
          static_cast<long long>(
              QDir(QString("/proc/%1/fd").arg(pid))
                  .entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)
                  .size()),
          qPrintable(status.filter("VmRSS").value(0).simplified()));
}

QTEST_MAIN(TestE2eWalk)
#include "tst_e2e_walk.moc"
