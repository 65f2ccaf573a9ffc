#pragma once

#include <QIcon>
#include <QPoint>
#include <QString>
#include <functional>

// The notification area. One record per icon: the owner's identifier, its picture and tip.
struct TrayRecord {
    int id = 0;
    QIcon icon;
    QString tip; // at most 63 characters
};

class ITrayShell {
public:
    enum class Mouse { LeftUp, LeftDoubleClick, RightUp, Other };
    using Callback = std::function<void(int id, Mouse message, QPoint cursor)>;
    virtual ~ITrayShell() = default;
    virtual bool add(const TrayRecord& record) = 0;
    virtual bool modify(const TrayRecord& record) = 0;
    virtual bool remove(const TrayRecord& record) = 0;
    // Mouse actions on any icon of this shell are reported here.
    virtual void setCallback(Callback callback) = 0;
};
