#pragma once

#include <QString>
#include <QStringList>

struct SettingsInForce;
class SettingsStore;

// The time servers offered in the configuration dialog, the rule that turns a chosen entry
// into a host name, and what the dialog's OK stores.
namespace TimeServers {

// The 14 entries, "Country: host", in the order the dialog lists them (not sorted).
QStringList list();

// Drops everything up to the first colon and the one character after it, normally the blank
// of "UK: host". A text without a colon is kept whole.
QString StripCountryPrefix(const QString& text);

// The dialog's OK: takes the window title and the server text as they are (nothing is
// checked; an empty one turns the automatic check off), puts them in force and stores them.
void applyConfiguration(SettingsInForce& settings, const SettingsStore& store,
                        const QString& windowTitle, const QString& serverText);

} // namespace TimeServers
