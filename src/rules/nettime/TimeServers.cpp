#include "rules/nettime/TimeServers.h"

#include "rules/settings/SettingsInForce.h"
#include "rules/settings/SettingsTable.h"

#include <QCoreApplication>

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
// This is the one list: the dialog offers it, the help's table is made from it.
struct Entry {
    const char* country;
    const char* host;
    const char* site;
    bool isDefault = false;
};
constexpr Entry kServers[] = {
    {QT_TRANSLATE_NOOP("TimeServers", "Australia"), "time-b-wwv.nist.gov", "NIST, Fort Collins"},
    {QT_TRANSLATE_NOOP("TimeServers", "France"), "ptbtime1.ptb.de", "PTB"},
    {QT_TRANSLATE_NOOP("TimeServers", "France"), "ptbtime2.ptb.de", "PTB"},
    {QT_TRANSLATE_NOOP("TimeServers", "Germany"), "ptbtime1.ptb.de", "PTB"},
    {QT_TRANSLATE_NOOP("TimeServers", "Ireland"), "ptbtime2.ptb.de", "PTB"},
    {QT_TRANSLATE_NOOP("TimeServers", "Japan"), "time-b-b.nist.gov", "NIST, Boulder"},
    {QT_TRANSLATE_NOOP("TimeServers", "UK"), "ptbtime1.ptb.de", "PTB", true},
    {QT_TRANSLATE_NOOP("TimeServers", "USA"), "time.nist.gov", "all of NIST's servers in turn"},
    {QT_TRANSLATE_NOOP("TimeServers", "USA"), "time-a-g.nist.gov", "Gaithersburg"},
    {QT_TRANSLATE_NOOP("TimeServers", "USA"), "time-a-wwv.nist.gov", "Fort Collins"},
    {QT_TRANSLATE_NOOP("TimeServers", "USA"), "time-a-b.nist.gov", "Boulder"},
    {QT_TRANSLATE_NOOP("TimeServers", "USA"), "utcnist.colorado.edu",
     "University of Colorado, Boulder"},
    {QT_TRANSLATE_NOOP("TimeServers", "Sweden"), "ptbtime2.ptb.de", "PTB"},
    {QT_TRANSLATE_NOOP("TimeServers", "Switzerland"), "ptbtime1.ptb.de", "PTB"},
};

} // namespace

QList<Server> servers()
{
    QList<Server> result;
    for (const Entry& e : kServers)
        result.append({QString::fromUtf8(e.country), QString::fromUtf8(e.host),
                       QString::fromUtf8(e.site), e.isDefault});
    return result;
}

QStringList list()
{
    QStringList entries;
    for (const Server& s : servers())
        // The country is only shown: the prefix is stripped before the host is stored.
        entries << QCoreApplication::translate("TimeServers", s.country.toUtf8().constData()) +
                       QLatin1String(": ") + s.host;
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
