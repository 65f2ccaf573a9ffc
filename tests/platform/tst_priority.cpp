// The Linux priority setter, run in a helper process with threads of its own, with and without
// the right to raise priority. This process's own priority is never changed.
#include <QProcess>
#include <QTest>

#include <unistd.h>

class TestPriority : public QObject {
    Q_OBJECT

private slots:
    void normalAfterIdle_data();
    void normalAfterIdle();
};

void TestPriority::normalAfterIdle_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<bool>("right");
    QTest::addColumn<QString>("output");
    QTest::newRow("refused: every thread stays idle")
        << "idle" << false << "right=0 result=not-permitted threads=idle:0 idle:0 idle:0 idle:0";
    QTest::newRow("permitted: every thread normal")
        << "idle" << true << "right=1 result=set threads=other:0 other:0 other:0 other:0";
    // The first thread could change and did; the second could not, so the first is put back.
    QTest::newRow("refused part way: the changed thread put back")
        << "mixed" << false << "right=0 result=not-permitted threads=batch:0 idle:0 idle:0 idle:0";
}

void TestPriority::normalAfterIdle()
{
    QFETCH(QString, mode);
    QFETCH(bool, right);
    QFETCH(QString, output);
    const bool root = ::geteuid() == 0;
    if (right && !root)
        QSKIP("only root has the right to raise priority here");
    QString program = PRIORITY_PROBE_BIN;
    QStringList args{mode};
    if (root && !right) {
        args = QStringList{"--inh-caps=-sys_nice", "--bounding-set=-sys_nice", program} + args;
        program = "setpriv";
    }
    QProcess p;
    p.start(program, args);
    QVERIFY(p.waitForFinished(20000));
    QCOMPARE(QString::fromUtf8(p.readAllStandardOutput()).trimmed(), output);
}

QTEST_GUILESS_MAIN(TestPriority)
#include "tst_priority.moc"
