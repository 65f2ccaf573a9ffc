#pragma once

#include "platform/linux/BusProbe.h"

#include <functional>

class QObject;

// The system bus, where the system's time service is.
namespace SystemBus {
// Runs `then` once it is known whether the system bus answers, never waiting for it: Answers
// means Qt's connection to it is open and may be used on this thread (the GUI thread) at once.
// `then` runs at once when an earlier question found the bus answering; otherwise later, and
// not at all once `context` is gone. A bus found silent or absent is asked again next time.
void whenKnown(QObject* context, std::function<void(BusProbe::Verdict)> then);
} // namespace SystemBus
