#include "platform/linux/SignalWatcher.h"

#include <QSocketNotifier>
#include <QTimer>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <pthread.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int g_fds[2] = {-1, -1};
volatile sig_atomic_t g_pending = 0;

void onSignal(int number)
{
    g_pending = number;
    const int fd = g_fds[0];
    if (fd < 0)
        return;
    const unsigned char byte = static_cast<unsigned char>(number);
    const int saved = errno;
    [[maybe_unused]] ssize_t n = ::write(fd, &byte, 1);
    errno = saved;
}

sigset_t terminationSignals()
{
    sigset_t set;
    sigemptyset(&set);
    for (int s : {SIGTERM, SIGINT, SIGHUP})
        sigaddset(&set, s);
    return set;
}

} // namespace

// The handlers go in at once, so that a signal never kills the program unsaved; delivery
// waits for start(), when the event loop exists. The executable holds the signals back until
// here, and one that came meanwhile reaches the handler as soon as they are let through.
SignalWatcher::SignalWatcher(QObject* parent) : QObject(parent)
{
    struct sigaction sa {};
    sa.sa_handler = onSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    for (int s : {SIGTERM, SIGINT, SIGHUP})
        ::sigaction(s, &sa, nullptr);
    const sigset_t set = terminationSignals();
    ::pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
}

void SignalWatcher::start()
{
    if (m_notifier || m_poll)
        return;
    int fds[2] = {-1, -1};
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, fds) == 0) {
        g_fds[1] = fds[1];
        g_fds[0] = fds[0];
        m_notifier = new QSocketNotifier(g_fds[1], QSocketNotifier::Read, this);
        connect(m_notifier, &QSocketNotifier::activated, this, &SignalWatcher::readSignal);
    } else {
        // No descriptor left for the pair: the flag the handler sets is looked at a few times
        // a second instead.
        m_poll = new QTimer(this);
        m_poll->setInterval(250);
        connect(m_poll, &QTimer::timeout, this, &SignalWatcher::readSignal);
        m_poll->start();
    }
    // A signal that came before the loop existed.
    if (g_pending != 0)
        QMetaObject::invokeMethod(this, &SignalWatcher::readSignal, Qt::QueuedConnection);
}

SignalWatcher::~SignalWatcher()
{
    // Held back from here on rather than left to kill the process: everything is saved by
    // now, and the program ends with its own status.
    const sigset_t set = terminationSignals();
    ::pthread_sigmask(SIG_BLOCK, &set, nullptr);
    for (int s : {SIGTERM, SIGINT, SIGHUP})
        ::signal(s, SIG_DFL);
    delete m_notifier;
    for (int& fd : g_fds) {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }
    g_pending = 0;
}

void SignalWatcher::readSignal()
{
    unsigned char byte = 0;
    if (g_fds[1] >= 0)
        while (::read(g_fds[1], &byte, 1) == 1) {
        }
    const int number = g_pending;
    if (number == 0)
        return;
    g_pending = 0;
    emit terminationRequested(number);
}

void SignalWatcher::releaseHeldSignals()
{
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGTERM);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGHUP);
    ::pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
}
