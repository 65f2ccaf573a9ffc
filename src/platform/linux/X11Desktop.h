#pragma once

#include "ports/IDesktopWindow.h"
#include "ports/IWindowFinder.h"

// Window-manager services through X11. Where the session has no X11 display these do
// nothing (and find no window).
class X11Desktop : public IDesktopWindow, public IWindowFinder {
public:
    X11Desktop();
    ~X11Desktop() override;
    X11Desktop(const X11Desktop&) = delete;
    X11Desktop& operator=(const X11Desktop&) = delete;

    // Called before every show: the window manager forgets the states of a hidden window.
    // Also carries the stay-on-top wish, which is kept in the same states.
    void suppressTaskbarButton(QWidget* window) override;
    void setStayOnTop(QWidget* window, bool onTop) override;
    // Kept with the other states and written again with them before every show.
    void showOnAllWorkspaces(QWidget* window) override;
    bool findTopLevel(const QString& title) const override;
};
