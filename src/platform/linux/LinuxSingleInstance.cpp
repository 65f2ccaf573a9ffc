#include "platform/linux/LinuxSingleInstance.h"

#include <QElapsedTimer>
#include <QFile>
#include <QSocketNotifier>
#include <QStringList>
#include <QThread>
#include <QTimer>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
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

} // namespace

LinuxSingleInstance::LinuxSingleInstance()
    : LinuxSingleInstance(lockFolder({qgetenv("XDG_RUNTIME_DIR"), QStringLiteral("/run/user"),
                                      QFile::decodeName(qgetenv("HOME")), QStringLiteral("/tmp")},
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

// Every start of one user must land on the same folder, and nothing another user does may
// move it: a private folder in HOME comes before the shared /tmp, since a name another user
// holds in /tmp today could be freed by them tomorrow and split the starts over two folders.
QString LinuxSingleInstance::lockFolder(const Places& places, uint uid)
{
    const QString runtime = QFile::decodeName(places.runtimeDir);
    const int runtimeFd = openOwnFolder(runtime, uid, 022);
    if (runtimeFd >= 0) {
        ::close(runtimeFd);
        return runtime;
    }
    const QString runUser = places.runUserRoot + QLatin1Char('/') + QString::number(uid);
    const int runUserFd = places.runUserRoot.isEmpty() ? -1 : openOwnFolder(runUser, uid, 077);
    if (runUserFd >= 0) {
        ::close(runUserFd);
        return runUser;
    }
    const QStringList inHome{QStringLiteral(".local"), QStringLiteral("state"),
                             QStringLiteral("horolux")};
    if (makeOwnFolders(places.home, true, inHome, uid))
        return places.home + QStringLiteral("/.local/state/horolux");
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

ISingleInstance::Claim LinuxSingleInstance::claim()
{
    // Checked again on the descriptor every later step goes through.
    m_dirFd = m_folder.isEmpty() ? -1 : openOwnFolder(m_folder, ::geteuid(), 022);
    if (m_dirFd < 0)
        return {Outcome::NoSafePlace, {}};
    const int fd =
        ::openat(m_dirFd, LockName, O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0600);
    struct stat st {};
    if (fd < 0 || ::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        if (fd >= 0)
            ::close(fd);
        return {Outcome::NoSafePlace, {}};
    }
    QElapsedTimer waited;
    waited.start();
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
        // or may be ending: try again for a while, and take the lock if it is freed.
        QByteArray holder;
        if (readHolderDisplay(fd, holder)) {
            if (displayKey(holder) != m_key) {
                ::close(fd);
                return {Outcome::OtherDisplay, printable(holder)};
            }
            if (tryToReachHolder()) {
                ::close(fd);
                return {Outcome::Shown, {}};
            }
        }
        if (waited.elapsed() >= ContactWaitMs) {
            ::close(fd);
            return {Outcome::Unreachable, {}};
        }
        QThread::msleep(20);
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

// Needs the event loop's thread, so it waits for a handler (set once the application exists).
void LinuxSingleInstance::watchRequests()
{
    if (m_listenFd < 0 || m_notifier || !m_handler)
        return;
    m_notifier = std::make_unique<QSocketNotifier>(m_listenFd, QSocketNotifier::Read);
    QObject::connect(m_notifier.get(), &QSocketNotifier::activated, m_notifier.get(),
                     [this] { acceptRequests(); });
}

void LinuxSingleInstance::acceptRequests()
{
    // A connection is the whole request; nothing is read, so no caller can hold us up. Only
    // this user's processes are served.
    int requests = 0;
    for (;;) {
        const int c = ::accept4(m_listenFd, nullptr, nullptr, SOCK_CLOEXEC);
        if (c < 0) {
            if (errno == EINTR || errno == ECONNABORTED)
                continue;
            if (errno == EMFILE || errno == ENFILE || errno == ENOBUFS || errno == ENOMEM)
                pauseListening();
            break;
        }
        if (peerUid(c) == ::geteuid())
            ++requests;
        ::close(c);
    }
    if (requests > 0 && m_handler)
        m_handler();
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
