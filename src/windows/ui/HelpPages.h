#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The pages of the built-in help: HTML files under resources/help, compiled into the program as
// Qt resources. Each page has a topic identifier (the windows ask for these), a title and an
// HTML body; pages link to each other with href="<identifier>". Translations live in a folder
// per language (resources/help/de/...) and stand in for the English page by page.
class HelpPages {
public:
    struct Page {
        QString id;
        QString title;
        QString html;
    };

    // The page that lists all the others.
    static QString contentsId() { return QStringLiteral("contents"); }
    // Every page in the user's language (QLocale().uiLanguages()), in the order the help
    // window lists them (contents first).
    static const QList<Page>& all();
    // The pages in `language`, each one missing there (or its title) taken from the English.
    static const QList<Page>& pagesIn(const QString& language);
    // The first of these languages ("de-AT", "fr") the help has pages in, else "en". A
    // language with a region finds the pages of the language alone.
    static QString languageFor(const QStringList& uiLanguages);
    // The page with this identifier (exact, case-sensitive), or nullptr.
    static const Page* find(const QString& id);
    static QStringList ids();
    // The identifiers a body links to, in order of appearance.
    static QStringList linksOf(const QString& html);
};
