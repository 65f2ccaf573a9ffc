#include "platform/linux/LinuxSingleInstance.h"

#include "platform/linux/ReminderWire.h"

#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QSocketNotifier>
#include <QStringList>
#include <QThread>
#include <QTimer>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <set>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

constexpr char LockName[] = "horolux.lock";
constexpr char SocketName[] = "horolux.socket";
// The holder's display as written in the lock file; longer ones are cut.
constexpr qsizetype MaxDisplayLength = 200;
// Long host names are cut so keys stay short.
constexpr int MaxKeyLength = 48;

QByteArray sessionDisplay()
{
    const QByteArray x11 = qgetenv("DISPLAY");
    return x11.isEmpty() ? qgetenv("WAYLAND_DISPLAY") : x11;
}

// `fd` when it is a real folder of `uid` without any of the `forbidden` mode bits; otherwise
// it is closed. Checked on the descriptor, so the folder cannot be swapped after the check.
int ownFolder(int fd, uint uid, mode_t forbidden)
{
    struct stat st {};
    if (fd >= 0 && (::fstat(fd, &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != uid ||
                    (st.st_mode & forbidden) != 0)) {
        ::close(fd);
        return -1;
    }
    return fd;
}

constexpr int FolderFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;

// Never through a link at the last step: whoever could plant one could also remove it.
int openOwnFolder(const QString& path, uint uid, mode_t forbidden)
{
    if (!path.startsWith(QLatin1Char('/')))
        return -1;
    return ownFolder(::open(QFile::encodeName(path).constData(), FolderFlags), uid, forbidden);
}

// Makes each of `names` below `base` if missing and accepts the result only when every one
// is a folder of `uid` that nobody else may write, the last one private. Another user may
// have made any of these names first (in a shared /tmp anyone can): such a name is refused,
// never used, written through or removed.
bool makeOwnFolders(const QString& base, bool baseMustBeOurs, const QStringList& names, uint uid)
{
    if (!base.startsWith(QLatin1Char('/')))
        return false;
    int fd = baseMustBeOurs ? openOwnFolder(base, uid, 022)
                            : ::open(QFile::encodeName(base).constData(), FolderFlags);
    for (qsizetype i = 0; fd >= 0 && i < names.size(); ++i) {
        const QByteArray name = QFile::encodeName(names[i]);
        ::mkdirat(fd, name.constData(), 0700);
        const int next = ownFolder(::openat(fd, name.constData(), FolderFlags), uid,
                                   i + 1 == names.size() ? 077 : 022);
        ::close(fd);
        fd = next;
    }
    if (fd < 0)
        return false;
    ::close(fd);
    return true;
}

uid_t peerUid(int socket)
{
    ucred cred{};
    socklen_t length = sizeof cred;
    if (::getsockopt(socket, SOL_SOCKET, SO_PEERCRED, &cred, &length) != 0)
        return static_cast<uid_t>(-1);
    return cred.uid;
}

QString printable(const QByteArray& text)
{
    QString shown = QString::fromUtf8(text);
    for (QChar& c : shown)
        if (!c.isPrint())
            c = QLatin1Char('?');
    return shown.isEmpty() ? QStringLiteral("(none)") : shown;
}

// How long to keep asking for a lock held by someone else. A clock that holds it must be
// reachable within ContactWaitMs of being seen, or within ReplyWaitMs once its queue was seen
// full (it is alive, serving others); reminder commands, which hold it for one change of the
// file each, are queued behind for up to QueueWaitMs in all.
class LockWait {
public:
    enum class Verdict { Again, ClockSilent, Busy };
    LockWait() { m_total.start(); }
    // After a round that did not get the lock; sleeps before the next one.
    Verdict next(bool clockHolds, bool clockBusy = false)
    {
        if (!clockHolds) {
            m_clockSeen = false;
        } else if (!m_clockSeen) {
            m_clockSeen = true;
            m_clockLimit = LinuxSingleInstance::ContactWaitMs;
            m_clock.start();
        }
        if (clockBusy)
            m_clockLimit = LinuxSingleInstance::ReplyWaitMs;
        if (m_clockSeen && m_clock.elapsed() >= m_clockLimit)
            return Verdict::ClockSilent;
        if (m_total.elapsed() >= LinuxSingleInstance::QueueWaitMs)
            return Verdict::Busy;
        // Spread out, so a crowd of waiters does not wake in step.
        QThread::msleep(5 + QRandomGenerator::global()->bounded(20));
        return Verdict::Again;
    }

private:
    QElapsedTimer m_total;
    QElapsedTimer m_clock;
    qint64 m_clockLimit = 0;
    bool m_clockSeen = false;
};

// Closes a descriptor on every way out of a block.
class ClosedAtEnd {
public:
    explicit ClosedAtEnd(int fd) : m_fd(fd) {}
    ~ClosedAtEnd() { ::close(m_fd); }
    ClosedAtEnd(const ClosedAtEnd&) = delete;
    ClosedAtEnd& operator=(const ClosedAtEnd&) = delete;

private:
    int m_fd;
};

} // namespace

// One connection from a later start or a reminder verb, from accept to the last reply byte.
struct LinuxSingleInstance::Caller {
    enum class State { Reading, Waiting, Writing };
    int fd = -1;
    State state = State::Reading;
    QByteArray data; // the request as read so far, then the reply
    qsizetype written = 0;
    QElapsedTimer since;
    std::unique_ptr<QSocketNotifier> notifier;
    ReminderRequest request;

    Caller() = default;
    Caller(const Caller&) = delete;
    Caller& operator=(const Caller&) = delete;
    ~Caller()
    {
        retireNotifier();
        ::close(fd);
    }
    // A caller is often done inside its own notifier's signal: the notifier goes later.
    void retireNotifier()
    {
        if (notifier) {
            notifier->setEnabled(false);
            notifier.release()->deleteLater();
        }
    }
};

LinuxSingleInstance::LinuxSingleInstance()
    : LinuxSingleInstance(lockFolder({QFile::decodeName(qgetenv("HOME")),
                                      QStringLiteral("/run/user"), QStringLiteral("/tmp")},
                                     static_cast<uint>(::geteuid())),
                          sessionDisplay())
{
}

LinuxSingleInstance::LinuxSingleInstance(QString folder, const QByteArray& display)
    : m_folder(std::move(folder)), m_display(display.left(MaxDisplayLength)),
      m_key(displayKey(display))
{
}

LinuxSingleInstance::~LinuxSingleInstance()
{
    m_batchTimer.reset();
    m_sweepTimer.reset();
    // No signal of theirs is running now, and the event loop may be gone.
    for (auto& [id, caller] : m_callers)
        caller->notifier.reset();
    m_callers.clear();
    m_notifier.reset();
    if (m_listenFd >= 0) {
        ::close(m_listenFd);
        // Removed while the lock is still held, so it is never a successor's socket.
        ::unlinkat(m_dirFd, SocketName, 0);
    }
    if (m_lockFd >= 0)
        ::close(m_lockFd);
    if (m_dirFd >= 0)
        ::close(m_dirFd);
}

// Every start of one user must land on the same folder, whatever its environment, and nothing
// another user does may move it. The clock runs in a desktop session and the reminder commands
// from cron or ssh, which set HOME alike but often not XDG_RUNTIME_DIR, so the runtime folder
// is not asked. The shared /tmp comes last, since a name another user holds there today could
// be freed by them tomorrow and split the starts over two folders.
QString LinuxSingleInstance::lockFolder(const Places& places, uint uid)
{
    const QStringList inHome{QStringLiteral(".local"), QStringLiteral("state"),
                             QStringLiteral("horolux")};
    if (makeOwnFolders(places.home, true, inHome, uid))
        return places.home + QStringLiteral("/.local/state/horolux");
    const QString runUser = places.runUserRoot + QLatin1Char('/') + QString::number(uid);
    const int runUserFd = places.runUserRoot.isEmpty() ? -1 : openOwnFolder(runUser, uid, 077);
    if (runUserFd >= 0) {
        ::close(runUserFd);
        return runUser;
    }
    const QString inTmp = QStringLiteral("horolux-%1").arg(uid);
    if (makeOwnFolders(places.tmpRoot, false, {inTmp}, uid))
        return places.tmpRoot + QLatin1Char('/') + inTmp;
    return {};
}

QString LinuxSingleInstance::displayKey(const QByteArray& display)
{
    QByteArray d = display;
    const qsizetype colon = d.lastIndexOf(':');
    if (colon >= 0) {
        const qsizetype dot = d.indexOf('.', colon);
        if (dot >= 0)
            d.truncate(dot); // the screen number
    }
    if (d.isEmpty())
        return QStringLiteral("none");
    QString key;
    for (const char c : d.left(MaxKeyLength)) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                           (c >= '0' && c <= '9') || c == '.' || c == '-' || c == '_';
        key += plain ? QLatin1Char(c) : QLatin1Char('_');
    }
    return key;
}

int LinuxSingleInstance::openLockFile()
{
    // Checked again on the descriptor every later step goes through.
    m_dirFd = m_folder.isEmpty() ? -1 : openOwnFolder(m_folder, ::geteuid(), 022);
    if (m_dirFd < 0)
        return -1;
    const int fd =
        ::openat(m_dirFd, LockName, O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0600);
    struct stat st {};
    if (fd < 0 || ::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        if (fd >= 0)
            ::close(fd);
        return -1;
    }
    return fd;
}

ISingleInstance::Claim LinuxSingleInstance::claim()
{
    const int fd = openLockFile();
    if (fd < 0)
        return {Outcome::NoSafePlace, {}};
    LockWait wait;
    for (;;) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            m_lockFd = fd;
            // Later starts learn from it whether they run on this display.
            const QByteArray line = m_display + '\n';
            if (::ftruncate(fd, 0) != 0 || ::pwrite(fd, line.constData(), line.size(), 0) < 0)
                std::fputs("horolux: cannot write this display into the lock file\n", stderr);
            startListening();
            return {Outcome::Claimed, {}};
        }
        if (errno != EWOULDBLOCK && errno != EINTR) {
            ::close(fd);
            return {Outcome::NoSafePlace, {}};
        }
        // The holder may have locked but not yet written its display or opened its socket,
        // may be ending, or may be a reminder command: try again for a while, and take the
        // lock if it is freed.
        QByteArray holder;
        const bool clockHolds = readHolderDisplay(fd, holder);
        if (clockHolds) {
            if (displayKey(holder) != m_key) {
                ::close(fd);
                return {Outcome::OtherDisplay, printable(holder)};
            }
            if (tryToReachHolder()) {
                ::close(fd);
                return {Outcome::Shown, {}};
            }
        }
        const LockWait::Verdict verdict = wait.next(clockHolds);
        if (verdict != LockWait::Verdict::Again) {
            ::close(fd);
            return {verdict == LockWait::Verdict::Busy ? Outcome::Busy : Outcome::Unreachable, {}};
        }
    }
}

// Only a complete line counts: the holder may be between emptying the file and writing it.
bool LinuxSingleInstance::readHolderDisplay(int lockFd, QByteArray& display) const
{
    char buffer[MaxDisplayLength + 2];
    const ssize_t n = ::pread(lockFd, buffer, sizeof buffer, 0);
    if (n <= 0 || buffer[n - 1] != '\n')
        return false;
    display = QByteArray(buffer, n - 1);
    return true;
}

// A socket address holds about 100 bytes: a longer folder is reached through this process's
// descriptor of it, which also never resolves the folder's path again.
void LinuxSingleInstance::socketAddress(sockaddr_un& address) const
{
    QByteArray path = QFile::encodeName(m_folder) + '/' + SocketName;
    if (path.size() >= static_cast<qsizetype>(sizeof address.sun_path))
        path = "/proc/self/fd/" + QByteArray::number(m_dirFd) + '/' + SocketName;
    std::memset(&address, 0, sizeof address);
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.constData(), static_cast<size_t>(path.size()));
}

bool LinuxSingleInstance::tryToReachHolder() const
{
    sockaddr_un address;
    socketAddress(address);
    const int s = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (s < 0)
        return false;
    const int rc = ::connect(s, reinterpret_cast<const sockaddr*>(&address), sizeof address);
    // A full queue means the holder is alive but has many requests waiting already.
    const bool reached = (rc == 0 && peerUid(s) == ::geteuid()) || (rc != 0 && errno == EAGAIN);
    ::close(s);
    return reached;
}

void LinuxSingleInstance::startListening()
{
    sockaddr_un address;
    socketAddress(address);
    // A socket left by a copy that was killed; the lock says nobody uses it.
    ::unlinkat(m_dirFd, SocketName, 0);
    const int s = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (s < 0)
        return;
    if (::bind(s, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(s, 8) != 0) {
        ::close(s);
        return;
    }
    m_listenFd = s;
    watchRequests();
}

void LinuxSingleInstance::setShowRequestHandler(std::function<void()> handler)
{
    m_handler = std::move(handler);
    watchRequests();
}

void LinuxSingleInstance::setRequestHandler(RequestBatchHandler handler)
{
    m_requestHandler = std::move(handler);
    watchRequests();
    if (!m_waiting.isEmpty())
        postBatch();
}

// Needs the event loop's thread, so it waits for a handler (set once the application exists).
void LinuxSingleInstance::watchRequests()
{
    if (m_listenFd < 0 || m_notifier || (!m_handler && !m_requestHandler))
        return;
    m_batchTimer = std::make_unique<QTimer>();
    m_batchTimer->setSingleShot(true);
    m_batchTimer->setInterval(0);
    QObject::connect(m_batchTimer.get(), &QTimer::timeout, m_batchTimer.get(),
                     [this] { runBatch(); });
    m_sweepTimer = std::make_unique<QTimer>();
    m_sweepTimer->setInterval(250);
    QObject::connect(m_sweepTimer.get(), &QTimer::timeout, m_sweepTimer.get(),
                     [this] { sweepCallers(); });
    m_notifier = std::make_unique<QSocketNotifier>(m_listenFd, QSocketNotifier::Read);
    QObject::connect(m_notifier.get(), &QSocketNotifier::activated, m_notifier.get(),
                     [this] { acceptRequests(); });
}

void LinuxSingleInstance::acceptRequests()
{
    // Only this user's processes are served. A caller is read only when its socket has
    // something, and never past one frame, so none can hold us up or fill our memory.
    while (m_callers.size() < size_t(MaxCallers)) {
        const int c = ::accept4(m_listenFd, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (c < 0) {
            if (errno == EINTR || errno == ECONNABORTED)
                continue;
            if (errno == EMFILE || errno == ENFILE || errno == ENOBUFS || errno == ENOMEM)
                pauseListening();
            return;
        }
        if (peerUid(c) != ::geteuid()) {
            ::close(c);
            continue;
        }
        const quint64 id = m_nextCaller++;
        auto caller = std::make_unique<Caller>();
        caller->fd = c;
        caller->since.start();
        caller->notifier = std::make_unique<QSocketNotifier>(c, QSocketNotifier::Read);
        QObject::connect(caller->notifier.get(), &QSocketNotifier::activated,
                         caller->notifier.get(), [this, id] { readCaller(id); });
        m_callers.emplace(id, std::move(caller));
        if (!m_sweepTimer->isActive())
            m_sweepTimer->start();
    }
    // As many callers as we serve at once: the rest wait in the queue until one is done.
    m_notifier->setEnabled(false);
}

void LinuxSingleInstance::readCaller(quint64 id)
{
    const auto it = m_callers.find(id);
    if (it == m_callers.end() || it->second->state != Caller::State::Reading)
        return;
    Caller& caller = *it->second;
    for (;;) {
        qsizetype total = 0;
        const ReminderWire::Frame frame = caller.data.isEmpty()
                                              ? ReminderWire::Frame::Incomplete
                                              : ReminderWire::requestFrame(caller.data, &total);
        if (frame == ReminderWire::Frame::Bad) {
            dropCaller(id);
            return;
        }
        if (frame == ReminderWire::Frame::TooLarge) {
            answer(id, {2, {}, QStringLiteral("horolux: the request is too long")});
            return;
        }
        if (frame == ReminderWire::Frame::Complete) {
            if (!ReminderWire::decodeRequest(QByteArrayView(caller.data).first(total),
                                             caller.request)) {
                answer(id, {2, {}, QStringLiteral("horolux: the request could not be read")});
                return;
            }
            caller.data.clear();
            caller.state = Caller::State::Waiting;
            caller.notifier->setEnabled(false);
            m_waiting.append(id);
            postBatch();
            return;
        }
        const qsizetype want =
            (caller.data.size() < ReminderWire::HeaderBytes ? ReminderWire::HeaderBytes : total) -
            caller.data.size();
        char buffer[16384];
        const ssize_t n =
            ::recv(caller.fd, buffer, size_t(std::min<qsizetype>(want, sizeof buffer)), 0);
        if (n > 0) {
            caller.data.append(buffer, n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            return;
        // Closed without a word: a later start asking to be shown. A request cut off midway
        // is dropped.
        const bool show = n == 0 && caller.data.isEmpty();
        dropCaller(id);
        if (show) {
            m_showWaiting = true;
            postBatch();
        }
        return;
    }
}

void LinuxSingleInstance::answer(quint64 id, const ReminderReply& reply)
{
    const auto it = m_callers.find(id);
    if (it == m_callers.end())
        return;
    Caller& caller = *it->second;
    caller.data = pendingReply(ReminderWire::encodeReply(reply));
    caller.written = 0;
    caller.state = Caller::State::Writing;
    caller.since.restart();
    caller.retireNotifier();
    caller.notifier = std::make_unique<QSocketNotifier>(caller.fd, QSocketNotifier::Write);
    QObject::connect(caller.notifier.get(), &QSocketNotifier::activated, caller.notifier.get(),
                     [this, id] { writeCaller(id); });
    writeCaller(id);
}

// The reply as it waits for its caller: the bytes of an equal reply already waiting are shared,
// and a long one is refused while too much waits already.
QByteArray LinuxSingleInstance::pendingReply(const QByteArray& encoded) const
{
    std::set<const char*> counted;
    qsizetype pending = 0;
    for (const auto& [id, other] : m_callers) {
        if (other->state != Caller::State::Writing)
            continue;
        if (other->data.size() == encoded.size() && other->data == encoded)
            return other->data;
        if (counted.insert(other->data.constData()).second)
            pending += other->data.size();
    }
    if (encoded.size() <= SmallReplyBytes || pending + encoded.size() <= MaxPendingReplyBytes)
        return encoded;
    return ReminderWire::encodeReply(
        {1,
         {},
         QStringLiteral("horolux: the running clock is busy sending long replies; try again")});
}

void LinuxSingleInstance::writeCaller(quint64 id)
{
    const auto it = m_callers.find(id);
    if (it == m_callers.end() || it->second->state != Caller::State::Writing)
        return;
    Caller& caller = *it->second;
    while (caller.written < caller.data.size()) {
        const ssize_t n = ::send(caller.fd, caller.data.constData() + caller.written,
                                 size_t(caller.data.size() - caller.written), MSG_NOSIGNAL);
        if (n > 0) {
            caller.written += n;
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            return; // the notifier calls again once the caller has read some
        break;
    }
    dropCaller(id);
}

void LinuxSingleInstance::dropCaller(quint64 id)
{
    m_callers.erase(id);
    if (m_callers.size() < size_t(MaxCallers) && m_notifier && !m_notifier->isEnabled())
        m_notifier->setEnabled(true);
    if (m_callers.empty() && m_sweepTimer)
        m_sweepTimer->stop();
}

// A caller that is slow or silent past its time is dropped; one waiting for our answer is not.
void LinuxSingleInstance::sweepCallers()
{
    QList<quint64> late;
    for (const auto& [id, caller] : m_callers) {
        const qint64 age = caller->since.elapsed();
        if ((caller->state == Caller::State::Reading && age > RequestWaitMs) ||
            (caller->state == Caller::State::Writing && age > ReplyTakeMs))
            late.append(id);
    }
    for (const quint64 id : late)
        dropCaller(id);
}

// Requests complete in one pass of the event loop go to the handler together, after it.
void LinuxSingleInstance::postBatch()
{
    if (m_batchTimer && !m_batchTimer->isActive())
        m_batchTimer->start();
}

void LinuxSingleInstance::runBatch()
{
    if (m_showWaiting && m_handler) {
        m_showWaiting = false;
        m_handler();
    }
    if (m_waiting.isEmpty() || !m_requestHandler)
        return;
    // Taken first: the handler may run the event loop, and requests completed meanwhile form
    // the next batch.
    const QList<quint64> taken = std::exchange(m_waiting, {});
    const auto isList = [this](quint64 id) {
        const auto it = m_callers.find(id);
        return it != m_callers.end() && it->second->request.verb == ReminderRequest::Verb::List;
    };
    // A listing goes to the handler alone and is encoded at once, so a batch of them never
    // holds more than one listing's lines.
    for (qsizetype from = 0, to = 0; from < taken.size(); from = to) {
        to = from + 1;
        if (!isList(taken[from]))
            while (to < taken.size() && !isList(taken[to]))
                ++to;
        // A caller that has gone gave up waiting and may have told its user the request was
        // not done: it is dropped, never carried out.
        QList<quint64> ids;
        QList<ReminderRequest> requests;
        for (qsizetype i = from; i < to; ++i) {
            if (callerGone(taken[i])) {
                dropCaller(taken[i]);
                continue;
            }
            ids.append(taken[i]);
            requests.append(m_callers.at(taken[i])->request);
        }
        if (requests.isEmpty())
            continue;
        QList<ReminderReply> replies;
        try {
            replies = m_requestHandler(requests);
        } catch (...) {
            replies.clear();
        }
        // Some of them may have been carried out before the failure.
        for (qsizetype i = 0; i < ids.size(); ++i)
            answer(ids[i], i < replies.size()
                               ? replies[i]
                               : ReminderReply{3,
                                               {},
                                               QStringLiteral("horolux: the running clock failed "
                                                              "while taking the request; not "
                                                              "known whether it was done")});
    }
}

// A caller that gives up closes its socket; its request is complete, so the only thing left to
// read is that end.
bool LinuxSingleInstance::callerGone(quint64 id) const
{
    const auto it = m_callers.find(id);
    if (it == m_callers.end())
        return true;
    char byte = 0;
    const ssize_t n = ::recv(it->second->fd, &byte, 1, MSG_PEEK | MSG_DONTWAIT);
    return n == 0 || (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR);
}

ISingleInstance::Claim LinuxSingleInstance::deliver(const ReminderRequest& request,
                                                    ReminderReply& reply)
{
    const int fd = openLockFile();
    if (fd < 0)
        return {Outcome::NoSafePlace, {}};
    const QByteArray frame = ReminderWire::encodeRequest(request);
    LockWait wait;
    for (;;) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            m_lockFd = fd;
            // No display is written: a clock starting meanwhile waits for the lock instead of
            // trying to reach this process, which takes no requests.
            if (::ftruncate(fd, 0) != 0)
                std::fputs("horolux: cannot empty the lock file\n", stderr);
            return {Outcome::Claimed, {}};
        }
        if (errno != EWOULDBLOCK && errno != EINTR) {
            ::close(fd);
            return {Outcome::NoSafePlace, {}};
        }
        // Whatever its display, a clock that has written it is reachable once it listens.
        // Without a display the holder is another reminder command: wait for our turn.
        QByteArray holder;
        const bool clockHolds = readHolderDisplay(fd, holder);
        bool busy = false;
        if (clockHolds) {
            bool sent = false;
            const bool answered = exchange(frame, reply, sent, busy);
            if (answered || sent) {
                // A request sent is never sent again: it may have been carried out.
                ::close(fd);
                return {answered ? Outcome::Delivered : Outcome::Unanswered, printable(holder)};
            }
        }
        const LockWait::Verdict verdict = wait.next(clockHolds, busy);
        if (verdict != LockWait::Verdict::Again) {
            ::close(fd);
            return {verdict == LockWait::Verdict::Busy ? Outcome::Busy : Outcome::Unreachable, {}};
        }
    }
}

bool LinuxSingleInstance::exchange(const QByteArray& request, ReminderReply& reply, bool& sent,
                                   bool& busy) const
{
    sockaddr_un address;
    socketAddress(address);
    const int s = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (s < 0)
        return false;
    const ClosedAtEnd closed(s);
    if (::connect(s, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        // A full queue: the clock has many callers already.
        busy = errno == EAGAIN;
        return false;
    }
    if (peerUid(s) != ::geteuid())
        return false;
    QElapsedTimer clock;
    clock.start();
    const auto ready = [&](short events) {
        for (;;) {
            const qint64 left = ReplyWaitMs - clock.elapsed();
            pollfd p{s, events, 0};
            const int rc = left > 0 ? ::poll(&p, 1, int(left)) : 0;
            if (rc < 0 && errno == EINTR)
                continue;
            return rc > 0;
        }
    };
    for (qsizetype written = 0; written < request.size();) {
        const ssize_t n = ::send(s, request.constData() + written, size_t(request.size() - written),
                                 MSG_NOSIGNAL);
        if (n > 0) {
            written += n;
        } else if (!(n < 0 && (errno == EINTR || (errno == EAGAIN && ready(POLLOUT))))) {
            return false;
        }
    }
    // Only a whole request can be carried out: one cut off midway is dropped by the clock.
    sent = true;
    QByteArray in;
    qsizetype total = 0;
    for (;;) {
        const ReminderWire::Frame frame =
            in.isEmpty() ? ReminderWire::Frame::Incomplete : ReminderWire::replyFrame(in, &total);
        if (frame == ReminderWire::Frame::Complete)
            break;
        if (frame != ReminderWire::Frame::Incomplete)
            return false;
        const qsizetype want =
            (in.size() < ReminderWire::HeaderBytes ? ReminderWire::HeaderBytes : total) - in.size();
        const qsizetype had = in.size();
        in.resize(had + std::min<qsizetype>(want, 1 << 20));
        const ssize_t n = ::recv(s, in.data() + had, size_t(in.size() - had), 0);
        in.resize(had + std::max<ssize_t>(n, 0));
        if (n > 0 || (n < 0 && (errno == EINTR || (errno == EAGAIN && ready(POLLIN)))))
            continue;
        return false;
    }
    return ReminderWire::decodeReply(QByteArrayView(in).first(total), reply);
}

// Out of descriptors the waiting request cannot be taken and the socket stays readable, so
// watching it would spin: rest, and look again later.
void LinuxSingleInstance::pauseListening()
{
    if (!m_pauseReported) {
        std::fputs("horolux: out of file descriptors; requests from later starts wait until "
                   "some are free\n",
                   stderr);
        m_pauseReported = true;
    }
    QSocketNotifier* notifier = m_notifier.get();
    notifier->setEnabled(false);
    QTimer::singleShot(ListenRetryMs, notifier, [notifier] { notifier->setEnabled(true); });
}
