#include "platform/LinuxSingleInstance.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

class TestSingleInstance : public QObject {
    Q_OBJECT
private slots:
    void displayKey_data();
    void displayKey();
    void lockFolder_data();
    void lockFolder();
    void requestsWaitForTheHandler();
    void killedHolderDoesNotBlock();
    void unreachableHolderStillBlocks();
    void launchedProgramDoesNotKeepTheLock();

private:
    QTemporaryDir m_dir;
};

void TestSingleInstance::displayKey_data()
{
    QTest::addColumn<QByteArray>("display");
    QTest::addColumn<QString>("key");
    QTest::newRow("local") << QByteArray(":0") << "_0";
    // The screen number names the same server: both must find one lock.
    QTest::newRow("local with screen") << QByteArray(":0.0") << "_0";
    QTest::newRow("screen 1") << QByteArray(":10.1") << "_10";
    QTest::newRow("host") << QByteArray("localhost:10.0") << "localhost_10";
    QTest::newRow("dotted host") << QByteArray("pc.example.org:1") << "pc.example.org_1";
    QTest::newRow("wayland") << QByteArray("wayland-0") << "wayland-0";
    QTest::newRow("none") << QByteArray() << "none";
    // Never a path out of the lock folder.
    QTest::newRow("slashes") << QByteArray("../../etc/x:0") << ".._.._etc_x_0";
    QTest::newRow("long") << QByteArray(60, 'h') + ":0" << QString(48, 'h');
}

void TestSingleInstance::displayKey()
{
    QFETCH(QByteArray, display);
    QTEST(LinuxSingleInstance::displayKey(display), "key");
}

// How the runtime folder and the folder under the temporary root are set up before the
// choice, and which one is chosen ("runtime", "tmp" or "none").
void TestSingleInstance::lockFolder_data()
{
    QTest::addColumn<QString>("runtime");
    QTest::addColumn<QString>("fallback");
    QTest::addColumn<QString>("chosen");
    QTest::newRow("runtime folder") << "private"
                                    << "absent"
                                    << "runtime";
    QTest::newRow("runtime unset") << "unset"
                                   << "absent"
                                   << "tmp";
    QTest::newRow("runtime relative") << "relative"
                                      << "absent"
                                      << "tmp";
    QTest::newRow("runtime missing") << "absent"
                                     << "absent"
                                     << "tmp";
    QTest::newRow("runtime writable by all") << "0777"
                                             << "absent"
                                             << "tmp";
    QTest::newRow("runtime of another user") << "foreign"
                                             << "absent"
                                             << "tmp";
    QTest::newRow("fallback exists") << "unset"
                                     << "private"
                                     << "tmp";
    QTest::newRow("fallback readable by group") << "unset"
                                                << "0750"
                                                << "none";
    QTest::newRow("fallback writable by all") << "unset"
                                              << "0777"
                                              << "none";
    QTest::newRow("fallback is a link") << "unset"
                                        << "link"
                                        << "none";
    QTest::newRow("fallback is a file") << "unset"
                                        << "file"
                                        << "none";
    QTest::newRow("fallback of another user") << "unset"
                                              << "foreign"
                                              << "none";
}

namespace {
// Makes `path` as `how` says; false when this machine cannot (no right to give files away).
bool makeFolder(const QString& path, const QString& how, const QString& scratch)
{
    const QByteArray p = QFile::encodeName(path);
    if (how == "absent" || how == "unset" || how == "relative")
        return true;
    if (how == "file")
        return QFile(path).open(QIODevice::WriteOnly);
    if (how == "link") {
        const QByteArray target = QFile::encodeName(scratch + "/elsewhere");
        return ::mkdir(target.constData(), 0700) == 0 &&
               ::symlink(target.constData(), p.constData()) == 0;
    }
    if (::mkdir(p.constData(), 0700) != 0)
        return false;
    if (how == "foreign")
        return ::geteuid() == 0 && ::chown(p.constData(), 12345, 12345) == 0;
    if (how != "private")
        return ::chmod(p.constData(), static_cast<mode_t>(how.toInt(nullptr, 8))) == 0;
    return true;
}
} // namespace

void TestSingleInstance::lockFolder()
{
    QFETCH(QString, runtime);
    QFETCH(QString, fallback);
    QFETCH(QString, chosen);
    QTemporaryDir scratch;
    const uint uid = ::geteuid();
    const QString runtimeDir = scratch.path() + "/run";
    const QString tmpDir = scratch.path() + QString("/horolux-%1").arg(uid);
    if (!makeFolder(runtimeDir, runtime, scratch.path()) ||
        !makeFolder(tmpDir, fallback, scratch.path()))
        QSKIP("this set-up needs the right to give folders to another user");
    QByteArray env = QFile::encodeName(runtimeDir);
    if (runtime == "unset")
        env.clear();
    else if (runtime == "relative")
        env = "run";

    const QString folder = LinuxSingleInstance::lockFolder(env, scratch.path(), uid);
    const QString expected = chosen == "runtime" ? runtimeDir : chosen == "tmp" ? tmpDir : "";
    QCOMPARE(folder, expected);
    if (chosen == "tmp") {
        struct stat st {};
        QCOMPARE(::lstat(QFile::encodeName(tmpDir).constData(), &st), 0);
        QCOMPARE(st.st_mode & 0777, 0700u);
    }
}

// A start while the first copy is still starting up: its panel is shown once it can be.
void TestSingleInstance::requestsWaitForTheHandler()
{
    LinuxSingleInstance first(m_dir.path(), ":6");
    QVERIFY(first.claim());
    LinuxSingleInstance second(m_dir.path(), ":6");
    QVERIFY(!second.claim());
    QTest::qWait(50);
    int shown = 0;
    first.setShowRequestHandler([&shown] { ++shown; });
    QTRY_COMPARE(shown, 1);
}

// A copy killed outright leaves its lock file and socket behind; neither may stop the next.
void TestSingleInstance::killedHolderDoesNotBlock()
{
    const pid_t child = ::fork();
    if (child == 0) {
        LinuxSingleInstance doomed(m_dir.path(), ":9");
        if (doomed.claim())
            ::raise(SIGKILL);
        ::_exit(1);
    }
    int status = 0;
    QCOMPARE(::waitpid(child, &status, 0), child);
    QVERIFY(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
    QVERIFY(QFile::exists(m_dir.path() + "/horolux-_9.socket"));

    int shown = 0;
    LinuxSingleInstance next(m_dir.path(), ":9");
    QVERIFY(next.claim());
    next.setShowRequestHandler([&shown] { ++shown; });
    LinuxSingleInstance later(m_dir.path(), ":9");
    QVERIFY(!later.claim());
    QTRY_COMPARE(shown, 1);
}

// A holder that never answers (stopped, or without its socket) still keeps a second copy out.
void TestSingleInstance::unreachableHolderStillBlocks()
{
    const QString lock = m_dir.path() + "/horolux-_11.lock";
    const int fd = ::open(QFile::encodeName(lock).constData(), O_RDWR | O_CREAT, 0600);
    QVERIFY(fd >= 0);
    QCOMPARE(::flock(fd, LOCK_EX | LOCK_NB), 0);
    LinuxSingleInstance second(m_dir.path(), ":11");
    QVERIFY(!second.claim());
    ::close(fd);
    LinuxSingleInstance third(m_dir.path(), ":11");
    QVERIFY(third.claim());
}

// A program the clock started outlives it; it must not inherit the lock and keep the
// next start from running.
void TestSingleInstance::launchedProgramDoesNotKeepTheLock()
{
    qint64 sleeper = 0;
    {
        LinuxSingleInstance first(m_dir.path(), ":12");
        QVERIFY(first.claim());
        QVERIFY(QProcess::startDetached("sleep", {"5"}, QString(), &sleeper));
    }
    LinuxSingleInstance next(m_dir.path(), ":12");
    const bool claimed = next.claim();
    ::kill(static_cast<pid_t>(sleeper), SIGKILL);
    QVERIFY(claimed);
}

QTEST_GUILESS_MAIN(TestSingleInstance)
#include "tst_singleinstance.moc"
