#pragma once

#include "ports/IClock.h"

// A clock that stands still until a test moves it; sleeps only add up.
class FakeClock : public IClock {
public:
    QDateTime now() const override;
    quint32 tickCount() const override;
    void sleepMs(int ms) override;

    QDateTime current{QDate(2000, 1, 3), QTime(9, 0)};
    quint32 ticks = 0;
    int slept = 0;
};
