#include "platform/LinuxSingleInstance.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <csignal>
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {
std::atomic<int> acceptCalls{0};
}

// Counts the listener's accept calls, so a busy loop shows without timing anything.
extern "C" int accept4(int fd, sockaddr* __restrict address, socklen_t* __restrict length,
                       int flags)
{
    using Accept = int (*)(int, sockaddr*, socklen_t*, int);
    static const auto real = reinterpret_cast<Accept>(::dlsym(RTLD_NEXT, "accept4"));
    ++acceptCalls;
    return real(fd, address, length, flags);
}

class TestSingleInstance : public QObject {
    Q_OBJECT
private slots:
    void displayKey_data();
    void displayKey();
    void lockFolder_data();
    void lockFolder();
    void tmpNameTakenByAnotherUser_data();
    void tmpNameTakenByAnotherUser();
    void requestsWaitForTheHandler();
    void killedHolderDoesNotBlock();
    void unreachableHolderStillBlocks();
    void longFolderPath();
    void outOfDescriptorsDoesNotSpin();
    void launchedProgramDoesNotKeepTheLock();

private:
    QTemporaryDir m_dir;
};

void TestSingleInstance::displayKey_data()
{
    QTest::addColumn<QByteArray>("display");
    QTest::addColumn<QString>("key");
    // The screen number names the same server: a start there shows the panel.
    QTest::newRow("local with screen") << QByteArray(":0.0") << ":0";
    QTest::newRow("screen 1") << QByteArray(":10.1") << ":10";
    QTest::newRow("dotted host") << QByteArray("pc.example.org:1") << "pc.example.org:1";
    QTest::newRow("wayland") << QByteArray("wayland-0") << "wayland-0";
}

void TestSingleInstance::displayKey()
{
    QFETCH(QByteArray, display);
    QTEST(LinuxSingleInstance::displayKey(display), "key");
}

namespace {
// Makes `path` as `how` says; false when this machine cannot (no right to give files away).
bool makeFolder(const QString& path, const QString& how, const QString& scratch)
{
    const QByteArray p = QFile::encodeName(path);
    if (how == "absent")
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
        return ::geteuid() == 0 && ::chown(p.constData(), 65534, 65534) == 0;
    if (how != "private")
        return ::chmod(p.constData(), static_cast<mode_t>(how.toInt(nullptr, 8))) == 0;
    return true;
}

// Every name below `path` (itself included when a file).
QStringList contents(const QString& path)
{
    QStringList names;
    QDirIterator it(path, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        names << it.next();
    if (QFileInfo(path).isFile())
        names << path + ":" + QString::number(QFileInfo(path).size());
    return names;
}
} // namespace

// How the runtime folder, the system's folder for the user, HOME and the name in the shared
// temporary folder are set up, and which folder holds the lock.
void TestSingleInstance::lockFolder_data()
{
    QTest::addColumn<QString>("runtime");
    QTest::addColumn<QString>("runUser");
    QTest::addColumn<QString>("home");
    QTest::addColumn<QString>("tmp");
    QTest::addColumn<QString>("chosen");
    QTest::newRow("runtime") << "private"
                             << "private"
                             << "private"
                             << "absent"
                             << "run";
    QTest::newRow("runtime writable by all") << "0777"
                                             << "private"
                                             << "private"
                                             << "absent"
                                             << "run-user/" + QString::number(::geteuid());
    QTest::newRow("runtime is a link") << "link"
                                       << "absent"
                                       << "private"
                                       << "absent"
                                       << "home/.local/state/horolux";
    QTest::newRow("run-user readable by all") << "foreign"
                                              << "0755"
                                              << "private"
                                              << "absent"
                                              << "home/.local/state/horolux";
    QTest::newRow("home of another user") << "absent"
                                          << "absent"
                                          << "foreign"
                                          << "absent"
                                          << "tmp/horolux-" + QString::number(::geteuid());
    QTest::newRow("no home, tmp taken") << "absent"
                                        << "absent"
                                        << "absent"
                                        << "0777"
                                        << "";
}

void TestSingleInstance::lockFolder()
{
    QFETCH(QString, runtime);
    QFETCH(QString, runUser);
    QFETCH(QString, home);
    QFETCH(QString, tmp);
    QFETCH(QString, chosen);
    QTemporaryDir scratch;
    const QString s = scratch.path();
    const uint uid = ::geteuid();
    QVERIFY(QDir().mkpath(s + "/run-user") && QDir().mkpath(s + "/tmp"));
    if (!makeFolder(s + "/run", runtime, s) ||
        !makeFolder(s + "/run-user/" + QString::number(uid), runUser, s) ||
        !makeFolder(s + "/home", home, s) ||
        !makeFolder(s + "/tmp/horolux-" + QString::number(uid), tmp, s))
        QSKIP("this set-up needs the right to give folders to another user");
    const LinuxSingleInstance::Places places{QFile::encodeName(s + "/run"), s + "/run-user",
                                             s + "/home", s + "/tmp"};
    QCOMPARE(LinuxSingleInstance::lockFolder(places, uid),
             chosen.isEmpty() ? "" : s + "/" + chosen);
    if (!chosen.isEmpty()) {
        struct stat st {};
        QCOMPARE(::lstat(QFile::encodeName(s + "/" + chosen).constData(), &st), 0);
        QVERIFY((st.st_mode & 022) == 0);
    }
}

// Another local user makes the name in /tmp first, when there is no runtime folder: the
// guard must stay on, and nothing may be written through what they made.
void TestSingleInstance::tmpNameTakenByAnotherUser_data()
{
    QTest::addColumn<QString>("planted");
    QTest::newRow("file") << "file";
    QTest::newRow("link to a folder") << "link";
    QTest::newRow("folder writable by all") << "0777";
    QTest::newRow("folder of another user") << "foreign";
}

void TestSingleInstance::tmpNameTakenByAnotherUser()
{
    QFETCH(QString, planted);
    QTemporaryDir scratch;
    const QString s = scratch.path();
    const QString name = s + "/tmp/horolux-" + QString::number(::geteuid());
    QVERIFY(QDir().mkpath(s + "/tmp") && QDir().mkpath(s + "/home"));
    if (!makeFolder(name, planted, s))
        QSKIP("this set-up needs the right to give folders to another user");
    const QString target = planted == "link" ? s + "/elsewhere" : name;
    const QStringList before = contents(target);
    const QString folder = LinuxSingleInstance::lockFolder(
        {QByteArray(), s + "/run-user", s + "/home", s + "/tmp"}, ::geteuid());

    LinuxSingleInstance first(folder, ":3");
    QCOMPARE(first.claim().outcome, ISingleInstance::Outcome::Claimed);
    LinuxSingleInstance second(folder, ":3");
    QCOMPARE(second.claim().outcome, ISingleInstance::Outcome::Shown);
    QCOMPARE(contents(target), before);
}

using Outcome = ISingleInstance::Outcome;

// A start while the first copy is still starting up: its panel is shown once it can be. A
// start on another display shows nothing and learns where the clock runs.
void TestSingleInstance::requestsWaitForTheHandler()
{
    LinuxSingleInstance first(m_dir.path(), ":6");
    QCOMPARE(first.claim().outcome, Outcome::Claimed);
    LinuxSingleInstance elsewhere(m_dir.path(), ":7");
    const ISingleInstance::Claim claim = elsewhere.claim();
    QCOMPARE(claim.outcome, Outcome::OtherDisplay);
    QCOMPARE(claim.display, ":6");
    LinuxSingleInstance second(m_dir.path(), ":6.0");
    QCOMPARE(second.claim().outcome, Outcome::Shown);
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
        if (doomed.claim().outcome == Outcome::Claimed)
            ::raise(SIGKILL);
        ::_exit(1);
    }
    int status = 0;
    QCOMPARE(::waitpid(child, &status, 0), child);
    QVERIFY(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
    QVERIFY(QFile::exists(m_dir.path() + "/horolux.socket"));

    int shown = 0;
    LinuxSingleInstance next(m_dir.path(), ":10");
    QCOMPARE(next.claim().outcome, Outcome::Claimed);
    next.setShowRequestHandler([&shown] { ++shown; });
    LinuxSingleInstance later(m_dir.path(), ":10");
    QCOMPARE(later.claim().outcome, Outcome::Shown);
    QTRY_COMPARE(shown, 1);
}

// A holder that never answers (stopped, or without its socket) still keeps a second copy out.
void TestSingleInstance::unreachableHolderStillBlocks()
{
    QTemporaryDir dir;
    const int fd =
        ::open(QFile::encodeName(dir.path() + "/horolux.lock").constData(), O_RDWR | O_CREAT, 0600);
    QVERIFY(fd >= 0);
    QCOMPARE(::flock(fd, LOCK_EX | LOCK_NB), 0);
    QCOMPARE(::write(fd, ":11\n", 4), 4);
    LinuxSingleInstance second(dir.path(), ":11");
    QCOMPARE(second.claim().outcome, Outcome::Unreachable);
    ::close(fd);
    LinuxSingleInstance third(dir.path(), ":11");
    QCOMPARE(third.claim().outcome, Outcome::Claimed);
}

// A folder path longer than a socket address holds: a later start still reaches the first.
void TestSingleInstance::longFolderPath()
{
    const QString folder = m_dir.path() + "/" + QString(60, 'a') + "/" + QString(60, 'b');
    QVERIFY(QDir().mkpath(folder));
    LinuxSingleInstance first(folder, ":14");
    QCOMPARE(first.claim().outcome, Outcome::Claimed);
    int shown = 0;
    first.setShowRequestHandler([&shown] { ++shown; });
    LinuxSingleInstance second(folder, ":14");
    QCOMPARE(second.claim().outcome, Outcome::Shown);
    QTRY_COMPARE(shown, 1);
}

// Out of descriptors, the waiting request cannot be accepted; the copy must not spin on it,
// and must take it once descriptors are free again.
void TestSingleInstance::outOfDescriptorsDoesNotSpin()
{
    QTemporaryDir dir;
    LinuxSingleInstance first(dir.path(), ":15");
    QCOMPARE(first.claim().outcome, Outcome::Claimed);
    int shown = 0;
    first.setShowRequestHandler([&shown] { ++shown; });

    rlimit old{};
    QCOMPARE(::getrlimit(RLIMIT_NOFILE, &old), 0);
    rlimit low = old;
    low.rlim_cur = 512;
    QCOMPARE(::setrlimit(RLIMIT_NOFILE, &low), 0);
    QList<int> fillers;
    for (int fd; (fd = ::open("/dev/null", O_RDONLY | O_CLOEXEC)) >= 0;)
        fillers << fd;
    QVERIFY(fillers.size() > 8);
    const pid_t child = ::fork();
    if (child == 0) {
        for (int i = 0; i < 8; ++i)
            ::close(fillers[i]);
        LinuxSingleInstance second(dir.path(), ":15");
        ::_exit(second.claim().outcome == Outcome::Shown ? 0 : 1);
    }
    int status = 0;
    QCOMPARE(::waitpid(child, &status, 0), child);
    QVERIFY(WIFEXITED(status) && WEXITSTATUS(status) == 0);

    acceptCalls = 0;
    QTest::qWait(300);
    const int calls = acceptCalls;
    for (const int fd : fillers)
        ::close(fd);
    ::setrlimit(RLIMIT_NOFILE, &old);
    QVERIFY2(calls <= 2, qPrintable(QString::number(calls)));
    QTRY_COMPARE(shown, 1);
}

// A program the clock started outlives it; it must not inherit the lock and keep the
// next start from running.
void TestSingleInstance::launchedProgramDoesNotKeepTheLock()
{
    QTemporaryDir dir;
    qint64 sleeper = 0;
    {
        LinuxSingleInstance first(dir.path(), ":12");
        QCOMPARE(first.claim().outcome, Outcome::Claimed);
        QVERIFY(QProcess::startDetached("sleep", {"5"}, QString(), &sleeper));
    }
    LinuxSingleInstance next(dir.path(), ":12");
    const Outcome claimed = next.claim().outcome;
    ::kill(static_cast<pid_t>(sleeper), SIGKILL);
    QCOMPARE(claimed, Outcome::Claimed);
}

QTEST_GUILESS_MAIN(TestSingleInstance)
#include "tst_singleinstance.moc"
