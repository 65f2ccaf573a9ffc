#include "windows/ui/HelpPages.h"

#include "rules/nettime/TimeServers.h"

#include <QFile>
#include <QHash>
#include <QLocale>
#include <QRegularExpression>

#include <map>
#include <utility>

namespace {

// The pages are HTML files under resources/help, compiled in with the list of them.
QString readHelpFile(const QString& name)
{
    QFile file(QStringLiteral(":/help/") + name);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// Where a language's files are, relative to resources/help: English at the top.
QString folderOf(const QString& language)
{
    return language == QLatin1String("en") ? QString() : language + QLatin1Char('/');
}

// The file in the language's folder, or the English one when the translation lacks it.
QString readTranslated(const QString& language, const QString& name)
{
    const QString translated = folderOf(language) + name;
    return readHelpFile(QFile::exists(QStringLiteral(":/help/") + translated) ? translated : name);
}

// A directive's attributes, name="value" each.
QHash<QString, QString> attributesOf(const QString& text)
{
    static const QRegularExpression attribute(QStringLiteral(R"re((\w+)="([^"]*)")re"));
    QHash<QString, QString> result;
    for (auto it = attribute.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        result.insert(m.captured(1), m.captured(2));
    }
    return result;
}

// The rows of the time server table: one a country, its hosts in the dialog's order, each with
// who runs it in brackets unless the next host shares that; the default server's row gets
// `defaultRemark`. A translated page gives its own word for the last joint ("and") and its
// names for the countries and operators ("Germany=Deutschland|UK=...").
QString timeServerRows(const QHash<QString, QString>& attributes)
{
    const QString defaultRemark = attributes.value(QStringLiteral("default"));
    const QString lastJoint = attributes.value(QStringLiteral("and"), QStringLiteral("and"));
    QHash<QString, QString> names;
    const QStringList pairs =
        attributes.value(QStringLiteral("names")).split(QLatin1Char('|'), Qt::SkipEmptyParts);
    for (const QString& pair : pairs)
        names.insert(pair.section(QLatin1Char('='), 0, 0).trimmed(),
                     pair.section(QLatin1Char('='), 1).trimmed());
    const auto name = [&names](const QString& english) {
        return names.value(english, english).toHtmlEscaped();
    };

    const QList<TimeServers::Server> servers = TimeServers::servers();
    QString rows;
    bool hasDefault = false;
    for (qsizetype i = 0; i < servers.size(); ++i) {
        const TimeServers::Server& server = servers.at(i);
        const bool startsRow = i == 0 || servers.at(i - 1).country != server.country;
        const bool endsRow = i + 1 == servers.size() || servers.at(i + 1).country != server.country;
        if (startsRow) {
            rows += QStringLiteral("<tr><td valign=\"top\" width=\"32%\"><b>") +
                    name(server.country) + QStringLiteral("</b></td><td>");
            hasDefault = false;
        } else {
            rows +=
                endsRow ? QLatin1Char(' ') + lastJoint + QLatin1Char(' ') : QStringLiteral(", ");
        }
        rows += server.host.toHtmlEscaped();
        if (endsRow || servers.at(i + 1).site != server.site)
            rows += QStringLiteral(" (") + name(server.site) + QLatin1Char(')');
        hasDefault = hasDefault || server.isDefault;
        if (endsRow)
            rows += (hasDefault ? defaultRemark : QString()) + QStringLiteral("</td></tr>\n");
    }
    return rows;
}

// A page may take in a piece the pages share, <!--#include file="shared/x.html" -->, in its own
// language where that has one, and the table of time servers,
// <!--#timeservers default="remark" -->, which is kept with the list the dialog offers rather
// than copied here.
QString expand(const QString& html, const QString& language)
{
    static const QRegularExpression directive(
        QStringLiteral(R"re(<!--#(include|timeservers)((?:\s+\w+="[^"]*")+)\s*-->\n?)re"));
    QString result;
    qsizetype done = 0;
    for (auto it = directive.globalMatch(html); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        const QHash<QString, QString> attributes = attributesOf(m.captured(2));
        result += html.mid(done, m.capturedStart() - done);
        result += m.captured(1) == QLatin1String("include")
                      ? readTranslated(language, attributes.value(QStringLiteral("file")))
                      : timeServerRows(attributes);
        done = m.capturedEnd();
    }
    return result + html.mid(done);
}

// pages.txt names the pages in the order the help window lists them, one a line: the topic
// identifier, a blank, the title. The identifier's page is <identifier>.html.
QList<std::pair<QString, QString>> readPageList(const QString& name)
{
    QList<std::pair<QString, QString>> result;
    const QStringList lines = readHelpFile(name).split(QLatin1Char('\n'));
    for (const QString& line : lines) {
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        result.append({line.section(QLatin1Char(' '), 0, 0), line.section(QLatin1Char(' '), 1)});
    }
    return result;
}

// The English list decides which pages there are and their order; a translation's list only
// gives titles.
QList<HelpPages::Page> readPages(const QString& language)
{
    const QString folder = folderOf(language);
    QHash<QString, QString> titles;
    if (!folder.isEmpty()) {
        for (const auto& [id, title] : readPageList(folder + QStringLiteral("pages.txt")))
            titles.insert(id, title);
    }
    QList<HelpPages::Page> pages;
    for (const auto& [id, englishTitle] : readPageList(QStringLiteral("pages.txt"))) {
        const QString file = id + QStringLiteral(".html");
        // An English page takes in the English pieces, even in a translation's list.
        const QString pageLanguage = QFile::exists(QStringLiteral(":/help/") + folder + file)
                                         ? language
                                         : QStringLiteral("en");
        pages.append({id, titles.value(id, englishTitle),
                      expand(readHelpFile(folderOf(pageLanguage) + file), pageLanguage)});
    }
    return pages;
}

} // namespace

const QList<HelpPages::Page>& HelpPages::all()
{
    // Asked each time, so that a new default locale (QLocale::setDefault) is followed.
    return pagesIn(languageFor(QLocale().uiLanguages()));
}

const QList<HelpPages::Page>& HelpPages::pagesIn(const QString& language)
{
    // Read once per language and never dropped; a map's entries stay where they are, so the
    // lists and pages handed out stay valid when another language is read.
    static std::map<QString, QList<Page>> cache;
    auto it = cache.find(language);
    if (it == cache.end())
        it = cache.emplace(language, readPages(language)).first;
    return it->second;
}

QString HelpPages::languageFor(const QStringList& uiLanguages)
{
    for (const QString& name : uiLanguages) {
        // "de-AT" (or "de_AT"): a folder for the region first, then the language's own.
        const QString tag = QString(name).replace(QLatin1Char('-'), QLatin1Char('_'));
        for (const QString& language : {tag, tag.section(QLatin1Char('_'), 0, 0)}) {
            if (language == QLatin1String("en"))
                return language;
            if (!language.isEmpty() &&
                QFile::exists(QStringLiteral(":/help/") + language + QStringLiteral("/pages.txt")))
                return language;
        }
    }
    return QStringLiteral("en");
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
