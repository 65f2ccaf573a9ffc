#include "rules/nettime/TimeServers.h"

#include "rules/settings/SettingsInForce.h"
#include "rules/settings/SettingsTable.h"

namespace TimeServers {

namespace {

// Only two operators still document the Time Protocol (TCP port 37): NIST's Internet Time
// Service in the USA and PTB in Braunschweig, Germany. Every other national service found
// offers NTP only, and its hosts would never answer. So each country keeps its place in the
// list but is served by the nearest operator that answers: Europe by PTB's two servers (taken
// in turn), Australia and Japan by NIST's western sites across the Pacific. The USA entries
// are NIST's round-robin name and one server at each of its sites, Gaithersburg, Fort
// Collins, Boulder and the University of Colorado, as NIST publishes them. "UK: " is the
// default server and must stay one that answers (see the "HostName" setting).
struct Entry {
    const char* country;
    const char* host;
};
constexpr Entry kServers[] = {
    {"Australia", "time-b-wwv.nist.gov"},
    {"France", "ptbtime1.ptb.de"},
    {"France", "ptbtime2.ptb.de"},
    {"Germany", "ptbtime1.ptb.de"},
    {"Ireland", "ptbtime2.ptb.de"},
    {"Japan", "time-b-b.nist.gov"},
    {"UK", "ptbtime1.ptb.de"},
    {"USA", "time.nist.gov"},
    {"USA", "time-a-g.nist.gov"},
    {"USA", "time-a-wwv.nist.gov"},
    {"USA", "time-a-b.nist.gov"},
    {"USA", "utcnist.colorado.edu"},
    {"Sweden", "ptbtime2.ptb.de"},
    {"Switzerland", "ptbtime1.ptb.de"},
};

} // namespace

QStringList list()
{
    QStringList entries;
    for (const Entry& e : kServers)
        entries << QLatin1String(e.country) + QLatin1String(": ") + QLatin1String(e.host);
    return entries;
}

QString StripCountryPrefix(const QString& text)
{
    const qsizetype colon = text.indexOf(QLatin1Char(':'));
    if (colon < 0)
        return text;
    // The colon and one character after it go, whatever that character is; a character
    // outside the BMP is two code units, and half of one would be no character at all.
    qsizetype start = colon + 2;
    if (start < text.size() && text.at(start - 1).isHighSurrogate() &&
        text.at(start).isLowSurrogate())
        ++start;
    return text.mid(start);
}

void applyConfiguration(SettingsInForce& settings, const SettingsStore& store,
                        const QString& windowTitle, const QString& serverText)
{
    settings.InternetWindowTitle = windowTitle;
    Settings::write(store, Settings::InternetWin, settings.InternetWindowTitle);
    settings.TimeServerHost = StripCountryPrefix(serverText);
    Settings::write(store, Settings::HostName, settings.TimeServerHost);
}

} // namespace TimeServers
