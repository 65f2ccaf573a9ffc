#pragma once

#include "core/DayNumber.h"

#include <QtGlobal>

// What the tick remembers between seconds: its countdowns and what the face shows now.
struct TickState {
    qint32 DateLineCountdown = 10;
    qint32 HideCountdown = -1;
    qint32 SampleCountdown = 1;
    DayNumber LastDateShown = 0;
    // 99 forces the minute steps on the next update.
    quint16 LastMinuteShown = 99;
    bool ColonShown = false;
};
