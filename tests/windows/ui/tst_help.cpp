#include "windows/ui/HelpPages.h"
#include "windows/ui/HelpSystem.h"
#include "windows/ui/HelpWindow.h"

#include <QDialog>
#include <QHash>
#include <QLabel>
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
    void linksResolve();
    void everyPageReachableFromContents();
    void translatedPages_data();
    void translatedPages();
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

void TestHelp::linksResolve()
{
    QSet<QString> ids;
    for (const HelpPages::Page& page : HelpPages::all()) {
        QVERIFY2(!ids.contains(page.id), qPrintable("duplicate page " + page.id));
        ids.insert(page.id);
    }
    for (const HelpPages::Page& page : HelpPages::all()) {
        const QStringList links = HelpPages::linksOf(page.html);
        for (const QString& link : links)
            QVERIFY2(ids.contains(link), qPrintable(page.id + " links to unknown " + link));
        // Catches an href the link pattern did not see (single quotes, a typo in the tag).
        QCOMPARE(page.html.count("<a ", Qt::CaseInsensitive), links.size());
        // A shared piece or the server table left out by a mistyped directive.
        QVERIFY2(!page.html.contains("<!--#"), qPrintable(page.id));
    }
}

// A page nobody links to could only be found by searching.
void TestHelp::everyPageReachableFromContents()
{
    QSet<QString> seen{HelpPages::contentsId()};
    QStringList queue{HelpPages::contentsId()};
    while (!queue.isEmpty()) {
        const HelpPages::Page* page = HelpPages::find(queue.takeFirst());
        if (!page)
            continue; // a broken link is linksResolve's to report
        for (const QString& link : HelpPages::linksOf(page->html)) {
            if (!seen.contains(link)) {
                seen.insert(link);
                queue.append(link);
            }
        }
    }
    for (const QString& id : HelpPages::ids())
        QVERIFY2(seen.contains(id), qPrintable(id + " cannot be reached from the contents"));
}

void TestHelp::translatedPages_data()
{
    // The row's name is a desktop's locale; expected: a line of a shared piece in Add_Rem,
    // France's server row and a word only autoupdate has.
    QTest::addColumn<QString>("language");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("de_AT") << "de"
                           << QStringList{"Was: eine Erinnerung",
                                          "Frankreich</b></td><td>ptbtime1.ptb.de und",
                                          "Einwahlverbindung"};
    QTest::newRow("fr_CA") << "fr"
                           << QStringList{"la touche Entrée",
                                          "France</b></td><td>ptbtime1.ptb.de et", "modem"};
}

// Every topic has a page and title of its own in the language, not the English standing in,
// with the English page's links (which linksResolve checks) and its pieces in the language.
void TestHelp::translatedPages()
{
    QFETCH(QString, language);
    QFETCH(QStringList, expected);
    const QList<HelpPages::Page>& pages = HelpPages::pagesIn(language);
    const QList<HelpPages::Page>& english = HelpPages::pagesIn("en");
    QCOMPARE(pages.size(), english.size());
    for (qsizetype i = 0; i < pages.size(); ++i) {
        QVERIFY2(pages.at(i).html != english.at(i).html && pages.at(i).title != english.at(i).title,
                 qPrintable(pages.at(i).id));
        QCOMPARE(HelpPages::linksOf(pages.at(i).html), HelpPages::linksOf(english.at(i).html));
        QVERIFY2(!pages.at(i).html.contains("<!--#"), qPrintable(pages.at(i).id));
    }
    QVERIFY(pages.at(HelpPages::ids().indexOf("Add_Rem")).html.contains(expected.at(0)));
    QVERIFY(pages.at(HelpPages::ids().indexOf("autoupdate")).html.contains(expected.at(1)));

    // The window of a desktop in that locale searches these pages.
    const QLocale before;
    QLocale::setDefault(QLocale(QString::fromLatin1(QTest::currentDataTag())));
    HelpWindow window;
    QLocale::setDefault(before);
    window.setSearchText(expected.at(2));
    QCOMPARE(window.listedTopics(), QStringList{"autoupdate"});
}

void TestHelp::unknownTopicShowsContents()
{
    QVERIFY(HelpSystem::showTopic("Scheduler"));
    HelpWindow* window = HelpSystem::window();
    QVERIFY(window);
    QVERIFY(window->isVisible());
    QCOMPARE(window->windowTitle(), "Horolux Help");
    QCOMPARE(window->currentTopic(), "Scheduler");

    QVERIFY(!HelpSystem::showTopic("NoSuchTopic"));
    QCOMPARE(window->currentTopic(), HelpPages::contentsId());
    // Identifiers are exact.
    QVERIFY(!HelpSystem::showTopic("scheduler"));
    QVERIFY(!HelpSystem::showTopic(QString()));
}

void TestHelp::oneWindowReused()
{
    HelpSystem::showFinder();
    HelpWindow* first = HelpSystem::window();
    QCOMPARE(first->currentTopic(), HelpPages::contentsId());
    first->setSearchText("xylophone");
    first->close();
    HelpSystem::showTopic("Report");
    QCOMPARE(HelpSystem::window(), first);
    QVERIFY(first->isVisible());
    QCOMPARE(first->currentTopic(), "Report");
    // Reopened with every topic listed, not the last search's leftovers.
    QCOMPARE(first->listedTopics(), HelpPages::ids());
}

void TestHelp::historyBackAndForward()
{
    HelpWindow window;
    QVERIFY(!window.canGoBack());
    window.showTopic("QRemind");
    window.showTopic("Scheduler");
    window.showTopic("Scheduler"); // the same page again adds no step
    window.back();
    QCOMPARE(window.currentTopic(), "QRemind");
    window.back();
    QCOMPARE(window.currentTopic(), HelpPages::contentsId());
    QVERIFY(!window.canGoBack());
    window.back(); // at the start: stays
    QCOMPARE(window.currentTopic(), HelpPages::contentsId());
    window.forward();
    QCOMPARE(window.currentTopic(), "QRemind");
    QVERIFY(window.canGoForward());
    // A new page from the middle of the history drops what lay ahead.
    window.showTopic("Report");
    QVERIFY(!window.canGoForward());
    window.back();
    QCOMPARE(window.currentTopic(), "QRemind");
    window.home();
    QCOMPARE(window.currentTopic(), HelpPages::contentsId());
}

void TestHelp::linkClickNavigates()
{
    HelpWindow window;
    auto* browser = window.findChild<QTextBrowser*>();
    QVERIFY(browser);
    emit browser->anchorClicked(QUrl("autoupdate"));
    QCOMPARE(window.currentTopic(), "autoupdate");
    QVERIFY(browser->toPlainText().contains("Automatic Time Update"));
    // Outside addresses are not followed from the help.
    emit browser->anchorClicked(QUrl("https://example.org/"));
    QCOMPARE(window.currentTopic(), "autoupdate");
}

void TestHelp::searchFilters_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("mustList");
    QTest::addColumn<int>("maxListed"); // -1: no limit

    QTest::newRow("empty lists all") << QString() << HelpPages::ids() << -1;
    QTest::newRow("one word") << "swapping" << QStringList{"Report"} << -1;
    QTest::newRow("case ignored") << "cap_sys_time" << QStringList{"files"} << -1;
    QTest::newRow("all words must occur")
        << "tray indefinite" << QStringList{"settings_Task", "moving"} << -1;
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
        QVERIFY(HelpSystem::showTopic("settings_Time"));
        QCOMPARE(window->attachedTo(), &dialog);
        QCOMPARE(window->parentWidget(), &dialog);
        QVERIFY(window->isWindow());
        QVERIFY(window->isVisible());
        dialog.hide();
        QCOMPARE(window->parentWidget(), nullptr);
        QVERIFY(window->isVisible());
    }
    QCOMPARE(HelpSystem::window(), window);
    QCOMPARE(window->currentTopic(), "settings_Time");
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
    QVERIFY(HelpSystem::showTopic("Scheduler"));
    HelpWindow* window = HelpSystem::window();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    QWidget* page = window->findChild<QTextBrowser*>()->viewport();
    const QImage scheduler = page->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QVERIFY2(inkPixels(scheduler) > 1000, qPrintable(QString::number(inkPixels(scheduler))));
    QVERIFY(HelpSystem::showTopic("Report"));
    const QImage report = page->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QVERIFY(inkPixels(report) > 1000);
    QVERIFY(report != scheduler);
}

QTEST_MAIN(TestHelp)
#include "tst_help.moc"
