#pragma once

#include "platform/IDesktopWindow.h"
#include "platform/IWindowFinder.h"

// Window-manager services through X11. Where the session has no X11 display these do
// nothing (and find no window).
class X11Desktop : public IDesktopWindow, public IWindowFinder {
public:
    X11Desktop();
    ~X11Desktop() override;
    X11Desktop(const X11Desktop&) = delete;
    X11Desktop& operator=(const X11Desktop&) = delete;

    void suppressTaskbarButton(QWidget* window) override;
    void setStayOnTop(QWidget* window, bool onTop) override;
    bool findTopLevel(const QString& title) const override;

private:
    void* display() const; // Display*, or none without X11
};
