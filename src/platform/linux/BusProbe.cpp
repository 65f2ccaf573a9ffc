#include "platform/linux/BusProbe.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QObject>
#include <QSocketNotifier>
#include <QTimer>

#include <optional>

#include <cerrno>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

using BusProbe::Verdict;

// A connected socket, or -1 when nothing listens at `name`. `silent` is set when the bus is
// there but takes no more connections.
int connectTo(const QByteArray& name, bool abstract, bool* silent)
{
    sockaddr_un a{};
    a.sun_family = AF_UNIX;
    const qsizetype offset = abstract ? 1 : 0; // an abstract name starts with a null byte
    if (name.isEmpty() || offset + name.size() >= qsizetype(sizeof a.sun_path))
        return -1;
    std::memcpy(a.sun_path + offset, name.constData(), size_t(name.size()));
    const auto length = socklen_t(offsetof(sockaddr_un, sun_path) + size_t(offset + name.size()) +
                                  (abstract ? 0 : 1));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return -1;
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&a), length) == 0)
        return fd;
    // A full backlog: nobody takes the connections off it.
    *silent = errno == EAGAIN || errno == EINPROGRESS;
    ::close(fd);
    return -1;
}

// Opens the first entry of `address` that connects, as the bus library does, and greets the bus
// there: a socket waiting for the answer, or -1 with the verdict already known.
int greet(const QString& address, Verdict* verdict)
{
    *verdict = Verdict::Absent;
    for (const QString& entry : address.split(u';', Qt::SkipEmptyParts)) {
        QMap<QString, QByteArray> keys;
        for (const QString& pair : entry.section(u':', 1).split(u',', Qt::SkipEmptyParts))
            keys.insert(pair.section(u'=', 0, 0),
                        QByteArray::fromPercentEncoding(pair.section(u'=', 1).toUtf8()));
        QByteArray name;
        bool abstract = false;
        if (entry.section(u':', 0, 0) != QLatin1String("unix")) {
            *verdict = Verdict::Unprobed;
            return -1;
        }
        if (keys.contains(QStringLiteral("path"))) {
            name = keys.value(QStringLiteral("path"));
        } else if (keys.contains(QStringLiteral("abstract"))) {
            name = keys.value(QStringLiteral("abstract"));
            abstract = true;
        } else if (keys.value(QStringLiteral("runtime")) == "yes") {
            name = QFile::encodeName(qEnvironmentVariable("XDG_RUNTIME_DIR")) + "/bus";
        } else {
            *verdict = Verdict::Unprobed;
            return -1;
        }
        bool silent = false;
        const int fd = connectTo(name, abstract, &silent);
        if (silent) {
            *verdict = Verdict::Silent;
            return -1;
        }
        if (fd < 0)
            continue;
        // The first words of every client: the credentials byte, then the way it proves who it
        // is. Any answer at all shows the bus is reading.
        const QByteArray hello = QByteArray(1, '\0') + "AUTH EXTERNAL " +
                                 QByteArray::number(uint(::getuid())).toHex() + "\r\n";
        if (::send(fd, hello.constData(), size_t(hello.size()), MSG_NOSIGNAL) == hello.size())
            return fd;
        *verdict = errno == EAGAIN ? Verdict::Silent : Verdict::Absent;
        ::close(fd);
        return -1;
    }
    return -1;
}

// What a readable socket says: nothing yet (a spurious wake-up), an answer, or a hang-up.
std::optional<Verdict> readAnswer(int fd)
{
    char answer[256];
    const ssize_t n = ::recv(fd, answer, sizeof answer, 0);
    if (n > 0)
        return Verdict::Answers;
    if (n < 0 && (errno == EAGAIN || errno == EINTR))
        return std::nullopt;
    return Verdict::Absent;
}

// One question in flight, owned by the asker's context so that it ends with it.
class Asking : public QObject {
public:
    Asking(int fd, QObject* context, std::function<void(Verdict)> done, int limitMs)
        : QObject(context), m_fd(fd), m_done(std::move(done)),
          m_readable(new QSocketNotifier(fd, QSocketNotifier::Read, this))
    {
        connect(m_readable, &QSocketNotifier::activated, this, [this] {
            if (const std::optional<Verdict> v = readAnswer(m_fd))
                finish(*v);
        });
        QTimer::singleShot(limitMs, this, [this] { finish(Verdict::Silent); });
    }
    ~Asking() override
    {
        delete m_readable;
        ::close(m_fd);
    }

private:
    void finish(Verdict v)
    {
        if (!m_done)
            return;
        const std::function<void(Verdict)> done = std::exchange(m_done, nullptr);
        m_readable->setEnabled(false);
        deleteLater();
        done(v); // may end the context, and this with it: nothing of this is touched after
    }

    int m_fd;
    std::function<void(Verdict)> m_done;
    QSocketNotifier* m_readable;
};

} // namespace

QString BusProbe::sessionAddress()
{
    const QString set = qEnvironmentVariable("DBUS_SESSION_BUS_ADDRESS");
    if (!set.isEmpty())
        return set;
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QFileInfo::exists(runtime + QStringLiteral("/bus")))
        return QStringLiteral("unix:runtime=yes");
    return QStringLiteral("autolaunch:");
}

QString BusProbe::systemAddress()
{
    const QString set = qEnvironmentVariable("DBUS_SYSTEM_BUS_ADDRESS");
    return set.isEmpty() ? QStringLiteral("unix:path=/var/run/dbus/system_bus_socket") : set;
}

BusProbe::Verdict BusProbe::await(const QString& address, int limitMs)
{
    Verdict verdict = Verdict::Absent;
    const int fd = greet(address, &verdict);
    if (fd < 0)
        return verdict;
    const QDeadlineTimer deadline(limitMs);
    std::optional<Verdict> got;
    while (!got) {
        pollfd p{fd, POLLIN, 0};
        const int ready = ::poll(&p, 1, int(deadline.remainingTime()));
        if (ready > 0)
            got = readAnswer(fd);
        else if (ready < 0 && errno != EINTR)
            got = Verdict::Absent;
        if (!got && deadline.hasExpired())
            got = Verdict::Silent;
    }
    ::close(fd);
    return *got;
}

void BusProbe::ask(const QString& address, QObject* context, std::function<void(Verdict)> done,
                   int limitMs)
{
    Verdict verdict = Verdict::Absent;
    const int fd = greet(address, &verdict);
    if (fd >= 0)
        new Asking(fd, context, std::move(done), limitMs);
    else
        QMetaObject::invokeMethod(
            context, [done = std::move(done), verdict] { done(verdict); }, Qt::QueuedConnection);
}
