#pragma once

class QWidget;

// What the desktop's window manager must be told about the clock panel.
class IDesktopWindow {
public:
    virtual ~IDesktopWindow() = default;
    virtual void suppressTaskbarButton(QWidget* window) = 0;
    virtual void setStayOnTop(QWidget* window, bool onTop) = 0;
    // On every workspace (virtual desktop) from now on, as a resident clock is expected to be.
    virtual void showOnAllWorkspaces(QWidget* window) = 0;
};
