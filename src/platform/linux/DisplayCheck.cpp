#include "platform/linux/DisplayCheck.h"

#include <QtGlobal>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

#include <sys/resource.h>

#ifdef HOROLUX_HAVE_X11
#include <X11/Xlib.h>
#endif

namespace {

// Which platform Qt will load: the variable when set, else Wayland where only Wayland is
// offered, else X11.
bool usesX11()
{
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (!platform.isEmpty())
        return platform.startsWith("xcb");
    return qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
           !qEnvironmentVariableIsEmpty("DISPLAY");
}

#ifdef HOROLUX_HAVE_X11
struct Probe {
    std::mutex mutex;
    std::condition_variable done;
    bool finished = false;
    bool answered = false;
};

// A server that accepts the connection but never answers would hold XOpenDisplay for ever:
// the attempt runs in a thread of its own, left behind (and ended with the process) when it
// takes too long.
bool answers(const QByteArray& name, int timeoutMs)
{
    auto probe = std::make_shared<Probe>();
    std::thread([probe, name] {
        Display* display = XOpenDisplay(name.constData());
        const bool answered = display != nullptr;
        if (display)
            XCloseDisplay(display);
        std::lock_guard<std::mutex> lock(probe->mutex);
        probe->finished = true;
        probe->answered = answered;
        probe->done.notify_all();
    }).detach();
    std::unique_lock<std::mutex> lock(probe->mutex);
    probe->done.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                         [&probe] { return probe->finished; });
    return probe->finished && probe->answered;
}
#endif

} // namespace

namespace DisplayCheck {

QString problem(int timeoutMs)
{
    if (!usesX11())
        return {};
    const QByteArray name = qgetenv("DISPLAY");
    if (name.isEmpty())
        return QStringLiteral("horolux: no display to show the clock on (DISPLAY is not set)");
#ifdef HOROLUX_HAVE_X11
    if (!answers(name, timeoutMs))
        return QStringLiteral("horolux: cannot open display %1").arg(QString::fromLocal8Bit(name));
#else
    Q_UNUSED(timeoutMs);
#endif
    return {};
}

void fitDescriptorLimit()
{
    constexpr rlim_t Comfortable = 64;
    rlimit limit{};
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur >= Comfortable)
        return;
    // Raised as far as the system lets an ordinary process.
    const rlim_t wanted =
        limit.rlim_max == RLIM_INFINITY ? Comfortable : std::min(limit.rlim_max, Comfortable);
    if (wanted > limit.rlim_cur) {
        limit.rlim_cur = wanted;
        ::setrlimit(RLIMIT_NOFILE, &limit);
    }
}

void drawOverTheConnection()
{
    qputenv("QT_XCB_NO_MITSHM", "1");
}

} // namespace DisplayCheck
