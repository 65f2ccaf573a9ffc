// The real program answers its command line on a console: no display, and a copy already
// holding the per-display lock, must change nothing.
#include <QFileInfo>
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
    void manualNamesEveryOption_data();
    void manualNamesEveryOption();

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

// Every option --help offers is told of in each language's manual page.
void TestArguments::manualNamesEveryOption_data()
{
    QTest::addColumn<QString>("manual");
    QTest::addColumn<QString>("option");
    QProcess help;
    help.start(HOROLUX_BIN, {"--help"});
    QVERIFY(help.waitForFinished(10000));
    const QString text = QString::fromUtf8(help.readAllStandardOutput());
    QStringList options;
    auto found =
        QRegularExpression("^ +(--[a-z-]+)", QRegularExpression::MultilineOption).globalMatch(text);
    while (found.hasNext())
        options << found.next().captured(1);
    QVERIFY2(options.size() >= 5, qPrintable(text));
    for (const QString& manual : QString(HOROLUX_MANUALS).split(u','))
        for (const QString& option : options)
            QTest::addRow("%s %s", qPrintable(QFileInfo(manual).fileName()), qPrintable(option))
                << manual << option;
}

void TestArguments::manualNamesEveryOption()
{
    QFETCH(QString, manual);
    QFETCH(QString, option);
    QFile page(manual);
    QVERIFY(page.open(QIODevice::ReadOnly));
    // Roff spells a hyphen that must not turn into a dash as \-.
    const QString entry = "\\fB" + QString(option).replace("-", "\\-") + "\\fR";
    const QString bare = ".B " + QString(option).replace("-", "\\-") + "\n";
    const QString text = QString::fromUtf8(page.readAll());
    QVERIFY2(text.contains(entry) || text.contains(bare), qPrintable(option));
}

QTEST_GUILESS_MAIN(TestArguments)
#include "tst_arguments.moc"
