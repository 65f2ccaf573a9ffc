#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

// The save of the settings and the schedule must never report success after a failed write and
// never leave a partial or empty file: each system call of the save fails in turn.
class TestAtomicFile : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void failingCallKeepsOldFile_data();
    void failingCallKeepsOldFile();
};

void TestAtomicFile::initTestCase()
{
    if (QStandardPaths::findExecutable("strace").isEmpty())
        QSKIP("strace is not installed");
}

void TestAtomicFile::failingCallKeepsOldFile_data()
{
    QTest::addColumn<QString>("calls");
    QTest::addColumn<QString>("error");
    QTest::addColumn<int>("exitCode");
    QTest::newRow("nothing fails") << ""
                                   << "" << 0;
    QTest::newRow("disk full") << "write"
                               << "ENOSPC" << 3;
    QTest::newRow("sync fails") << "fsync"
                                << "EIO" << 3;
    QTest::newRow("rename refused") << "rename,renameat,renameat2"
                                    << "EXDEV" << 3;
}

void TestAtomicFile::failingCallKeepsOldFile()
{
    QFETCH(QString, calls);
    QFETCH(QString, error);
    QTemporaryDir dir;
    const QString path = dir.filePath("horolux.dat");
    {
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("old\r\n");
    }
    QStringList args{"-f", "-qq", "-o", "/dev/null"};
    if (!calls.isEmpty())
        args << "-e"
             << "trace=" + calls << "-e"
             << "inject=" + calls + ":error=" + error;
    args << ATOMICWRITE << path << "new contents";
    QProcess p;
    p.start("strace", args);
    QVERIFY(p.waitForFinished(20000));
    QTEST(p.exitCode(), "exitCode");
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray(p.exitCode() == 0 ? "new contents" : "old\r\n"));
    // Nothing is left behind beside the file.
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"horolux.dat"});
}

QTEST_GUILESS_MAIN(TestAtomicFile)
#include "tst_atomicfile.moc"
