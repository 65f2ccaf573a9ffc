#pragma once

class QWidget;

// What the desktop's window manager must be told about the clock panel.
class IDesktopWindow {
public:
    virtual ~IDesktopWindow() = default;
    virtual void suppressTaskbarButton(QWidget* window) = 0;
    virtual void setStayOnTop(QWidget* window, bool onTop) = 0;
};
