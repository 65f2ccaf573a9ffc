#include "platform/X11Desktop.h"

#include <QGuiApplication>
#include <QList>
#include <QWidget>
#include <QWindow>
#include <QtGui/qguiapplication_platform.h>

#ifdef HOROLUX_HAVE_X11
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#endif

X11Desktop::X11Desktop() = default;

X11Desktop::~X11Desktop() = default;

// Qt's own connection: requests then reach the server in order with Qt's (a window Qt has
// just created exists for us too), and X errors go through Qt's handler.
void* X11Desktop::display() const
{
#ifdef HOROLUX_HAVE_X11
    if (auto* x11 =
            qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr)
        return x11->display();
#endif
    return nullptr;
}

#ifdef HOROLUX_HAVE_X11
namespace {

Atom atom(Display* d, const char* name)
{
    return XInternAtom(d, name, False);
}

// Adds or removes one _NET_WM_STATE flag of a mapped window through the window manager.
void sendWmState(Display* d, Window w, bool add, Atom state)
{
    XEvent ev{};
    ev.xclient.type = ClientMessage;
    ev.xclient.window = w;
    ev.xclient.message_type = atom(d, "_NET_WM_STATE");
    ev.xclient.format = 32;
    ev.xclient.data.l[0] = add ? 1 : 0;
    ev.xclient.data.l[1] = static_cast<long>(state);
    ev.xclient.data.l[3] = 1;
    XSendEvent(d, DefaultRootWindow(d), False, SubstructureRedirectMask | SubstructureNotifyMask,
               &ev);
}

// Adds the states missing from the window's _NET_WM_STATE property.
void addStates(Display* d, Window w, const Atom* states, int count)
{
    const Atom property = atom(d, "_NET_WM_STATE");
    Atom type = None;
    int format = 0;
    unsigned long n = 0, after = 0;
    unsigned char* data = nullptr;
    QList<Atom> present;
    if (XGetWindowProperty(d, w, property, 0, 64, False, XA_ATOM, &type, &format, &n, &after,
                           &data) == Success &&
        data) {
        if (format == 32)
            for (unsigned long i = 0; i < n; ++i)
                present << reinterpret_cast<const Atom*>(data)[i];
        XFree(data);
    }
    for (int i = 0; i < count; ++i)
        if (!present.contains(states[i]))
            XChangeProperty(d, w, property, XA_ATOM, 32, PropModeAppend,
                            reinterpret_cast<const unsigned char*>(&states[i]), 1);
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

bool searchTree(Display* d, Window w, const QString& title, int depth)
{
    if (windowTitle(d, w) == title)
        return true;
    if (depth == 0)
        return false;
    Window root = 0, parent = 0;
    Window* children = nullptr;
    unsigned int n = 0;
    bool found = false;
    if (XQueryTree(d, w, &root, &parent, &children, &n)) {
        for (unsigned int i = 0; i < n && !found; ++i)
            found = searchTree(d, children[i], title, depth - 1);
        if (children)
            XFree(children);
    }
    return found;
}

} // namespace
#endif

void X11Desktop::suppressTaskbarButton(QWidget* window)
{
#ifdef HOROLUX_HAVE_X11
    auto* d = static_cast<Display*>(display());
    if (!d || !window)
        return;
    const Window w = static_cast<Window>(window->winId());
    const Atom states[2] = {atom(d, "_NET_WM_STATE_SKIP_TASKBAR"),
                            atom(d, "_NET_WM_STATE_SKIP_PAGER")};
    // The window manager drops these states whenever the window is withdrawn (every hide),
    // so this runs on every show: the property counts for a window about to be mapped, the
    // message for one already mapped.
    addStates(d, w, states, 2);
    if (window->isVisible()) {
        for (Atom s : states)
            sendWmState(d, w, true, s);
    }
    XFlush(d);
#else
    Q_UNUSED(window);
#endif
}

void X11Desktop::setStayOnTop(QWidget* window, bool onTop)
{
    if (!window)
        return;
    // Changing the flag on the native window keeps it mapped; on the widget it would hide it.
    if (QWindow* handle = window->windowHandle())
        handle->setFlag(Qt::WindowStaysOnTopHint, onTop);
    else
        window->setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
#ifdef HOROLUX_HAVE_X11
    auto* d = static_cast<Display*>(display());
    if (d && window->isVisible()) {
        sendWmState(d, static_cast<Window>(window->winId()), onTop, atom(d, "_NET_WM_STATE_ABOVE"));
        XFlush(d);
    }
#endif
}

bool X11Desktop::findTopLevel(const QString& title) const
{
#ifdef HOROLUX_HAVE_X11
    auto* d = static_cast<Display*>(display());
    if (!d || title.isEmpty())
        return false;
    const Window root = DefaultRootWindow(d);
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    bool found = false;
    if (XGetWindowProperty(d, root, atom(d, "_NET_CLIENT_LIST"), 0, 65536, False, XA_WINDOW, &type,
                           &format, &count, &after, &data) == Success &&
        data && format == 32 && count > 0) {
        const auto* windows = reinterpret_cast<const Window*>(data);
        for (unsigned long i = 0; i < count && !found; ++i)
            found = windowTitle(d, windows[i]) == title;
        XFree(data);
        return found;
    }
    if (data)
        XFree(data);
    // No window manager list: top-level windows and the clients inside their frames.
    return searchTree(d, root, title, 2);
#else
    Q_UNUSED(title);
    return false;
#endif
}
