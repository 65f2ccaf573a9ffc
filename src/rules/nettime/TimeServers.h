#pragma once

#include <QList>
#include <QString>
#include <QStringList>

struct SettingsInForce;
class SettingsStore;

// The time servers offered in the configuration dialog, the rule that turns a chosen entry
// into a host name, and what the dialog's OK stores.
namespace TimeServers {

// One entry of the list. `site` says who runs the host, as the help writes it in brackets after
// the host; a run of hosts of one country with the same site shares one bracket.
struct Server {
    QString country;
    QString host;
    QString site;
    // The entry whose host is the "HostName" setting's default; the help says so.
    bool isDefault = false;
};

// The 14 entries in the order the dialog lists them (not sorted); countries stay together.
QList<Server> servers();
// The same entries as the dialog shows them, "Country: host".
QStringList list();

// Drops the country of a list entry ("UK: host" becomes "host"), in English or as the dialog
// shows it translated. Anything else is kept as typed: a colon there is no prefix.
QString StripCountryPrefix(const QString& text);

// Why the time client cannot use `host`, for the date line; empty when it can.
QString hostProblem(const QString& host);

// The dialog's OK: takes the window title and the server text as they are (nothing is
// checked; an empty one turns the automatic check off), puts them in force and stores them.
void applyConfiguration(SettingsInForce& settings, const SettingsStore& store,
                        const QString& windowTitle, const QString& serverText);

} // namespace TimeServers
