#include "E2eRig.h"

#include "components/DigitStrip.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTest>
#include <QThread>

#include <atomic>
#include <functional>
#include <thread>

namespace {

const QPoint Window(10, 160); // the designed place of the panel
const QString Faketime = QStringLiteral("/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1");

bool pollUntil(const std::function<bool()>& done, int timeoutMs)
{
    QElapsedTimer t;
    t.start();
    for (;;) {
        if (done())
            return true;
        if (t.elapsed() > timeoutMs)
            return false;
        QThread::msleep(100);
    }
}

QStringList windowsTitled(E2eRig& rig, const QString& title)
{
    return rig.x("xdotool", {"search", "--onlyvisible", "--name", "^" + title + "$"})
        .split('\n', Qt::SkipEmptyParts);
}

// A box of the program: a window captioned like the panel that is not the panel.
QString boxBeside(E2eRig& rig, const QString& panel)
{
    for (const QString& w : windowsTitled(rig, "Horolux"))
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

// The minutes' units cell of the panel holds exactly glyph `digit` of the strip.
bool minuteUnitsShow(const QImage& shot, int digit)
{
    static const QImage strip = DigitStrip::make().convertToFormat(QImage::Format_RGB32);
    const QPoint at = Window + QPoint(46 + 19, 9 + 2);
    for (int y = 0; y < DigitStrip::CellHeight; ++y)
        for (int x = 0; x < DigitStrip::CellWidth; ++x)
            if ((shot.pixel(at.x() + x, at.y() + y) | 0xFF000000) !=
                (strip.pixel(digit * DigitStrip::CellWidth + x, y) | 0xFF000000))
                return false;
    return true;
}

bool colonLit(const QImage& shot)
{
    // Only the colon's middle shows, in the gap between the two digit displays.
    for (int y = 9; y < 34; ++y)
        for (int x = 43; x <= 45; ++x)
            if (qBlue(shot.pixel(Window.x() + x, Window.y() + y)) > 128)
                return true;
    return false;
}

} // namespace

class TestE2eBoxes : public QObject {
    Q_OBJECT
private slots:
    void clockAndScanGoOnWhileAFailureBoxIsOpen();
    void failedSaveAtTheEndIsReportedWithoutWaiting();
};

// A scan's failure box used to stop the clock: the face stayed on 09:00 and the 09:01
// reminder waited for the box to be closed.
void TestE2eBoxes::clockAndScanGoOnWhileAFailureBoxIsOpen()
{
    if (!QFile::exists(Faketime))
        QSKIP("faketime is not installed");
    E2eRig rig;
    QVERIFY(rig.startX());
    // 3 January 2000 is day 36528; the clock runs ten times fast from 08:59:56, so the
    // minutes pass in seconds while the timers keep their real pace.
    QVERIFY(writeFile(rig.schedulePath(), "09003652801Run:/nonexistent/prog,,,1\r\n"
                                          "09013652800Reminder:Next\r\n"));
    rig.setEnv("LD_PRELOAD", Faketime);
    rig.setEnv("FAKETIME", "@2000-01-03 08:59:56 x10");
    QVERIFY(rig.startClock());
    const QString panel = rig.waitForWindow();
    QVERIFY2(!panel.isEmpty(), qPrintable(rig.clockOutput()));

    QString box;
    QVERIFY2(pollUntil([&] { return !(box = boxBeside(rig, panel)).isEmpty(); }, 20000),
             "no failure box");
    QVERIFY2(pollUntil([&] { return !windowsTitled(rig, "Reminder").isEmpty(); }, 20000),
             "the 09:01 reminder did not pop up while the box was open");
    QCOMPARE(boxBeside(rig, panel), box);

    // The face shows minute 1 (or later) and the colon keeps blinking behind the box.
    bool lit = false, dark = false, minuteOne = false;
    pollUntil(
        [&] {
            const QImage shot = rig.screenshot();
            (colonLit(shot) ? lit : dark) = true;
            minuteOne = minuteOne || minuteUnitsShow(shot, 1);
            return lit && dark && minuteOne;
        },
        8000);
    QVERIFY(minuteOne);
    QVERIFY(lit);
    QVERIFY(dark);
    QCOMPARE(boxBeside(rig, panel), box);
    QCOMPARE(rig.terminate(), 0);
}

// An unwritable schedule at the end of the session: the failure is told on standard error and
// in a box that goes away by itself, the old file stays as it was, and the exit status says so.
void TestE2eBoxes::failedSaveAtTheEndIsReportedWithoutWaiting()
{
    E2eRig rig;
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
    QVERIFY2(pollUntil(
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

QTEST_MAIN(TestE2eBoxes)
#include "tst_e2e_boxes.moc"
