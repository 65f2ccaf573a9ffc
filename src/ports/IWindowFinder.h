#pragma once

#include <QString>

class IWindowFinder {
public:
    virtual ~IWindowFinder() = default;
    // True when a top-level window whose title is exactly this text exists.
    virtual bool findTopLevel(const QString& title) const = 0;
};
