#pragma once

#include "core/DayNumber.h"

#include <QtGlobal>

// What the tick remembers between seconds: its countdowns and what the face shows now.
struct TickState {
    qint32 DateLineCountdown = 10;
    qint32 HideCountdown = -1;
    qint32 SampleCountdown = 1;
    DayNumber LastDateShown = 0;
    // A minute no clock shows: the next update runs the minute steps (digits, tip, chime, scan).
    static constexpr quint16 ForceMinuteSteps = 99;
    quint16 LastMinuteShown = ForceMinuteSteps;
    bool ColonShown = false;
};
