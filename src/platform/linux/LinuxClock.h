#pragma once

#include "ports/IClock.h"

class LinuxClock : public IClock {
public:
    QDateTime now() const override;
    quint32 tickCount() const override;
    void sleepMs(int ms) override;
};
