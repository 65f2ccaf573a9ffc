#include "platform/LinuxSingleInstance.h"

#include <QElapsedTimer>
#include <QFile>
#include <QSocketNotifier>
#include <QThread>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

// Long host names are cut so the socket path still fits a socket address.
constexpr int MaxKeyLength = 48;

bool fillAddress(const QString& path, sockaddr_un& address)
{
    const QByteArray native = QFile::encodeName(path);
    std::memset(&address, 0, sizeof address);
    address.sun_family = AF_UNIX;
    if (native.size() >= static_cast<qsizetype>(sizeof address.sun_path))
        return false;
    std::memcpy(address.sun_path, native.constData(), static_cast<size_t>(native.size()));
    return true;
}

QByteArray sessionDisplay()
{
    const QByteArray x11 = qgetenv("DISPLAY");
    return x11.isEmpty() ? qgetenv("WAYLAND_DISPLAY") : x11;
}

} // namespace

LinuxSingleInstance::LinuxSingleInstance()
    : LinuxSingleInstance(lockFolder(qgetenv("XDG_RUNTIME_DIR"), QStringLiteral("/tmp"),
                                     static_cast<uint>(::geteuid())),
                          sessionDisplay())
{
}

LinuxSingleInstance::LinuxSingleInstance(QString folder, const QByteArray& display)
    : m_folder(std::move(folder)), m_key(displayKey(display))
{
}

LinuxSingleInstance::~LinuxSingleInstance()
{
    m_notifier.reset();
    if (m_listenFd >= 0) {
        ::close(m_listenFd);
        // Removed while the lock is still held, so it is never a successor's socket.
        ::unlink(QFile::encodeName(socketPath()).constData());
    }
    if (m_lockFd >= 0)
        ::close(m_lockFd);
}

QString LinuxSingleInstance::lockPath() const
{
    return m_folder + QStringLiteral("/horolux-") + m_key + QStringLiteral(".lock");
}

QString LinuxSingleInstance::socketPath() const
{
    return m_folder + QStringLiteral("/horolux-") + m_key + QStringLiteral(".socket");
}

QString LinuxSingleInstance::lockFolder(const QByteArray& runtimeDir, const QString& tmpRoot,
                                        uint uid)
{
    struct stat st {};
    if (runtimeDir.startsWith('/') && ::stat(runtimeDir.constData(), &st) == 0 &&
        S_ISDIR(st.st_mode) && st.st_uid == uid && (st.st_mode & 022) == 0)
        return QFile::decodeName(runtimeDir);

    const QString folder = tmpRoot + QStringLiteral("/horolux-%1").arg(uid);
    const QByteArray native = QFile::encodeName(folder);
    ::mkdir(native.constData(), 0700);
    // Anyone may create this name first: take it only as a private folder of ours, never
    // through a link.
    if (::lstat(native.constData(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != uid ||
        (st.st_mode & 077) != 0)
        return {};
    return folder;
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

bool LinuxSingleInstance::claim()
{
    if (m_folder.isEmpty())
        return true;
    const int fd = ::open(QFile::encodeName(lockPath()).constData(),
                          O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0600);
    struct stat st {};
    if (fd < 0 || ::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        // Without a lock file nothing can be guarded: run as before.
        if (fd >= 0)
            ::close(fd);
        return true;
    }
    QElapsedTimer waited;
    waited.start();
    for (;;) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            m_lockFd = fd;
            startListening();
            return true;
        }
        if (errno != EWOULDBLOCK && errno != EINTR) {
            ::close(fd);
            return true;
        }
        // The holder may have locked but not yet opened its socket, or may be ending: try
        // again for a while, and take the lock if it is freed.
        if (tryToReachHolder() || waited.elapsed() >= ContactWaitMs) {
            ::close(fd);
            return false;
        }
        QThread::msleep(20);
    }
}

bool LinuxSingleInstance::tryToReachHolder() const
{
    sockaddr_un address;
    if (!fillAddress(socketPath(), address))
        return false;
    const int s = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (s < 0)
        return false;
    const int rc = ::connect(s, reinterpret_cast<const sockaddr*>(&address), sizeof address);
    // A full queue means the holder is alive but has many requests waiting already.
    const bool reached = rc == 0 || errno == EAGAIN;
    ::close(s);
    return reached;
}

void LinuxSingleInstance::startListening()
{
    sockaddr_un address;
    if (!fillAddress(socketPath(), address))
        return;
    // A socket left by a copy that was killed; the lock says nobody uses it.
    ::unlink(address.sun_path);
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
    // A connection is the whole request; nothing is read, so no caller can hold us up.
    int requests = 0;
    for (int c; (c = ::accept4(m_listenFd, nullptr, nullptr, SOCK_CLOEXEC)) >= 0;) {
        ::close(c);
        ++requests;
    }
    if (requests > 0 && m_handler)
        m_handler();
}
