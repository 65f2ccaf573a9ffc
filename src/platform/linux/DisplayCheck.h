#pragma once

#include <QString>

// Whether the X display the program is about to use answers. Qt aborts when it cannot
// connect, which ends the program with a core dump and leaves its files behind, so the program
// asks first and ends in order instead.
namespace DisplayCheck {

// Empty when the display answers, or when the program will not use X11 at all (Wayland, the
// offscreen platform); otherwise one line that names the display.
QString problem(int timeoutMs = 5000);

// Qt draws through X shared memory, which needs descriptors of its own: with very few left it
// waits for ever on its first paint. With a low descriptor limit it is told to draw without.
void fitDescriptorLimit();

} // namespace DisplayCheck
