#include "windows/ui/HelpPages.h"

#include <QFile>
#include <QRegularExpression>

namespace {

// The pages are HTML files under resources/help, compiled in with the list of them.
QString readHelpFile(const QString& name)
{
    QFile file(QStringLiteral(":/help/") + name);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// A page may take in a piece the pages share: <!--#include file="shared/x.html" -->.
QString expand(const QString& html)
{
    static const QRegularExpression directive(
        QStringLiteral(R"re(<!--#include file="([^"]*)" -->\n?)re"));
    QString result;
    qsizetype done = 0;
    for (auto it = directive.globalMatch(html); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        result += html.mid(done, m.capturedStart() - done);
        result += readHelpFile(m.captured(1));
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
