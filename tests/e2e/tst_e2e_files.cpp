#include "E2eRig.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

namespace {

// What lies at `path` (a link is told by where it leads), without opening it.
QString kindOf(const QString& path)
{
    const QByteArray p = QFile::encodeName(path);
    struct stat st {};
    if (::lstat(p.constData(), &st) != 0)
        return "missing";
    if (S_ISLNK(st.st_mode)) {
        char to[4096];
        const ssize_t n = ::readlink(p.constData(), to, sizeof to);
        return "link to " + QFile::decodeName(QByteArray(to, int(n)));
    }
    if (S_ISFIFO(st.st_mode))
        return "fifo";
    if (S_ISREG(st.st_mode))
        return "file";
    return "other";
}

} // namespace

class TestE2eFiles : public QObject {
    Q_OBJECT
private slots:
    void hostileFilesNeitherHangNorAreReplaced_data();
    void hostileFilesNeitherHangNorAreReplaced();
    void exitWritesEachFileOnce();
};

void TestE2eFiles::hostileFilesNeitherHangNorAreReplaced_data()
{
    QTest::addColumn<bool>("settings"); // which file is made hostile
    QTest::addColumn<QString>("make");  // "fifo" or where a link leads
    QTest::addColumn<QString>("after");
    QTest::addColumn<QString>("movedAside"); // what horolux.dat.unreadable holds
    // A plain FIFO in the data folder is the program's own name: moved aside as unreadable.
    QTest::newRow("schedule is a fifo") << false << "fifo"
                                        << "file"
                                        << "fifo";
    QTest::newRow("schedule links to a fifo") << false << "pipe"
                                              << "link to pipe"
                                              << "missing";
    QTest::newRow("schedule links to /dev/zero") << false << "/dev/zero"
                                                 << "link to /dev/zero"
                                                 << "missing";
    QTest::newRow("schedule link leads nowhere") << false << "mount/horolux.dat"
                                                 << "link to mount/horolux.dat"
                                                 << "missing";
    QTest::newRow("settings are a fifo") << true << "fifo"
                                         << "fifo"
                                         << "missing";
    QTest::newRow("settings link to /dev/zero") << true << "/dev/zero"
                                                << "link to /dev/zero"
                                                << "missing";
}

// Each of these once blocked the start before the window and the signal handler existed, or
// grew without bound; the window must come and SIGTERM must be answered, with the file kept.
void TestE2eFiles::hostileFilesNeitherHangNorAreReplaced()
{
    QFETCH(bool, settings);
    QFETCH(QString, make);
    E2eRig rig;
    QVERIFY(rig.startX());
    const QString path = settings ? rig.settingsPath() : rig.schedulePath();
    const QString folder = QFileInfo(path).path();
    QVERIFY(QDir().mkpath(folder));
    QVERIFY(::mkfifo(QFile::encodeName(folder + "/pipe").constData(), 0600) == 0);
    const QByteArray p = QFile::encodeName(path);
    if (make == QLatin1String("fifo"))
        QVERIFY(::mkfifo(p.constData(), 0600) == 0);
    else
        QVERIFY(::symlink(QFile::encodeName(make).constData(), p.constData()) == 0);

    QVERIFY(rig.startClock());
    QVERIFY2(!rig.waitForWindow(10000).isEmpty(), qPrintable(rig.clockOutput()));
    QCOMPARE(rig.terminate(), 0);
    QTEST(kindOf(path), "after");
    QTEST(kindOf(rig.schedulePath() + ".unreadable"), "movedAside");
    QCOMPARE(kindOf(folder + "/pipe"), "fifo");
}

// Every rewrite of a file costs two fsyncs, seconds each on a slow disk, and the end of the
// session waits for them: at exit a changed settings file is rewritten once, whatever number
// of values changed, and an unchanged schedule not at all.
void TestE2eFiles::exitWritesEachFileOnce()
{
    E2eRig rig;
    QVERIFY(rig.startX());
    QVERIFY(rig.startClock());
    QVERIFY2(!rig.waitForWindow(10000).isEmpty(), qPrintable(rig.clockOutput()));
    QCOMPARE(rig.terminate(), 0); // the first run makes both files

    const QString trace = rig.home() + "/exit.trace";
    const QString wrapper = rig.home() + "/traced";
    QFile script(wrapper);
    QVERIFY(script.open(QIODevice::WriteOnly));
    // LeakSanitizer cannot work under ptrace and would end the traced run with status 1.
    script.write(
        "#!/bin/sh\nexport ASAN_OPTIONS=\"${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0\"\n"
        "exec strace -f -qq -o '" +
        trace.toUtf8() + "' -e trace=fsync,fdatasync,rename,renameat,renameat2 '" +
        qEnvironmentVariable("HOROLUX_E2E_BIN", HOROLUX_BIN).toUtf8() + "' \"$@\"\n");
    script.close();
    QVERIFY(script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    qputenv("HOROLUX_E2E_BIN", wrapper.toUtf8());
    const bool started = rig.startClock();
    qunsetenv("HOROLUX_E2E_BIN");
    QVERIFY(started);
    const QString window = rig.waitForWindow(10000);
    QVERIFY2(!window.isEmpty(), qPrintable(rig.clockOutput()));
    // A new place changes two values, its top and its left.
    rig.x("xdotool", {"windowmove", window, "211", "157"});
    QVERIFY(E2eRig::pollUntil([&] { return rig.geometry(window).topLeft() == QPoint(211, 157); },
                              5000));
    // The window manager reports the new place before the clock has read it from the server;
    // under load the signal could otherwise overtake it.
    QTest::qWait(1000);
    QFile log(trace);
    QVERIFY(log.open(QIODevice::ReadOnly));
    const qint64 before = log.readAll().count("fsync(");
    QCOMPARE(rig.terminate(), 0);
    QVERIFY(log.seek(0));
    const QByteArray all = log.readAll();
    QCOMPARE(all.count("settings.reg\")"), qsizetype(1)); // each rename names its target last
    QCOMPARE(all.count("horolux.dat\")"), qsizetype(0));
    QVERIFY2(all.count("fsync(") - before <= 2, all.constData()); // the file and its folder
    QVERIFY(rig.readFile(rig.settingsPath()).contains("\"Top\"=dword:0000009d"));
}

QTEST_MAIN(TestE2eFiles)
#include "tst_e2e_files.moc"
