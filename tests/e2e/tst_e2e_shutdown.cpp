#include "E2eRig.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTest>
#include <QThread>

#include <atomic>
#include <functional>
#include <thread>

#include <csignal>

namespace {

// A box of the program: a window captioned like the panel that is not the panel.
QString boxBeside(E2eRig& rig, const QString& panel)
{
    for (const QString& w : rig.visibleWindows("Horolux"))
        if (w != panel)
            return w;
    return {};
}

bool writeFile(const QString& path, const QByteArray& data)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(data) == data.size();
}

} // namespace

class TestE2eShutdown : public QObject {
    Q_OBJECT
private slots:
    void failedSaveAtTheEndIsReportedWithoutWaiting();
    void lostDisplayStillSaves();
    void noDisplayIsOneLine_data();
    void noDisplayIsOneLine();
    void signalWhileStartingEndsInOrder_data();
    void signalWhileStartingEndsInOrder();
};

// The X server goes away under the program: Qt ends the process at once, and what a normal end
// saves (here the panel's new place) is saved all the same; the status says it was no normal end.
void TestE2eShutdown::lostDisplayStillSaves()
{
    E2eRig rig;
    QVERIFY(rig.startX());
    QVERIFY(rig.startClock());
    const QString panel = rig.waitForWindow();
    QVERIFY2(!panel.isEmpty(), qPrintable(rig.clockOutput()));
    rig.x("xdotool", {"windowmove", panel, "333", "222"});
    QVERIFY(
        E2eRig::pollUntil([&] { return rig.geometry(panel).topLeft() == QPoint(333, 222); }, 5000));
    QThread::msleep(200);
    rig.stopX();
    QCOMPARE(rig.waitForEnd(10000), 1);
    const QByteArray saved = rig.readFile(rig.settingsPath());
    QVERIFY2(saved.contains("\"Top\"=dword:000000de\n\"Left\"=dword:0000014d"), saved.constData());
    QVERIFY(E2eRig::pollUntil([&] { return rig.ourProcesses().isEmpty(); }, 5000));
}

void TestE2eShutdown::noDisplayIsOneLine_data()
{
    QTest::addColumn<QString>("display");
    QTest::addColumn<QString>("said");
    QTest::newRow("unset") << QString()
                           << "horolux: no display to show the clock on (DISPLAY is not set)\n";
    QTest::newRow("nobody there") << ":93"
                                  << "horolux: cannot open display :93\n";
}

// Without a display the program says which one, ends with 1 and leaves nothing behind.
void TestE2eShutdown::noDisplayIsOneLine()
{
    QFETCH(QString, display);
    QFETCH(QString, said);
    E2eRig rig;
    rig.setEnv("DISPLAY", display);
    QDir().mkpath(rig.home() + "/run");
    QVERIFY(rig.startClock());
    QCOMPARE(rig.waitForEnd(20000), 1);
    QCOMPARE(rig.clockOutput(), said);
    QCOMPARE(
        QDir(rig.home() + "/run").entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot),
        QStringList());
}

// An unwritable schedule at the end of the session: the failure is told on standard error and
// in a box that goes away by itself, the old file stays as it was, and the exit status says so.
void TestE2eShutdown::failedSaveAtTheEndIsReportedWithoutWaiting()
{
    if (QStandardPaths::findExecutable("strace").isEmpty())
        QSKIP("strace is not installed");
    E2eRig rig;
    // strace will hold the program at exit, where LeakSanitizer (in a sanitizer build) cannot
    // work in a traced process and would change the exit status.
    const QString lsan = qEnvironmentVariable("LSAN_OPTIONS");
    rig.setEnv("LSAN_OPTIONS", (lsan.isEmpty() ? QString() : lsan + ":") + "detect_leaks=0");
    QVERIFY(rig.startX());
    // Out of order and with bare line feeds: a save would rewrite it sorted, with CR LF.
    const QByteArray old = "12009999900Reminder:B\n08009999900Reminder:A\n";
    const QString path = rig.schedulePath();
    QVERIFY(writeFile(path, old));
    QVERIFY(rig.startClock());
    const QString panel = rig.waitForWindow();
    QVERIFY2(!panel.isEmpty(), qPrintable(rig.clockOutput()));

    // Every attempt to put a new file in place is refused from now on, as in folders the user
    // may not write (the tests run as root, who may write anywhere). The settings' failure is
    // silent; the schedule's is not.
    const QString pid = rig.x("xdotool", {"getwindowpid", panel}).trimmed();
    QVERIFY(!pid.isEmpty());
    QProcess strace;
    strace.setProcessChannelMode(QProcess::MergedChannels);
    strace.start("strace",
                 {"-f", "-o", "/dev/null", "-p", pid, "-e", "trace=rename,renameat,renameat2", "-e",
                  "inject=rename,renameat,renameat2:error=EACCES"});
    QVERIFY2(E2eRig::pollUntil(
                 [&] {
                     strace.waitForReadyRead(100);
                     return strace.peek(4096).contains("attached");
                 },
                 10000),
             strace.readAll().constData());

    // Nobody clicks: the box must close by itself while terminate() waits for the exit.
    std::atomic<bool> boxSeen{false};
    std::atomic<bool> watching{true};
    std::thread watcher([&] {
        while (watching && !boxSeen) {
            if (!boxBeside(rig, panel).isEmpty())
                boxSeen = true;
            QThread::msleep(100);
        }
    });
    const int status = rig.terminate();
    watching = false;
    watcher.join();
    strace.waitForFinished(5000);

    const QString output = rig.clockOutput();
    QCOMPARE(status, 1);
    QVERIFY2(output.contains("Cannot create file " + path + "\n"), qPrintable(output));
    QVERIFY(boxSeen);
    QCOMPARE(rig.readFile(path), old);
    // No temporary file is left behind.
    QCOMPARE(QDir(QFileInfo(path).path()).entryList(QDir::Files), QStringList{"horolux.dat"});
}

void TestE2eShutdown::signalWhileStartingEndsInOrder_data()
{
    QTest::addColumn<int>("signalNumber");
    QTest::newRow("SIGTERM") << int(SIGTERM);
    QTest::newRow("SIGHUP") << int(SIGHUP);
}

// A session that ends just as the clock starts: a signal 5 to 50 ms after the clock's
// executable replaced its starter ends the run in order (status 0, files saved), never kills
// it (143 or 129). Loading Qt alone takes some of those milliseconds, more on a busy machine.
void TestE2eShutdown::signalWhileStartingEndsInOrder()
{
    QFETCH(int, signalNumber);
    E2eRig rig;
    QVERIFY(rig.startX());
    const QString exe =
        QFileInfo(qEnvironmentVariable("HOROLUX_E2E_BIN", HOROLUX_BIN)).canonicalFilePath();
    for (int run = 1; run <= 10; ++run) {
        QFile::remove(rig.settingsPath());
        QFile::remove(rig.schedulePath());
        QVERIFY(rig.startClock());
        const QString proc = QString("/proc/%1/exe").arg(rig.clockPid());
        QElapsedTimer waited;
        waited.start();
        while (QFile::symLinkTarget(proc) != exe && waited.elapsed() < 5000)
            QThread::usleep(500);
        QThread::msleep(5 * run);
        ::kill(static_cast<pid_t>(rig.clockPid()), signalNumber);
        const int status = rig.waitForEnd(30000);
        QVERIFY2(status == 0,
                 qPrintable(
                     QString("run %1: status %2, %3").arg(run).arg(status).arg(rig.clockOutput())));
        QVERIFY2(rig.readFile(rig.settingsPath()).contains("\"StayOnTop\"="),
                 qPrintable(QString("run %1: no settings saved").arg(run)));
        QVERIFY2(QFile::exists(rig.schedulePath()),
                 qPrintable(QString("run %1: no schedule saved").arg(run)));
    }
}

QTEST_MAIN(TestE2eShutdown)
#include "tst_e2e_shutdown.moc"
