#pragma once

#include <QString>

// Whether the X display the program is about to use answers. Qt aborts when it cannot
// connect, which ends the program with a core dump and leaves its files behind, so the program
// asks first and ends in order instead.
namespace DisplayCheck {

// Empty when the display answers, or when the program will not use X11 at all (Wayland, the
// offscreen platform); otherwise one line that names the display.
QString problem(int timeoutMs = 5000);

// Raises a low descriptor limit as far as an ordinary process may: Qt and the program need a
// few dozen.
void fitDescriptorLimit();

// The windows send their pixels over the X connection rather than through shared memory. The
// panel repaints a few dozen pixels every second, and before each repaint into shared memory
// Qt waits for the server to be done with the last one: a round trip that wakes two threads
// every second. Without shared memory the tick wakes the program once. (Shared memory also
// needs descriptors of its own: with very few left Qt waited for ever on its first paint.)
void drawOverTheConnection();

} // namespace DisplayCheck
