#include "doubles/DiskFiles.h"
#include "rules/sched/ScheduleFile.h"
#include "rules/sched/ScheduleList.h"
#include "tst_schedulecrash_lists.h"

#include <QCollator>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <algorithm>

class TestScheduleCrash : public QObject {
    Q_OBJECT

private slots:
    void killedWhileSaving();
};

// A process saving in a loop is killed at random moments; the file must then load as exactly
// one of the two schedules, never a mix, a cut or nothing.
void TestScheduleCrash::killedWhileSaving()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath("horolux.dat");

    QStringList expected[2];
    for (int i = 0; i < 2; ++i) {
        ScheduleList list;
        for (const QString& line : CrashLists::lines(i))
            list.add(line);
        expected[i] = list.lines();
    }

    QRandomGenerator rng(20240601);
    int seen[2] = {0, 0};
    const int rounds = 200;
    for (int round = 0; round < rounds; ++round) {
        QProcess saver;
        saver.start(SCHEDULE_SAVE_LOOP_BIN, {path});
        QVERIFY(saver.waitForStarted());
        QVERIFY2(saver.waitForReadyRead(30000), "the save loop did not start");
        QThread::usleep(rng.bounded(0, 40000));
        saver.kill();
        QVERIFY(saver.waitForFinished(30000));
        QCOMPARE(saver.exitStatus(), QProcess::CrashExit);

        ScheduleList loaded;
        const ScheduleFile::LoadResult r = ScheduleFile(diskFiles(), path).load(loaded);
        QVERIFY(r.fileRead);
        QCOMPARE(r.setAside, 0);
        const QStringList lines = loaded.lines();
        if (lines == expected[0])
            ++seen[0];
        else if (lines == expected[1])
            ++seen[1];
        else
            QFAIL(qPrintable(QString("round %1: the file holds %2 lines of neither list")
                                 .arg(round)
                                 .arg(lines.size())));
    }
    qInfo("old/new outcomes: %d / %d", seen[0], seen[1]);
}

QTEST_GUILESS_MAIN(TestScheduleCrash)
#include "tst_schedulecrash.moc"
