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
    const QString prefix = text.left(colon).trimmed();
    bool known = false;
    for (const Entry& e : kServers) {
        const QString english = QString::fromUtf8(e.country);
        known = known || prefix.compare(english, Qt::CaseInsensitive) == 0 ||
                prefix.compare(QCoreApplication::translate("TimeServers", e.country),
                               Qt::CaseInsensitive) == 0;
    }
    // Not a country: an IPv6 address or a port, which must not turn into another host.
    if (!known)
        return text;
    qsizetype start = colon + 1;
    while (start < text.size() && text.at(start).isSpace())
        ++start;
    return text.mid(start);
}

QString hostProblem(const QString& host)
{
    const qsizetype colons = host.count(QLatin1Char(':'));
    // The socket layer speaks IPv4 only.
    if (colons > 1 || host.startsWith(QLatin1Char('[')))
        return QCoreApplication::translate("TimeServers", "IPv6 not supported, use IPv4");
    if (colons == 1)
        return QCoreApplication::translate("TimeServers", "Host name must not contain ':'");
    return QString();
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
