#pragma once

#include <QtGlobal>

class IClock;

namespace SharedRoutines {

// Returns after at least `milliseconds`, handling every event meanwhile (at least once, also
// for 0), so the clock keeps ticking. False when it ended early because the program is
// quitting.
bool DelayPumping(IClock& clock, qint32 milliseconds);

} // namespace SharedRoutines
