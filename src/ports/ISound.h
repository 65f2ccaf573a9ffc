#pragma once

#include <QString>

class ISound {
public:
    virtual ~ISound() = default;
    virtual void beep() = 0;
    // Starts playing the file and returns at once; a file that cannot be played beeps instead.
    virtual void playAsync(const QString& file) = 0;
};
