#include "platform/linux/LinuxLauncher.h"

#include "core/LosslessText.h"
#include "core/ShellWords.h"

#include <QAbstractEventDispatcher>
#include <QDir>
#include <QEventLoop>
#include <QRegularExpression>
#include <QSocketNotifier>
#include <QThread>
#include <QTimer>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <utility>
#include <vector>

extern char** environ;

namespace {

// What a started child reports through its status pipe: two ints, written at once.
enum Report : int { ChdirFailed = 1, ExecFailed = 2, ForkFailed = 3, Exited = 4 };

bool looksLikeAddress(const QString& file)
{
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]*://\\S"));
    return scheme.match(file).hasMatch() ||
           file.startsWith(QLatin1String("mailto:"), Qt::CaseInsensitive);
}

QByteArray bytes(const QString& text)
{
    return LosslessText::encode(text);
}

bool statOf(const QString& path, struct stat* st)
{
    return ::stat(bytes(path).constData(), st) == 0;
}

bool isDirectory(const QString& path)
{
    struct stat st {};
    return statOf(path, &st) && S_ISDIR(st.st_mode);
}

QString currentDirectory()
{
    QByteArray buffer(4096, Qt::Uninitialized);
    while (!::getcwd(buffer.data(), size_t(buffer.size()))) {
        if (errno != ERANGE)
            return QStringLiteral("/");
        buffer.resize(buffer.size() * 2);
    }
    return LosslessText::decode(QByteArrayView(buffer.constData()));
}

// Starts with a script's "#!" or an ELF header: meant to be run, not opened.
bool hasProgramHeader(const QString& path)
{
    const int fd = ::open(bytes(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return false;
    char head[4] = {};
    const ssize_t n = ::read(fd, head, sizeof head);
    ::close(fd);
    return (n >= 2 && head[0] == '#' && head[1] == '!') ||
           (n == 4 && head[0] == '\x7f' && head[1] == 'E' && head[2] == 'L' && head[3] == 'F');
}

bool isRunnableFile(const QString& path)
{
    struct stat st {};
    return statOf(path, &st) && S_ISREG(st.st_mode) && ::access(bytes(path).constData(), X_OK) == 0;
}

// A bare command name looked up on PATH, as a terminal would; empty when not found.
QString findOnPath(const QString& name)
{
    const QString path = LosslessText::decode(QByteArrayView(::getenv("PATH")));
    for (const QString& dir : path.split(u':', Qt::SkipEmptyParts)) {
        const QString candidate = dir + u'/' + name;
        if (isRunnableFile(candidate))
            return candidate;
    }
    return {};
}

// Everything below runs in a forked child of a threaded process: only calls that are safe
// there (no allocation, no locks) until exec.

void report(int fd, int what, int value)
{
    const int record[2] = {what, value};
    [[maybe_unused]] ssize_t n = ::write(fd, record, sizeof record);
}

// The child must not inherit the clock's blocked signals or handlers' ignores.
void resetSignals()
{
    sigset_t none;
    sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);
    struct sigaction dfl {};
    dfl.sa_handler = SIG_DFL;
    sigemptyset(&dfl.sa_mask);
    for (int s : {SIGPIPE, SIGCHLD, SIGALRM, SIGTERM, SIGINT, SIGHUP})
        ::sigaction(s, &dfl, nullptr);
}

[[noreturn]] void execChild(const char* program, char* const* argv, const char* directory,
                            int statusFd)
{
    if (::chdir(directory) != 0) {
        report(statusFd, ChdirFailed, errno);
        ::_exit(127);
    }
    // Only the status pipe and the standard descriptors would be inherited anyway (Qt opens
    // with close-on-exec), but a descriptor left open by a library must not leak into a
    // program that may run for days, such as the lock that keeps a second copy out.
#ifdef SYS_close_range
    ::syscall(SYS_close_range, 3U, ~0U, 4U /* CLOSE_RANGE_CLOEXEC */);
#endif
    ::execve(program, argv, environ);
    report(statusFd, ExecFailed, errno);
    ::_exit(127);
}

} // namespace

LinuxLauncher::LinuxLauncher(QString opener, int openerWaitMs)
    : m_opener(std::move(opener)), m_openerWaitMs(openerWaitMs)
{
    m_spawner = new QThread;
    m_spawner->setObjectName(QStringLiteral("launcher"));
    m_spawnerContext = new QObject;
    m_spawnerContext->moveToThread(m_spawner);
    m_spawner->start();
}

LinuxLauncher::~LinuxLauncher()
{
    // Waits for the deletion: one merely queued may find the thread's loop already told to
    // quit, and is then dropped.
    QMetaObject::invokeMethod(
        m_spawnerContext, [c = m_spawnerContext] { delete c; }, Qt::BlockingQueuedConnection);
    m_spawner->quit();
    m_spawner->wait();
    delete m_spawner;
}

// Double fork, so the program is nobody's child here and never has to be reaped. A watched
// start puts a watcher between: it waits for the program and reports how it ended, and
// gives up (by its alarm) a little after the caller has stopped listening.
int LinuxLauncher::startDetached(const Spawn& spawn)
{
    std::vector<QByteArray> args(spawn.arguments.cbegin(), spawn.arguments.cend());
    std::vector<char*> argv;
    for (QByteArray& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    const unsigned watcherLife = unsigned(m_openerWaitMs / 1000 + 5);

    int result = -1;
    QMetaObject::invokeMethod(
        m_spawnerContext,
        [&] {
            int fds[2];
            if (::pipe2(fds, O_CLOEXEC) != 0)
                return;
            const pid_t first = ::fork();
            if (first < 0) {
                ::close(fds[0]);
                ::close(fds[1]);
                return;
            }
            if (first == 0) {
                resetSignals();
                ::setsid();
                if (spawn.watch) {
                    const pid_t watcher = ::fork();
                    if (watcher < 0)
                        report(fds[1], ForkFailed, errno);
                    if (watcher != 0)
                        ::_exit(0);
                }
                const pid_t child = ::fork();
                if (child < 0) {
                    report(fds[1], ForkFailed, errno);
                    ::_exit(1);
                }
                if (child == 0)
                    execChild(spawn.program.constData(), argv.data(), spawn.directory.constData(),
                              fds[1]);
                if (!spawn.watch)
                    ::_exit(0);
                struct sigaction ignore {};
                ignore.sa_handler = SIG_IGN;
                sigemptyset(&ignore.sa_mask);
                ::sigaction(SIGPIPE, &ignore, nullptr); // the caller may have stopped reading
                ::alarm(watcherLife);
                int status = 0;
                while (::waitpid(child, &status, 0) < 0)
                    if (errno != EINTR)
                        ::_exit(1);
                report(fds[1], Exited, status);
                ::_exit(0);
            }
            ::close(fds[1]);
            while (::waitpid(first, nullptr, 0) < 0 && errno == EINTR) {
            }
            if (spawn.watch) {
                result = fds[0];
                return;
            }
            // The pipe closes on a successful exec; a failure is reported through it first.
            int record[2] = {0, 0};
            ssize_t n;
            while ((n = ::read(fds[0], record, sizeof record)) < 0 && errno == EINTR) {
            }
            ::close(fds[0]);
            result = n == 0 ? 0 : -1;
        },
        Qt::BlockingQueuedConnection);
    return result;
}

// Reads the opener's reports until it has ended or the wait is over. Events are handled
// meanwhile, so the clock keeps ticking while a slow desktop makes up its mind.
bool LinuxLauncher::awaitOpener(int statusFd)
{
    ::fcntl(statusFd, F_SETFL, ::fcntl(statusFd, F_GETFL) | O_NONBLOCK);
    enum { Pending, Opened, Failed } outcome = Pending;
    const auto readReports = [&] {
        int record[2];
        for (;;) {
            const ssize_t n = ::read(statusFd, record, sizeof record);
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0)
                return; // nothing more yet
            if (n != ssize_t(sizeof record)) {
                // The watcher gave up while the opener still ran: as good as opened.
                outcome = Opened;
                return;
            }
            if (record[0] == Exited) {
                const int status = record[1];
                outcome = WIFEXITED(status) && WEXITSTATUS(status) == 0 ? Opened : Failed;
                return;
            }
            outcome = Failed; // could not start at all
            return;
        }
    };

    readReports();
    if (outcome == Pending && QAbstractEventDispatcher::instance()) {
        QEventLoop loop;
        QSocketNotifier notifier(statusFd, QSocketNotifier::Read);
        QObject::connect(&notifier, &QSocketNotifier::activated, &loop, [&] {
            readReports();
            if (outcome != Pending)
                loop.quit();
        });
        QTimer::singleShot(m_openerWaitMs, &loop, &QEventLoop::quit);
        // A program that is quitting runs no loop any more; then nothing more is learnt.
        loop.exec();
    } else if (outcome == Pending) {
        pollfd p{statusFd, POLLIN, 0};
        if (::poll(&p, 1, m_openerWaitMs) > 0)
            readReports();
    }
    ::close(statusFd);
    // An opener still busy after the wait has usually handed the file to an application.
    return outcome != Failed;
}

LinuxLauncher::Target LinuxLauncher::classify(const QString& file, const QString& startDirectory)
{
    if (file.isEmpty())
        return {};
    if (looksLikeAddress(file))
        return {Kind::Address, file};

    // Paths are joined as text (the bytes that are not UTF-8 travel as their stand-ins) and
    // turned back into bytes only for the system.
    QString path;
    if (file.contains(QLatin1Char('/'))) {
        path = QDir::cleanPath(QDir(startDirectory).absoluteFilePath(file));
    } else {
        // A bare name is a command from PATH first, as in a terminal; otherwise a file in
        // the start directory (a document named without its folder).
        path = findOnPath(file);
        if (path.isEmpty())
            path = QDir::cleanPath(QDir(startDirectory).absoluteFilePath(file));
    }

    struct stat st {};
    if (!statOf(path, &st))
        return {Kind::Missing, path};
    if (!S_ISREG(st.st_mode) || ::access(bytes(path).constData(), R_OK) != 0)
        return {Kind::NotRunnable, path};
    const bool header = hasProgramHeader(path);
    // The run permission alone is not enough: files on some mounted drives all carry it.
    if (header && ::access(bytes(path).constData(), X_OK) == 0)
        return {Kind::Program, path};
    if (header)
        return {Kind::NotRunnable, path};
    return {Kind::Document, path};
}

bool LinuxLauncher::open(const QString& file, const QString& parameters, const QString& directory,
                         int show)
{
    Q_UNUSED(show);
    QString workDir = currentDirectory();
    if (!directory.isEmpty()) {
        if (!isDirectory(directory))
            return false;
        workDir = QDir::cleanPath(QDir(workDir).absoluteFilePath(directory));
    }

    const Target target = classify(file, workDir);
    switch (target.kind) {
    case Kind::Missing:
    case Kind::NotRunnable:
        return false;
    case Kind::Program: {
        const ShellWords::Result words = ShellWords::split(parameters);
        if (!words.ok)
            return false;
        Spawn spawn{bytes(target.path), {bytes(target.path)}, bytes(workDir), false};
        for (const QString& word : words.words)
            spawn.arguments.append(bytes(word));
        return startDetached(spawn) == 0;
    }
    case Kind::Document:
    case Kind::Address: {
        const QString opener = m_opener.contains(u'/') ? m_opener : findOnPath(m_opener);
        if (opener.isEmpty())
            return false;
        Spawn spawn{bytes(opener), {bytes(opener), bytes(target.path)}, bytes(workDir), true};
        const int statusFd = startDetached(spawn);
        return statusFd >= 0 && awaitOpener(statusFd);
    }
    }
    return false;
}
