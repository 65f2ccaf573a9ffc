#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The pages of the built-in help: HTML files under resources/help, compiled into the program as
// Qt resources. Each page has a topic identifier (the windows ask for these), a title and an
// HTML body; pages link to each other with href="<identifier>".
class HelpPages {
public:
    struct Page {
        QString id;
        QString title;
        QString html;
    };

    // The page that lists all the others.
    static QString contentsId() { return QStringLiteral("contents"); }
    // Every page, in the order the help window lists them (contents first).
    static const QList<Page>& all();
    // The page with this identifier (exact, case-sensitive), or nullptr.
    static const Page* find(const QString& id);
    static QStringList ids();
    // The identifiers a body links to, in order of appearance.
    static QStringList linksOf(const QString& html);
};
