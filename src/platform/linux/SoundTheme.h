#pragma once

#include <QString>

// Sounds of the desktop's sound theme: the stereo sounds of the theme the desktop names, else
// of the freedesktop theme, in the user's data folder before the system's.
namespace SoundTheme {

// The file for sound `name` ("bell"); empty when neither theme has one.
QString find(const QString& name);

} // namespace SoundTheme
