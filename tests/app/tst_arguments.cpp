// The real program answers its command line on a console: no display, and a copy already
// holding the per-display lock, must change nothing.
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

class TestArguments : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void answers_data();
    void answers();

private:
    QTemporaryDir m_runtime;
    int m_lockFd = -1;
};

void TestArguments::initTestCase()
{
    QVERIFY(m_runtime.isValid());
    // Stands in for a running clock: without a display its lock is named "none".
    const QByteArray lock = QFile::encodeName(m_runtime.filePath("horolux-none.lock"));
    m_lockFd = ::open(lock.constData(), O_RDWR | O_CREAT, 0600);
    QVERIFY(m_lockFd >= 0);
    QCOMPARE(::flock(m_lockFd, LOCK_EX | LOCK_NB), 0);
}

void TestArguments::cleanupTestCase()
{
    if (m_lockFd >= 0)
        ::close(m_lockFd);
}

void TestArguments::answers_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("err");

    QTest::newRow("version") << QStringList{"--version"} << 0 << "^horolux \\d+\\.\\d+\\.\\d+\\n$"
                             << "";
    QTest::newRow("help") << QStringList{"--help"} << 0
                          << "^Usage: horolux \\[OPTION\\]\\n(.*\\n)+$"
                          << "";
    QTest::newRow("unknown") << QStringList{"--x"} << 2 << "^$"
                             << "horolux: unrecognized option '--x'; try 'horolux --help' for "
                                "more information\n";
    QTest::newRow("qt option") << QStringList{"-display", ":0"} << 2 << "^$"
                               << "horolux: invalid option -- 'd'; try 'horolux --help' for "
                                  "more information\n";
}

void TestArguments::answers()
{
    QFETCH(QStringList, arguments);
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("DISPLAY");
    env.remove("WAYLAND_DISPLAY");
    env.remove("QT_QPA_PLATFORM");
    env.insert("XDG_RUNTIME_DIR", m_runtime.path());
    process.setProcessEnvironment(env);
    process.start(HOROLUX_BIN, arguments);
    QVERIFY(process.waitForFinished(10000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QTEST(process.exitCode(), "status");
    QFETCH(QString, out);
    const QString output = QString::fromUtf8(process.readAllStandardOutput());
    QVERIFY2(QRegularExpression(out).match(output).hasMatch(), qPrintable(output));
    QTEST(QString::fromUtf8(process.readAllStandardError()), "err");
}

QTEST_GUILESS_MAIN(TestArguments)
#include "tst_arguments.moc"
