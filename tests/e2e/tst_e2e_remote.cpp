#include "E2eRig.h"
#include "rules/sched/ScheduleList.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTest>

#include <csignal>
#include <sys/stat.h>

namespace {

const QPoint Window(10, 160);                           // the designed place
const QByteArray Seed = "08004748400Reminder:seed\r\n"; // 2030-01-01 08:00

struct Run {
    int status = -1;
    QByteArray out;
    QByteArray err;
};

// A verb as cron or ssh runs it: no display at all, and maybe no XDG_RUNTIME_DIR.
QProcessEnvironment verbEnvironment(const E2eRig& rig, bool runtime = true)
{
    QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
    e.remove("DISPLAY");
    e.remove("WAYLAND_DISPLAY");
    e.insert("HOME", rig.home());
    e.insert("XDG_CONFIG_HOME", rig.home() + "/config");
    e.insert("XDG_DATA_HOME", rig.home() + "/data");
    e.insert("XDG_RUNTIME_DIR", rig.home() + "/run");
    if (!runtime)
        e.remove("XDG_RUNTIME_DIR");
    return e;
}

Run verb(const E2eRig& rig, const QList<QByteArray>& args, bool runtime = true)
{
    const QProcessEnvironment e = verbEnvironment(rig, runtime);
    // Through the shell's printf, so bytes that are not UTF-8 reach the program as they are.
    QString script = "exec \"$0\"";
    for (const QByteArray& a : args) {
        QString octal;
        for (const char c : a)
            octal += QString("\\0%1").arg(uint(uchar(c)), 3, 8, QChar('0'));
        script += QString(" \"$(printf '%b' '%1')\"").arg(octal);
    }
    QProcess p;
    p.setProcessEnvironment(e);
    p.start("/bin/sh", {"-c", script, HOROLUX_BIN});
    Run run;
    if (p.waitForFinished(20000) && p.exitStatus() == QProcess::NormalExit)
        run.status = p.exitCode();
    run.out = p.readAllStandardOutput();
    run.err = p.readAllStandardError();
    return run;
}

// A verb started and left running.
QProcess* startVerb(const E2eRig& rig, const QStringList& args, bool runtime, QObject* parent)
{
    auto* p = new QProcess(parent);
    p->setProcessEnvironment(verbEnvironment(rig, runtime));
    p->start(HOROLUX_BIN, args);
    return p;
}

ino_t inode(const QString& path)
{
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_ino : 0;
}

} // namespace

// The reminder verbs of a second program: through the running clock, or on the file alone.
class TestE2eRemote : public QObject {
    Q_OBJECT
private slots:
    void verbs_data();
    void verbs();
    void floodKeepsTheClockTicking();
    void answersHoldWhateverTheEnvironment();
};

void TestE2eRemote::verbs_data()
{
    QTest::addColumn<bool>("running");
    QTest::newRow("running copy") << true;
    QTest::newRow("no copy") << false;
}

void TestE2eRemote::verbs()
{
    QFETCH(bool, running);
    E2eRig rig;
    QVERIFY(QDir().mkpath(QFileInfo(rig.schedulePath()).path()));
    QFile seed(rig.schedulePath());
    QVERIFY(seed.open(QIODevice::WriteOnly) && seed.write(Seed) == Seed.size());
    seed.close();
    if (running) {
        QVERIFY(rig.startX());
        QVERIFY(rig.startClock());
        QVERIFY2(!rig.waitForWindow().isEmpty(), qPrintable(rig.clockOutput()));
    }

    Run r = verb(rig, {"--remind", "2030-01-02 09:15", "Call Ana"});
    QCOMPARE(r.status, 0);
    QCOMPARE(r.out, QByteArray("9ba06e85\t2030-01-02 09:15\tonce\treminder\tCall Ana\n"));
    // Saved before the answer.
    QCOMPARE(rig.readFile(rig.schedulePath()), Seed + "09154748500Reminder:Call Ana\r\n");
    r = verb(rig, {"--remind", "2030-01-02 09:15", "CALL ANA"}); // held already
    QCOMPARE(r.status, 0);
    QCOMPARE(r.out, QByteArray("9ba06e85\t2030-01-02 09:15\tonce\treminder\tCall Ana\n"));

    r = verb(rig, {"--list"});
    QCOMPARE(r.status, 0);
    QCOMPARE(r.out, QByteArray("e2e8ce39\t2030-01-01 08:00\tonce\treminder\tseed\n"
                               "9ba06e85\t2030-01-02 09:15\tonce\treminder\tCall Ana\n"));
    r = verb(rig, {"--cancel", "e2e8ce39"});
    QCOMPARE(r.status, 0);
    QCOMPARE(r.out, QByteArray("2030-01-01 08:00\tonce\treminder\tseed\n"));
    const QByteArray left = "09154748500Reminder:Call Ana\r\n";
    QCOMPARE(rig.readFile(rig.schedulePath()), left);

    // Nothing to do, or bad input: the file keeps its bytes and is not even rewritten. The rules'
    // own test has the full tables; these are the ways a refusal reaches the command line.
    const ino_t before = inode(rig.schedulePath());
    const QList<QPair<QList<QByteArray>, int>> refused = {
        {{"--cancel", "e2e8ce39"}, 1}, // cancelled already
        {{"--cancel", "2"}, 2},
        {{"--cancel", "x"}, 2},
        {{"--cancel"}, 2},
        {{"--remind", "25:00", "t"}, 2},
        {{"--remind", "2001-01-01 10:00", "t"}, 2},
        {{"--remind", "10:00", "a\r\nb"}, 2},
        {{"--remind", "10:00", "\xff\xfe not UTF-8"}, 2},
        {{"--remind", "10:00"}, 2},
        {{"--remind", "10:00", "t", "extra"}, 2},
        {{"--list", "extra"}, 2},
        {{"--snooze", "9ba06e85", "10m"}, 1}, // never fired
        {{"--snooze", "9ba06e85", "10"}, 2},
        {{"--snooze", "9ba06e85"}, 2},
    };
    for (const auto& [args, status] : refused) {
        r = verb(rig, args);
        QVERIFY2(r.status == status, args.join(' ').left(60).constData());
        QVERIFY(r.out.isEmpty());
        QCOMPARE(r.err.count('\n'), 1);
        QCOMPARE(rig.readFile(rig.schedulePath()), left);
    }
    QCOMPARE(inode(rig.schedulePath()), before);

    if (running) {
        QVERIFY(rig.clockRunning());
        QCOMPARE(rig.terminate(), 0);
        QCOMPARE(rig.readFile(rig.schedulePath()), left);
    } else {
        // Only the schedule was used: no settings were written.
        QVERIFY(!QFile::exists(rig.settingsPath()));
    }
}

// Ten thousand reminders through the socket, sixteen at a time, then a hundred again in
// capitals: one sorted file without duplicates, and the face ticked all along.
void TestE2eRemote::floodKeepsTheClockTicking()
{
    E2eRig rig;
    QVERIFY(rig.startX());
    QVERIFY(rig.startClock());
    QVERIFY2(!rig.waitForWindow().isEmpty(), qPrintable(rig.clockOutput()));
    QProcess flood;
    flood.setProcessChannelMode(QProcess::MergedChannels);
    flood.start(REMIND_FLOOD_BIN,
                {rig.home() + "/.local/state/horolux/horolux.socket", "10000", "16", "100"});
    QVERIFY(flood.waitForStarted());
    bool lit = false, dark = false;
    while (!flood.waitForFinished(250))
        (E2eRig::colonLit(rig.screenshot(), Window) ? lit : dark) = true;
    const QByteArray said = flood.readAll();
    qInfo("%s", said.trimmed().constData());
    QCOMPARE(flood.exitCode(), 0);
    for (int i = 0; i < 12 && !(lit && dark); ++i) {
        (E2eRig::colonLit(rig.screenshot(), Window) ? lit : dark) = true;
        QThread::msleep(250);
    }
    QVERIFY(lit && dark);

    const QByteArray file = rig.readFile(rig.schedulePath());
    ScheduleList list;
    QCOMPARE(list.parse(file), 0);
    QCOMPARE(list.count(), 10000);
    QCOMPARE(list.format(), file); // already in order, nothing dropped on reading
    QCOMPARE(list.at(0), "00004748400Reminder:flood 0");
    QCOMPARE(list.at(9999), "23594748900Reminder:flood 8639");
    QVERIFY(rig.clockRunning());
    QCOMPARE(rig.terminate(), 0);
}

// A verb without the clock's XDG_RUNTIME_DIR still finds the clock, so the clock's next save
// keeps what it added. A stopped clock leaves a verb that sent its request unsure (3), and one
// that could not send it refused (1); neither request is carried out once the clock goes on.
void TestE2eRemote::answersHoldWhateverTheEnvironment()
{
    E2eRig rig;
    QVERIFY(rig.startX());
    QVERIFY(rig.startClock());
    QVERIFY2(!rig.waitForWindow().isEmpty(), qPrintable(rig.clockOutput()));
    QCOMPARE(verb(rig, {"--remind", "2030-01-03 10:00", "from cron"}, false).status, 0);
    QCOMPARE(verb(rig, {"--remind", "2030-01-03 11:00", "from desk"}).status, 0);
    const QByteArray kept = "10004748600Reminder:from cron\r\n11004748600Reminder:from desk\r\n";
    QCOMPARE(rig.readFile(rig.schedulePath()), kept);

    const pid_t clock = pid_t(rig.clockPid());
    QCOMPARE(::kill(clock, SIGSTOP), 0);
    QObject owner;
    QList<QProcess*> waiting;
    for (int i = 0; i < 12; ++i)
        waiting << startVerb(
            rig,
            {"--remind", QString("2030-01-04 10:%1").arg(i, 2, 10, QChar('0')), "while stopped"},
            i % 2 == 0, &owner);
    QElapsedTimer waited;
    waited.start();
    QMap<int, int> statuses;
    for (QProcess* p : waiting) {
        QVERIFY(p->waitForFinished(int(qMax<qint64>(1, 40000 - waited.elapsed()))));
        ++statuses[p->exitCode()];
        QCOMPARE(p->readAllStandardError().count('\n'), 1);
    }
    QCOMPARE(::kill(clock, SIGCONT), 0);
    QCOMPARE(statuses.keys(), (QList<int>{1, 3}));
    const Run listed = verb(rig, {"--list"});
    QCOMPARE(listed.status, 0);
    QVERIFY(!listed.out.contains("while stopped"));
    QCOMPARE(rig.readFile(rig.schedulePath()), kept);
    QCOMPARE(rig.terminate(), 0);
}

QTEST_MAIN(TestE2eRemote)
#include "tst_e2e_remote.moc"
