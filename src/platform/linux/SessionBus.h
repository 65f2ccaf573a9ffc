#pragma once

// The desktop session's bus, as the program's services on it find it.
namespace SessionBus {
// Whether the session names a bus. Only such a bus is used: asking for one regardless would
// have the bus library start a bus of its own for the display, which takes time and outlives us.
bool named();
} // namespace SessionBus
