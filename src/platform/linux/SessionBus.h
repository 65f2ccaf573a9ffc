#pragma once

#include <QString>

// The desktop session's bus, as the program's services on it find it.
namespace SessionBus {
// Whether the session names a bus. Only such a bus is used: asking for one regardless would
// have the bus library start a bus of its own for the display, which takes time and outlives us.
bool named();

// Decides once, on the GUI thread and before anything there touches the session bus (Qt's
// accessibility bridge does with the first accessible name), whether the bus is used in this
// run: one that does not answer within `limitMs` is not, by Qt's own users of it either. Returns
// what to tell the user; empty when there is nothing to tell.
QString settle(int limitMs);
// Whether the program's services may use the session bus; settles it first if that was not done.
bool usable();
} // namespace SessionBus
