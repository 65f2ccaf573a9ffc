#include "platform/linux/LinuxSingleInstance.h"
#include "platform/linux/ReminderWire.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
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
#include <sys/un.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {
std::atomic<int> acceptCalls{0};

// A caller of the holder in `folder` that has sent `bytes`; -1 when it could not.
int sendTo(const QString& folder, const QByteArray& bytes)
{
    const int s = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray path = QFile::encodeName(folder) + "/horolux.socket";
    std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
    if (::connect(s, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        ::send(s, bytes.constData(), size_t(bytes.size()), MSG_NOSIGNAL) != bytes.size()) {
        ::close(s);
        return -1;
    }
    return s;
}
} // namespace

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
    void misbehavingCallers_data();
    void misbehavingCallers();
    void displayKey_data();
    void displayKey();
    void lockFolder_data();
    void lockFolder();
    void tmpNameTakenByAnotherUser_data();
    void tmpNameTakenByAnotherUser();
    void requestsWaitForTheHandler();
    void killedHolderDoesNotBlock();
    void unreachableHolderStillBlocks();
    void commandsQueueForTheLock();
    void goneCallerIsNotServed();
    void outOfDescriptorsDoesNotSpin();
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

// How HOME, the user's folder under /run/user and the folder under the temporary root are set
// up before the choice, and which one is chosen ("home", "run", "tmp" or "none"). The runtime
// folder of the environment is never asked: cron and ssh often lack it.
void TestSingleInstance::lockFolder_data()
{
    QTest::addColumn<QString>("home");
    QTest::addColumn<QString>("runUser");
    QTest::addColumn<QString>("fallback");
    QTest::addColumn<QString>("chosen");
    const struct {
        const char* name;
        const char* home;
        const char* runUser;
        const char* fallback;
        const char* chosen;
    } rows[] = {
        // clang-format off
        {"home",                       "private",  "private", "private", "home"},
        {"home unset",                 "unset",    "private", "absent",  "run"},
        {"home relative",              "relative", "absent",  "absent",  "tmp"},
        {"home writable by all",       "0777",     "absent",  "absent",  "tmp"},
        {"home of another user",       "foreign",  "absent",  "absent",  "tmp"},
        {"run folder readable by all", "unset",    "0755",    "absent",  "tmp"},
        {"fallback exists",            "unset",    "absent",  "private", "tmp"},
        {"fallback readable by group", "unset",    "absent",  "0750",    "none"},
        {"fallback writable by all",   "unset",    "absent",  "0777",    "none"},
        {"fallback is a link",         "unset",    "absent",  "link",    "none"},
        {"fallback is a file",         "unset",    "absent",  "file",    "none"},
        {"fallback of another user",   "unset",    "absent",  "foreign", "none"},
        // clang-format on
    };
    for (const auto& row : rows)
        QTest::newRow(row.name) << row.home << row.runUser << row.fallback << row.chosen;
}

namespace {
// Makes `path` as `how` says; false when this machine cannot (no right to give files away).
bool makeFolder(const QString& path, const QString& how, const QString& scratch)
{
    const QByteArray p = QFile::encodeName(path);
    if (how == QLatin1String("absent") || how == QLatin1String("unset") ||
        how == QLatin1String("relative"))
        return true;
    if (how == QLatin1String("file"))
        return QFile(path).open(QIODevice::WriteOnly);
    if (how == QLatin1String("link")) {
        const QByteArray target = QFile::encodeName(scratch + "/elsewhere");
        return ::mkdir(target.constData(), 0700) == 0 &&
               ::symlink(target.constData(), p.constData()) == 0;
    }
    if (::mkdir(p.constData(), 0700) != 0)
        return false;
    if (how == QLatin1String("foreign"))
        return ::geteuid() == 0 && ::chown(p.constData(), 12345, 12345) == 0;
    if (how != QLatin1String("private"))
        return ::chmod(p.constData(), static_cast<mode_t>(how.toInt(nullptr, 8))) == 0;
    return true;
}
} // namespace

void TestSingleInstance::lockFolder()
{
    QFETCH(QString, home);
    QFETCH(QString, runUser);
    QFETCH(QString, fallback);
    QFETCH(QString, chosen);
    QTemporaryDir scratch;
    const uint uid = ::geteuid();
    const QString s = scratch.path();
    const QString homeDir = s + "/home";
    const QString runDir = s + QString("/run/%1").arg(uid);
    const QString tmpDir = s + QString("/horolux-%1").arg(uid);
    if (!QDir().mkpath(s + "/run") || !makeFolder(homeDir, home, s) ||
        !makeFolder(runDir, runUser, s) || !makeFolder(tmpDir, fallback, s))
        QSKIP("this set-up needs the right to give folders to another user");
    const QString homeEnv = home == QLatin1String("unset")      ? QString()
                            : home == QLatin1String("relative") ? QString("home")
                                                                : homeDir;

    const QString folder = LinuxSingleInstance::lockFolder(
        {.home = homeEnv, .runUserRoot = s + "/run", .tmpRoot = s}, uid);
    const QString expected = chosen == QLatin1String("home")  ? homeDir + "/.local/state/horolux"
                             : chosen == QLatin1String("run") ? runDir
                             : chosen == QLatin1String("tmp") ? tmpDir
                                                              : "";
    QCOMPARE(folder, expected);
    if (chosen == QLatin1String("home") || chosen == QLatin1String("tmp")) {
        struct stat st {};
        QCOMPARE(::lstat(QFile::encodeName(folder).constData(), &st), 0);
        QCOMPARE(st.st_mode & 0777, 0700u);
    }
}

// Another local user makes the name in /tmp first, with no runtime folder: the guard must
// stay on, and nothing may be written through what they made.
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
    const QString name = s + QString("/horolux-%1").arg(::geteuid());
    if (!makeFolder(name, planted, s) || !QDir().mkpath(s + "/home"))
        QSKIP("this set-up needs the right to give folders to another user");
    const QString folder =
        LinuxSingleInstance::lockFolder({.home = s + "/home", .tmpRoot = s}, ::geteuid());
    QCOMPARE(folder, s + "/home/.local/state/horolux");
    LinuxSingleInstance first(folder, ":3");
    QVERIFY(first.claim());
    QCOMPARE(LinuxSingleInstance(folder, ":3").claim().outcome, ISingleInstance::Outcome::Shown);
    const QFileInfo target(planted == QLatin1String("link") ? s + "/elsewhere" : name);
    QVERIFY(target.isDir() ? QDir(target.filePath()).isEmpty() : target.size() == 0);
}

// A start while the first copy is still starting up: its panel is shown once it can be, even
// from a folder too long for a socket address. One on another display shows nothing and
// learns where the clock runs.
void TestSingleInstance::requestsWaitForTheHandler()
{
    const QString folder = m_dir.path() + "/" + QString(100, 'f');
    QVERIFY(QDir().mkpath(folder));
    LinuxSingleInstance first(folder, ":6");
    QVERIFY(first.claim());
    const ISingleInstance::Claim elsewhere = LinuxSingleInstance(folder, ":7").claim();
    QCOMPARE(elsewhere.outcome, ISingleInstance::Outcome::OtherDisplay);
    QCOMPARE(elsewhere.display, ":6");
    LinuxSingleInstance second(folder, ":6.0");
    QCOMPARE(second.claim().outcome, ISingleInstance::Outcome::Shown);
    QTest::qWait(50);
    int shown = 0;
    first.setShowRequestHandler([&shown] { ++shown; });
    QTRY_COMPARE(shown, 1);
}

void TestSingleInstance::misbehavingCallers_data()
{
    QTest::addColumn<QByteArray>("sent");
    QTest::addColumn<bool>("closes");
    QTest::addColumn<int>("answered"); // the status it gets, -1 for none
    const QByteArray list = ReminderWire::encodeRequest({ReminderRequest::Verb::List, {}, {}, {}});
    QTest::newRow("silent") << QByteArray() << false << -1;
    QTest::newRow("cut off") << list.left(list.size() - 1) << true << -1;
    QTest::newRow("not ours") << QByteArray("GET / HTTP/1.0\r\n\r\n") << false << -1;
    QTest::newRow("too long") << QByteArray("HXQ1\x10\0\0\0", 8) << false << 2;
    QTest::newRow("lying length inside")
        << QByteArray("HXQ1\0\0\0\x08\0\0\0\x02\xff\xff\xff\xff", 16) << false << 2;
    // Its answer is far larger than the socket's buffer, and it never reads it.
    QTest::newRow("never reads") << list << false << -2;
}

// No caller can hold the running copy up: while one misbehaves, another is answered at once,
// and only whole requests reach the handler.
void TestSingleInstance::misbehavingCallers()
{
    QFETCH(QByteArray, sent);
    QFETCH(bool, closes);
    QFETCH(int, answered);
    LinuxSingleInstance holder(m_dir.path(), ":21");
    QVERIFY(holder.claim());
    QList<ReminderRequest::Verb> seen;
    holder.setRequestHandler([&seen](const QList<ReminderRequest>& requests) {
        QList<ReminderReply> replies;
        for (const ReminderRequest& r : requests) {
            seen << r.verb;
            replies << ReminderReply{0, QStringList(200000, QString(100, u'x')), {}};
        }
        return replies;
    });
    holder.setShowRequestHandler([] {});

    const int s = sendTo(m_dir.path(), sent);
    QVERIFY(s >= 0);
    if (closes)
        ::shutdown(s, SHUT_WR);
    QTest::qWait(100);

    ReminderReply reply;
    std::atomic<int> outcome{-1};
    std::thread other([&] {
        LinuxSingleInstance caller(m_dir.path(), ":22");
        outcome = int(caller.deliver({ReminderRequest::Verb::Remind, {}, "t", {}}, reply).outcome);
    });
    QTRY_VERIFY_WITH_TIMEOUT(outcome >= 0, 5000);
    other.join();
    QCOMPARE(outcome, int(ISingleInstance::Outcome::Delivered));
    QCOMPARE(reply.lines.size(), 200000);
    const QList<ReminderRequest::Verb> expected =
        answered == -2 ? QList{ReminderRequest::Verb::List, ReminderRequest::Verb::Remind}
                       : QList{ReminderRequest::Verb::Remind};
    QCOMPARE(seen, expected);

    if (answered >= 0) {
        char header[12] = {};
        QTRY_VERIFY(::recv(s, header, sizeof header, MSG_PEEK | MSG_DONTWAIT) == sizeof header);
        QCOMPARE(int(header[11]), answered);
    }
    // Past its time the caller is let go.
    QElapsedTimer waited;
    waited.start();
    QByteArray buffer(1 << 16, 0);
    for (;;) {
        const ssize_t n = ::recv(s, buffer.data(), size_t(buffer.size()), MSG_DONTWAIT);
        if (n == 0 || (n < 0 && errno != EAGAIN) || waited.elapsed() > 15000)
            break;
        QTest::qWait(50);
    }
    QVERIFY(waited.elapsed() < 15000);
    ::close(s);
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
    QVERIFY(QFile::exists(m_dir.path() + "/horolux.socket"));

    int shown = 0;
    LinuxSingleInstance next(m_dir.path(), ":9");
    QVERIFY(next.claim());
    next.setShowRequestHandler([&shown] { ++shown; });
    LinuxSingleInstance later(m_dir.path(), ":9");
    QVERIFY(!later.claim());
    QTRY_COMPARE(shown, 1);
}

// A clock that never answers (stopped, or without its socket) still keeps a second copy out,
// and a request is refused as not done, since it was never sent.
void TestSingleInstance::unreachableHolderStillBlocks()
{
    const QString lock = m_dir.path() + "/horolux.lock";
    const int fd = ::open(QFile::encodeName(lock).constData(), O_RDWR | O_CREAT, 0600);
    QVERIFY(fd >= 0);
    QCOMPARE(::flock(fd, LOCK_EX | LOCK_NB), 0);
    QCOMPARE(::pwrite(fd, ":11\n", 4, 0), 4);
    LinuxSingleInstance second(m_dir.path(), ":11");
    QCOMPARE(second.claim().outcome, ISingleInstance::Outcome::Unreachable);
    ReminderReply reply;
    QCOMPARE(LinuxSingleInstance(m_dir.path(), {}).deliver({}, reply).outcome,
             ISingleInstance::Outcome::Unreachable);
    ::close(fd);
    LinuxSingleInstance third(m_dir.path(), ":11");
    QVERIFY(third.claim());
}

// With no clock, many commands at once take the lock in turn, for far longer in all than a
// clock is given to answer; none may take another for a silent clock.
void TestSingleInstance::commandsQueueForTheLock()
{
    constexpr int Commands = 60;
    std::atomic<int> claimed{0};
    std::vector<std::thread> commands;
    for (int i = 0; i < Commands; ++i)
        commands.emplace_back([&] {
            LinuxSingleInstance command(m_dir.path(), {});
            ReminderReply reply;
            if (command.deliver({}, reply).outcome == ISingleInstance::Outcome::Claimed) {
                ++claimed;
                QThread::msleep(50);
            }
        });
    for (std::thread& t : commands)
        t.join();
    QCOMPARE(int(claimed), Commands);
}

// A caller that gave up before its request was taken (the clock was stopped or still starting)
// must not have it carried out later; one still waiting is served.
void TestSingleInstance::goneCallerIsNotServed()
{
    LinuxSingleInstance holder(m_dir.path(), ":23");
    QVERIFY(holder.claim());
    const auto send = [this](const QString& text) {
        return sendTo(m_dir.path(), ReminderWire::encodeRequest(
                                        {ReminderRequest::Verb::Remind, "+5m", text, {}}));
    };
    const int gone = send("gone");
    const int waiting = send("waiting");
    QVERIFY(gone >= 0 && waiting >= 0);
    QTest::qWait(100);
    ::close(gone);
    QStringList seen;
    holder.setRequestHandler([&seen](const QList<ReminderRequest>& requests) {
        QList<ReminderReply> replies;
        for (const ReminderRequest& r : requests) {
            seen << r.text;
            replies << ReminderReply{};
        }
        return replies;
    });
    QTRY_COMPARE(seen, QStringList{"waiting"});
    QTest::qWait(100);
    QCOMPARE(seen, QStringList{"waiting"});
    ::close(waiting);
}

// Out of descriptors the waiting request cannot be accepted: no busy loop on it, and it is
// taken once descriptors are free again.
void TestSingleInstance::outOfDescriptorsDoesNotSpin()
{
    LinuxSingleInstance first(m_dir.path(), ":15");
    QVERIFY(first.claim());
    int shown = 0;
    first.setShowRequestHandler([&shown] { ++shown; });
    QVERIFY(!LinuxSingleInstance(m_dir.path(), ":15").claim());
    rlimit old{};
    ::getrlimit(RLIMIT_NOFILE, &old);
    rlimit low = old;
    low.rlim_cur = 512;
    QCOMPARE(::setrlimit(RLIMIT_NOFILE, &low), 0);
    QList<int> fillers;
    for (int fd; (fd = ::open("/dev/null", O_RDONLY | O_CLOEXEC)) >= 0;)
        fillers << fd;
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
    qint64 sleeper = 0;
    {
        LinuxSingleInstance first(m_dir.path(), ":12");
        QVERIFY(first.claim());
        QVERIFY(QProcess::startDetached("sleep", {"5"}, QString(), &sleeper));
    }
    LinuxSingleInstance next(m_dir.path(), ":12");
    const bool claimed = static_cast<bool>(next.claim());
    ::kill(static_cast<pid_t>(sleeper), SIGKILL);
    QVERIFY(claimed);
}

QTEST_GUILESS_MAIN(TestSingleInstance)
#include "tst_singleinstance.moc"
