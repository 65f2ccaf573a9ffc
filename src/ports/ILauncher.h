#pragma once

#include <QString>

// Opens a program, document or web address the way the desktop does.
class ILauncher {
public:
    virtual ~ILauncher() = default;
    // show: 1 normal, 2 minimised, 3 maximised, 5 shown. False when nothing could be started
    // or nothing could open the document or address.
    virtual bool open(const QString& file, const QString& parameters, const QString& directory,
                      int show) = 0;
};
