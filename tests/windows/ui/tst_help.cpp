#include "windows/ui/HelpPages.h"
#include "windows/ui/HelpSystem.h"
#include "windows/ui/HelpWindow.h"

#include <QDialog>
#include <QHash>
#include <QLabel>
#include <QListWidget>
#include <QSet>
#include <QTest>
#include <QTextBrowser>
#include <QTextDocumentFragment>

class TestHelp : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { HelpSystem::closeWindow(); }

    void windowsTopicHasPage_data();
    void windowsTopicHasPage();
    void languages_data();
    void linksResolve_data() { languages_data(); }
    void linksResolve();
    void everyPageReachableFromContents_data() { languages_data(); }
    void everyPageReachableFromContents();
    void translatedPages_data();
    void translatedPages();
    void languageChosen_data();
    void languageChosen();
    void searchFindsTranslatedWords();
    void unknownTopicShowsContents();
    void oneWindowReused();
    void historyBackAndForward();
    void linkClickNavigates();
    void searchFilters_data();
    void searchFilters();
    void usableFromModalDialog();
    void pageIsDrawn();
};

void TestHelp::windowsTopicHasPage_data()
{
    QTest::addColumn<QString>("id");
    // Every identifier a window of the program asks for.
    for (const char* id : {"settings_Disp", "settings_Moni", "settings_Soun", "settings_Task",
                           "settings_Prio", "settings_Time", "Report", "QRemind", "Scheduler",
                           "Add_Rem", "Add_Run", "Mod_Rem", "Mod_Run", "autoupdate", "contents"})
        QTest::newRow(id) << QString::fromLatin1(id);
}

void TestHelp::windowsTopicHasPage()
{
    QFETCH(QString, id);
    QVERIFY(HelpSystem::topicIds().contains(id));
    const HelpPages::Page* page = HelpPages::find(id);
    QVERIFY(page);
    QVERIFY(!page->title.trimmed().isEmpty());
    // A real page, not a placeholder.
    QVERIFY2(QTextDocumentFragment::fromHtml(page->html).toPlainText().size() > 200,
             qPrintable(id));
}

void TestHelp::languages_data()
{
    QTest::addColumn<QString>("language");
    for (const char* language : {"en", "de", "fr"})
        QTest::newRow(language) << QString::fromLatin1(language);
}

void TestHelp::linksResolve()
{
    QFETCH(QString, language);
    const QList<HelpPages::Page>& pages = HelpPages::pagesIn(language);
    QSet<QString> ids;
    for (const HelpPages::Page& page : pages) {
        QVERIFY2(!ids.contains(page.id), qPrintable(QStringLiteral("duplicate page ") + page.id));
        ids.insert(page.id);
    }
    for (const HelpPages::Page& page : pages) {
        const QStringList links = HelpPages::linksOf(page.html);
        for (const QString& link : links)
            QVERIFY2(ids.contains(link),
                     qPrintable(page.id + QStringLiteral(" links to unknown ") + link));
        // Catches an href the link pattern did not see (single quotes, a typo in the tag).
        QCOMPARE(page.html.count(QStringLiteral("<a "), Qt::CaseInsensitive), links.size());
        // A shared piece or the server table left out by a mistyped directive.
        QVERIFY2(!page.html.contains(QStringLiteral("<!--#")), qPrintable(page.id));
    }
}

// A page nobody links to could only be found by searching.
void TestHelp::everyPageReachableFromContents()
{
    QFETCH(QString, language);
    QHash<QString, QString> htmlOf;
    for (const HelpPages::Page& page : HelpPages::pagesIn(language))
        htmlOf.insert(page.id, page.html);
    QSet<QString> seen{HelpPages::contentsId()};
    QStringList queue{HelpPages::contentsId()};
    while (!queue.isEmpty()) {
        // A broken link reads as an empty page here: linksResolve reports it.
        for (const QString& link : HelpPages::linksOf(htmlOf.value(queue.takeFirst()))) {
            if (!seen.contains(link)) {
                seen.insert(link);
                queue.append(link);
            }
        }
    }
    for (const QString& id : HelpPages::ids())
        QVERIFY2(seen.contains(id),
                 qPrintable(id + QStringLiteral(" cannot be reached from the contents")));
}

void TestHelp::translatedPages_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("contentsTitle");
    QTest::addColumn<QString>("sharedPiece"); // from the language's shared/, in Add_Rem
    QTest::addColumn<QString>("serverRow");   // the table's row for France
    QTest::newRow("de") << "de"
                        << "Inhalt"
                        << "Was: eine Erinnerung"
                        << "<b>Frankreich</b></td><td>ptbtime1.ptb.de und ptbtime2.ptb.de (PTB)";
    QTest::newRow("fr") << "fr"
                        << "Sommaire"
                        << "Quoi : un rappel"
                        << "<b>France</b></td><td>ptbtime1.ptb.de et ptbtime2.ptb.de (PTB)";
}

// Every topic has its own page in the language, not the English one standing in.
void TestHelp::translatedPages()
{
    QFETCH(QString, language);
    QFETCH(QString, contentsTitle);
    QFETCH(QString, sharedPiece);
    QFETCH(QString, serverRow);
    const QList<HelpPages::Page>& english = HelpPages::pagesIn(QStringLiteral("en"));
    const QList<HelpPages::Page>& translated = HelpPages::pagesIn(language);
    QCOMPARE(translated.size(), english.size());
    for (qsizetype i = 0; i < english.size(); ++i) {
        const HelpPages::Page& page = translated.at(i);
        QCOMPARE(page.id, english.at(i).id);
        QCOMPARE(page.language, language);
        QVERIFY2(page.title != english.at(i).title, qPrintable(page.id));
        QVERIFY2(page.html != english.at(i).html, qPrintable(page.id));
    }
    QCOMPARE(translated.first().title, contentsTitle);
    QVERIFY(translated.at(HelpPages::ids().indexOf(QStringLiteral("Add_Rem")))
                .html.contains(sharedPiece));
    QVERIFY(translated.at(HelpPages::ids().indexOf(QStringLiteral("autoupdate")))
                .html.contains(serverRow));
}

void TestHelp::languageChosen_data()
{
    QTest::addColumn<QStringList>("uiLanguages");
    QTest::addColumn<QString>("expected");
    QTest::newRow("region finds the language") << QStringList{"de-AT"} << "de";
    QTest::newRow("underscore form") << QStringList{"fr_CA"} << "fr";
    QTest::newRow("first with pages wins") << QStringList{"it-IT", "fr", "de"} << "fr";
    QTest::newRow("English listed first") << QStringList{"en-US", "de-DE"} << "en";
    QTest::newRow("none has pages") << QStringList{"C", "it"} << "en";
    QTest::newRow("empty") << QStringList{} << "en";
}

void TestHelp::languageChosen()
{
    QFETCH(QStringList, uiLanguages);
    QFETCH(QString, expected);
    QCOMPARE(HelpPages::languageFor(uiLanguages), expected);
}

// The window of a German desktop lists German titles and searches the German text.
void TestHelp::searchFindsTranslatedWords()
{
    const QLocale before;
    QLocale::setDefault(QLocale(QStringLiteral("de_DE")));
    HelpWindow window;
    QLocale::setDefault(before);
    QCOMPARE(window.findChild<QListWidget*>()->item(0)->text(), QStringLiteral("Inhalt"));
    window.setSearchText(QStringLiteral("zeitserver Einwahlverbindung"));
    QCOMPARE(window.listedTopics(), QStringList{QStringLiteral("autoupdate")});
}

void TestHelp::unknownTopicShowsContents()
{
    QVERIFY(HelpSystem::showTopic(QStringLiteral("Scheduler")));
    HelpWindow* window = HelpSystem::window();
    QVERIFY(window);
    QVERIFY(window->isVisible());
    QCOMPARE(window->windowTitle(), QStringLiteral("Horolux Help"));
    QCOMPARE(window->currentTopic(), QStringLiteral("Scheduler"));

    QVERIFY(!HelpSystem::showTopic(QStringLiteral("NoSuchTopic")));
    QCOMPARE(window->currentTopic(), HelpPages::contentsId());
    // Identifiers are exact.
    QVERIFY(!HelpSystem::showTopic(QStringLiteral("scheduler")));
    QVERIFY(!HelpSystem::showTopic(QString()));
}

void TestHelp::oneWindowReused()
{
    HelpSystem::showFinder();
    HelpWindow* first = HelpSystem::window();
    QCOMPARE(first->currentTopic(), HelpPages::contentsId());
    first->close();
    HelpSystem::showTopic(QStringLiteral("Report"));
    QCOMPARE(HelpSystem::window(), first);
    QVERIFY(first->isVisible());
    QCOMPARE(first->currentTopic(), QStringLiteral("Report"));
}

void TestHelp::historyBackAndForward()
{
    HelpWindow window;
    QVERIFY(!window.canGoBack());
    window.showTopic(QStringLiteral("QRemind"));
    window.showTopic(QStringLiteral("Scheduler"));
    window.showTopic(QStringLiteral("Scheduler")); // the same page again adds no step
    window.back();
    QCOMPARE(window.currentTopic(), QStringLiteral("QRemind"));
    window.back();
    QCOMPARE(window.currentTopic(), HelpPages::contentsId());
    QVERIFY(!window.canGoBack());
    window.back(); // at the start: stays
    QCOMPARE(window.currentTopic(), HelpPages::contentsId());
    window.forward();
    QCOMPARE(window.currentTopic(), QStringLiteral("QRemind"));
    QVERIFY(window.canGoForward());
    // A new page from the middle of the history drops what lay ahead.
    window.showTopic(QStringLiteral("Report"));
    QVERIFY(!window.canGoForward());
    window.back();
    QCOMPARE(window.currentTopic(), QStringLiteral("QRemind"));
    window.home();
    QCOMPARE(window.currentTopic(), HelpPages::contentsId());
}

void TestHelp::linkClickNavigates()
{
    HelpWindow window;
    auto* browser = window.findChild<QTextBrowser*>();
    QVERIFY(browser);
    emit browser->anchorClicked(QUrl(QStringLiteral("autoupdate")));
    QCOMPARE(window.currentTopic(), QStringLiteral("autoupdate"));
    QVERIFY(browser->toPlainText().contains(QStringLiteral("Automatic Time Update")));
    // Outside addresses are not followed from the help.
    emit browser->anchorClicked(QUrl(QStringLiteral("https://example.org/")));
    QCOMPARE(window.currentTopic(), QStringLiteral("autoupdate"));
}

void TestHelp::searchFilters_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("mustList");
    QTest::addColumn<int>("maxListed"); // -1: no limit

    QTest::newRow("empty lists all") << QString() << HelpPages::ids() << -1;
    QTest::newRow("one word") << "swapping" << QStringList{QStringLiteral("Report")} << -1;
    QTest::newRow("case ignored") << "cap_sys_time" << QStringList{QStringLiteral("files")} << -1;
    QTest::newRow("all words must occur")
        << "tray indefinite"
        << QStringList{QStringLiteral("settings_Task"), QStringLiteral("moving")} << -1;
    QTest::newRow("no match") << "xylophone" << QStringList{} << 0;
    // Markup is not text: nothing should match a tag or attribute name.
    QTest::newRow("markup ignored") << "cellpadding" << QStringList{} << 0;
}

void TestHelp::searchFilters()
{
    QFETCH(QString, text);
    QFETCH(QStringList, mustList);
    QFETCH(int, maxListed);
    HelpWindow window;
    window.setSearchText(text);
    const QStringList listed = window.listedTopics();
    for (const QString& id : mustList)
        QVERIFY2(listed.contains(id), qPrintable(id));
    if (maxListed >= 0)
        QVERIFY(listed.size() <= maxListed);
    window.setSearchText(QString());
    QCOMPARE(window.listedTopics(), HelpPages::ids());
}

// A Help button inside a modal dialog must give a window the user can read while the dialog
// is still open, and the help must outlive the dialog.
void TestHelp::usableFromModalDialog()
{
    HelpSystem::showFinder();
    HelpWindow* window = HelpSystem::window();
    QVERIFY(!window->attachedTo());
    {
        QDialog dialog;
        dialog.setModal(true);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QCOMPARE(QApplication::activeModalWidget(), &dialog);
        QVERIFY(HelpSystem::showTopic(QStringLiteral("settings_Time")));
        QCOMPARE(window->attachedTo(), &dialog);
        QCOMPARE(window->parentWidget(), &dialog);
        QVERIFY(window->isWindow());
        QVERIFY(window->isVisible());
        dialog.hide();
        QCOMPARE(window->parentWidget(), nullptr);
        QVERIFY(window->isVisible());
    }
    QCOMPARE(HelpSystem::window(), window);
    QCOMPARE(window->currentTopic(), QStringLiteral("settings_Time"));
}

namespace {

// How many pixels stand out from the commonest colour, the page's background, by more than a
// faint tint would.
int inkPixels(const QImage& shot)
{
    QHash<QRgb, int> counts;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x)
            ++counts[shot.pixel(x, y)];
    QRgb background = 0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        if (it.value() > counts.value(background))
            background = it.key();
    int ink = 0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        if (qAbs(qGray(it.key()) - qGray(background)) > 96)
            ink += it.value();
    return ink;
}

} // namespace

// The page is drawn where the user reads it, in colours that stand apart, and another topic
// draws another picture.
void TestHelp::pageIsDrawn()
{
    QVERIFY(HelpSystem::showTopic(QStringLiteral("Scheduler")));
    HelpWindow* window = HelpSystem::window();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    QWidget* page = window->findChild<QTextBrowser*>()->viewport();
    const QImage scheduler = page->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QVERIFY2(inkPixels(scheduler) > 1000, qPrintable(QString::number(inkPixels(scheduler))));
    QVERIFY(HelpSystem::showTopic(QStringLiteral("Report")));
    const QImage report = page->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QVERIFY(inkPixels(report) > 1000);
    QVERIFY(report != scheduler);
}

QTEST_MAIN(TestHelp)
#include "tst_help.moc"
