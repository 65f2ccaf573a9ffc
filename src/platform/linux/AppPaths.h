#pragma once

#include <QString>

// Where the program keeps its files, following the XDG base directories.
namespace AppPaths {

// $XDG_CONFIG_HOME/horolux/settings.reg (default ~/.config/horolux/settings.reg).
QString settingsFile();
// $XDG_DATA_HOME/horolux/ with its trailing separator (default ~/.local/share/horolux/).
QString dataDirectory();
// The schedule file in a data folder given with its trailing separator.
QString scheduleFile(const QString& dataDirectory);

} // namespace AppPaths
