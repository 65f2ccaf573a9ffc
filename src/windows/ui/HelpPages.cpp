#include "windows/ui/HelpPages.h"

#include "rules/nettime/TimeServers.h"

#include <QFile>
#include <QRegularExpression>

namespace {

// The pages are HTML files under resources/help, compiled in with the list of them.
QString readHelpFile(const QString& name)
{
    QFile file(QStringLiteral(":/help/") + name);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// The rows of the time server table: one a country, its hosts in the dialog's order, each with
// who runs it in brackets unless the next host shares that; the default server's row gets
// `defaultRemark`.
QString timeServerRows(const QString& defaultRemark)
{
    const QList<TimeServers::Server> servers = TimeServers::servers();
    QString rows;
    bool hasDefault = false;
    for (qsizetype i = 0; i < servers.size(); ++i) {
        const TimeServers::Server& server = servers.at(i);
        const bool startsRow = i == 0 || servers.at(i - 1).country != server.country;
        const bool endsRow = i + 1 == servers.size() || servers.at(i + 1).country != server.country;
        if (startsRow) {
            rows += QStringLiteral("<tr><td valign=\"top\" width=\"32%\"><b>") +
                    server.country.toHtmlEscaped() + QStringLiteral("</b></td><td>");
            hasDefault = false;
        } else {
            rows += endsRow ? QStringLiteral(" and ") : QStringLiteral(", ");
        }
        rows += server.host.toHtmlEscaped();
        if (endsRow || servers.at(i + 1).site != server.site)
            rows += QStringLiteral(" (") + server.site.toHtmlEscaped() + QLatin1Char(')');
        hasDefault = hasDefault || server.isDefault;
        if (endsRow)
            rows += (hasDefault ? defaultRemark : QString()) + QStringLiteral("</td></tr>\n");
    }
    return rows;
}

// A page may take in a piece the pages share, <!--#include file="shared/x.html" -->, and the
// table of time servers, <!--#timeservers default="remark" -->, which is kept with the list
// the dialog offers rather than copied here.
QString expand(const QString& html)
{
    static const QRegularExpression directive(
        QStringLiteral(R"re(<!--#(include file|timeservers default)="([^"]*)" -->\n?)re"));
    QString result;
    qsizetype done = 0;
    for (auto it = directive.globalMatch(html); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        result += html.mid(done, m.capturedStart() - done);
        result += m.captured(1) == QLatin1String("include file") ? readHelpFile(m.captured(2))
                                                                 : timeServerRows(m.captured(2));
        done = m.capturedEnd();
    }
    return result + html.mid(done);
}

// pages.txt names the pages in the order the help window lists them, one a line: the topic
// identifier, a blank, the title. The identifier's page is <identifier>.html.
QList<HelpPages::Page> readPages()
{
    QList<HelpPages::Page> pages;
    const QStringList lines = readHelpFile(QStringLiteral("pages.txt")).split(QLatin1Char('\n'));
    for (const QString& line : lines) {
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const QString id = line.section(QLatin1Char(' '), 0, 0);
        pages.append({id, line.section(QLatin1Char(' '), 1),
                      expand(readHelpFile(id + QStringLiteral(".html")))});
    }
    return pages;
}

} // namespace

const QList<HelpPages::Page>& HelpPages::all()
{
    static const QList<Page> pages = readPages();
    return pages;
}

const HelpPages::Page* HelpPages::find(const QString& id)
{
    for (const Page& page : all()) {
        if (page.id == id)
            return &page;
    }
    return nullptr;
}

QStringList HelpPages::ids()
{
    QStringList result;
    for (const Page& page : all())
        result.append(page.id);
    return result;
}

QStringList HelpPages::linksOf(const QString& html)
{
    static const QRegularExpression href(QStringLiteral(R"re(href\s*=\s*"([^"]*)")re"),
                                         QRegularExpression::CaseInsensitiveOption);
    QStringList result;
    auto it = href.globalMatch(html);
    while (it.hasNext())
        result.append(it.next().captured(1));
    return result;
}
