#include "platform/linux/X11Desktop.h"

#include <QEvent>
#include <QGuiApplication>
#include <QList>
#include <QPointer>
#include <QWidget>
#include <QWindow>
#include <QtGui/qguiapplication_platform.h>

#include <unistd.h>

#ifdef HOROLUX_HAVE_X11
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
// Xlib's event-type macro would hide QEvent::Expose.
#undef Expose
#endif

X11Desktop::X11Desktop() = default;

X11Desktop::~X11Desktop() = default;

namespace {

// Qt's own connection: requests then reach the server in order with Qt's (a window Qt has
// just created exists for us too), and X errors go through Qt's handler.
void* qtDisplay()
{
#ifdef HOROLUX_HAVE_X11
    if (auto* x11 =
            qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr)
        return x11->display();
#endif
    return nullptr;
}

} // namespace

#ifdef HOROLUX_HAVE_X11
namespace {

Atom atom(Display* d, const char* name)
{
    return XInternAtom(d, name, False);
}

// Asks the window manager to add or remove up to two _NET_WM_STATE flags of a mapped window.
void sendWmState(Display* d, Window w, bool add, Atom first, Atom second = None)
{
    XEvent ev{};
    ev.xclient.type = ClientMessage;
    ev.xclient.window = w;
    ev.xclient.message_type = atom(d, "_NET_WM_STATE");
    ev.xclient.format = 32;
    ev.xclient.data.l[0] = add ? 1 : 0;
    ev.xclient.data.l[1] = static_cast<long>(first);
    ev.xclient.data.l[2] = static_cast<long>(second);
    ev.xclient.data.l[3] = 1;
    XSendEvent(d, DefaultRootWindow(d), False, SubstructureRedirectMask | SubstructureNotifyMask,
               &ev);
}

// The workspace of a window: 0xFFFFFFFF is every one. A mapped window asks the window
// manager; an unmapped one carries it as a property the manager reads when it maps the window.
void setWorkspace(Display* d, Window w, bool mapped, unsigned long workspace)
{
    const Atom property = atom(d, "_NET_WM_DESKTOP");
    if (!mapped) {
        const long value = static_cast<long>(workspace);
        XChangeProperty(d, w, property, XA_CARDINAL, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(&value), 1);
        return;
    }
    XEvent ev{};
    ev.xclient.type = ClientMessage;
    ev.xclient.window = w;
    ev.xclient.message_type = property;
    ev.xclient.format = 32;
    ev.xclient.data.l[0] = static_cast<long>(workspace);
    ev.xclient.data.l[1] = 1; // from an application
    XSendEvent(d, DefaultRootWindow(d), False, SubstructureRedirectMask | SubstructureNotifyMask,
               &ev);
}

// Rewrites the _NET_WM_STATE property of an unmapped window, which the window manager reads
// when the window is mapped; states set by others (Qt's own) are kept.
void writeStates(Display* d, Window w, const QList<Atom>& add, const QList<Atom>& remove)
{
    const Atom property = atom(d, "_NET_WM_STATE");
    Atom type = None;
    int format = 0;
    unsigned long n = 0, after = 0;
    unsigned char* data = nullptr;
    QList<Atom> states;
    if (XGetWindowProperty(d, w, property, 0, 64, False, XA_ATOM, &type, &format, &n, &after,
                           &data) == Success &&
        data) {
        if (format == 32)
            for (unsigned long i = 0; i < n; ++i)
                states << reinterpret_cast<const Atom*>(data)[i];
        XFree(data);
    }
    for (Atom a : remove)
        states.removeAll(a);
    for (Atom a : add)
        if (!states.contains(a))
            states << a;
    XChangeProperty(d, w, property, XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(states.constData()),
                    static_cast<int>(states.size()));
}

bool isMapped(Display* d, Window w)
{
    XWindowAttributes attributes;
    return XGetWindowAttributes(d, w, &attributes) && attributes.map_state != IsUnmapped;
}

QString windowTitle(Display* d, Window w)
{
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    QString title;
    if (XGetWindowProperty(d, w, atom(d, "_NET_WM_NAME"), 0, 1024, False, atom(d, "UTF8_STRING"),
                           &type, &format, &count, &after, &data) == Success &&
        data) {
        if (format == 8 && count > 0)
            title = QString::fromUtf8(reinterpret_cast<const char*>(data), int(count));
        XFree(data);
        if (!title.isNull())
            return title;
    }
    char* name = nullptr;
    if (XFetchName(d, w, &name) && name) {
        title = QString::fromLocal8Bit(name);
        XFree(name);
    }
    return title;
}

// A window's 32-bit property holding one value of `type` (a pid, a window), or `fallback`.
unsigned long oneValue(Display* d, Window w, const char* name, Atom type, unsigned long fallback)
{
    Atom actual = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    unsigned long value = fallback;
    if (XGetWindowProperty(d, w, atom(d, name), 0, 1, False, type, &actual, &format, &count, &after,
                           &data) == Success &&
        data) {
        if (format == 32 && count == 1)
            value = *reinterpret_cast<const unsigned long*>(data);
        XFree(data);
    }
    return value;
}

// The X windows of this process: Qt's own, the hidden group leader Qt gives them (it carries
// the application's name as its title), and any that name this process as their owner.
class OwnWindows {
public:
    explicit OwnWindows(Display* d) : m_display(d)
    {
        for (QWindow* window : QGuiApplication::allWindows()) {
            if (!window->handle())
                continue;
            const auto id = static_cast<Window>(window->winId());
            m_ids << id;
            const auto leader =
                static_cast<Window>(oneValue(d, id, "WM_CLIENT_LEADER", XA_WINDOW, None));
            if (leader != None && !m_ids.contains(leader))
                m_ids << leader;
        }
    }
    bool contains(Window w) const
    {
        return m_ids.contains(w) || oneValue(m_display, w, "_NET_WM_PID", XA_CARDINAL, 0) ==
                                        static_cast<unsigned long>(::getpid());
    }

private:
    Display* m_display;
    QList<Window> m_ids;
};

// The program's own windows never count: its panel may well carry the title looked for.
bool isWanted(Display* d, Window w, const QString& title, const OwnWindows& own)
{
    return windowTitle(d, w) == title && !own.contains(w);
}

bool searchTree(Display* d, Window w, const QString& title, int depth, const OwnWindows& own)
{
    if (isWanted(d, w, title, own))
        return true;
    if (depth == 0)
        return false;
    Window root = 0, parent = 0;
    Window* children = nullptr;
    unsigned int n = 0;
    bool found = false;
    if (XQueryTree(d, w, &root, &parent, &children, &n)) {
        for (unsigned int i = 0; i < n && !found; ++i)
            found = searchTree(d, children[i], title, depth - 1, own);
        if (children)
            XFree(children);
    }
    return found;
}

} // namespace
#endif

namespace {

// What the window manager is to know of one panel. It forgets every state of a window that is
// withdrawn (each hide), so they are written again before each map, and asked for once more
// when the window shows, in case the withdrawal was handled only after they were written.
class WindowStates : public QObject {
public:
    static WindowStates* of(QWidget* window)
    {
        auto* states = static_cast<WindowStates*>(
            window->findChild<QObject*>(name(), Qt::FindDirectChildrenOnly));
        if (!states)
            states = new WindowStates(window);
        QWindow* handle = window->windowHandle();
        if (handle && handle != states->m_watched) {
            handle->installEventFilter(states);
            states->m_watched = handle;
        }
        return states;
    }

    bool onTop = false;
    bool allWorkspaces = false;

    void reassertWhenShown() { m_pending = true; }

    void apply()
    {
#ifdef HOROLUX_HAVE_X11
        auto* d = static_cast<Display*>(qtDisplay());
        if (!d || !m_watched)
            return;
        const Window w = static_cast<Window>(m_watched->winId());
        const Atom skipTaskbar = atom(d, "_NET_WM_STATE_SKIP_TASKBAR");
        const Atom skipPager = atom(d, "_NET_WM_STATE_SKIP_PAGER");
        const Atom above = atom(d, "_NET_WM_STATE_ABOVE");
        const Atom sticky = atom(d, "_NET_WM_STATE_STICKY");
        const bool mapped = isMapped(d, w);
        if (mapped) {
            sendWmState(d, w, true, skipTaskbar, skipPager);
            sendWmState(d, w, onTop, above);
            if (allWorkspaces)
                sendWmState(d, w, true, sticky);
        } else {
            QList<Atom> add{skipTaskbar, skipPager};
            if (onTop)
                add << above;
            if (allWorkspaces)
                add << sticky;
            writeStates(d, w, add, onTop ? QList<Atom>{} : QList<Atom>{above});
        }
        // Managers differ in which of the two they go by: some know only the sticky state,
        // others (openbox) only the workspace number.
        if (allWorkspaces)
            setWorkspace(d, w, mapped, 0xFFFFFFFFUL);
        XFlush(d);
#endif
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Expose && m_pending && watched == m_watched &&
            m_watched->isExposed()) {
            m_pending = false;
            apply();
        }
        return false;
    }

private:
    explicit WindowStates(QWidget* window) : QObject(window)
    {
        setObjectName(name());
    }
    static QString name()
    {
        return QStringLiteral("horolux-window-states");
    }

    QPointer<QWindow> m_watched;
    bool m_pending = false;
};

} // namespace

void X11Desktop::suppressTaskbarButton(QWidget* window)
{
    if (!window || !qtDisplay())
        return;
    window->winId(); // the native window, so its states can be written before it is mapped
    WindowStates* states = WindowStates::of(window);
    states->reassertWhenShown();
    states->apply();
}

void X11Desktop::setStayOnTop(QWidget* window, bool onTop)
{
    if (!window)
        return;
    if (!qtDisplay()) {
        // Changing the flag on the native window keeps it mapped; on the widget it would hide it.
        if (QWindow* handle = window->windowHandle())
            handle->setFlag(Qt::WindowStaysOnTopHint, onTop);
        else
            window->setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
        return;
    }
    // Not through Qt's flag: Qt would replace the native window at the next show, and the new
    // window would come up without the states asked for on the old one (a task-bar button).
    WindowStates* states = WindowStates::of(window);
    states->onTop = onTop;
    if (window->testAttribute(Qt::WA_WState_Created))
        states->apply();
}

void X11Desktop::showOnAllWorkspaces(QWidget* window)
{
    if (!window || !qtDisplay())
        return;
    WindowStates* states = WindowStates::of(window);
    states->allWorkspaces = true;
    if (window->testAttribute(Qt::WA_WState_Created))
        states->apply();
}

bool X11Desktop::findTopLevel(const QString& title) const
{
#ifdef HOROLUX_HAVE_X11
    auto* d = static_cast<Display*>(qtDisplay());
    if (!d || title.isEmpty())
        return false;
    const Window root = DefaultRootWindow(d);
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    bool found = false;
    const OwnWindows own(d);
    if (XGetWindowProperty(d, root, atom(d, "_NET_CLIENT_LIST"), 0, 65536, False, XA_WINDOW, &type,
                           &format, &count, &after, &data) == Success &&
        data && format == 32 && count > 0) {
        const auto* windows = reinterpret_cast<const Window*>(data);
        for (unsigned long i = 0; i < count && !found; ++i)
            found = isWanted(d, windows[i], title, own);
        XFree(data);
        return found;
    }
    if (data)
        XFree(data);
    // No window manager list: top-level windows and the clients inside their frames.
    return searchTree(d, root, title, 2, own);
#else
    Q_UNUSED(title);
    return false;
#endif
}
