#pragma once

#include <QtGlobal>

#include <functional>

namespace SharedRoutines {

// Returns after at least `milliseconds` of `tickCount` (a millisecond counter that may wrap at
// 2^32), handling every event meanwhile (at least once, also for 0), so the clock keeps
// ticking. False when it ended early because the program is quitting.
bool DelayPumping(const std::function<quint32()>& tickCount, qint32 milliseconds);

} // namespace SharedRoutines
