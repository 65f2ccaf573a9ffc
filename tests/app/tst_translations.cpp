#include "app/Translations.h"
#include "core/ClockReading.h"
#include "rules/nettime/TimeReply.h"
#include "rules/options/OptionsRules.h"
#include "rules/perf/PerfTotals.h"
#include "rules/sched/Schedule.h"
#include "rules/settings/SettingsInForce.h"
#include "windows/nettime/TAutoFrm.h"
#include "windows/perf/TReportFrm.h"
#include "windows/sched/TAlarmFrm.h"
#include "windows/sched/TReminderFrm.h"
#include "windows/sched/TSchedEditFrm.h"
#include "windows/sched/TSchedMain.h"
#include "windows/ui/DialogLayout.h"
#include "windows/ui/TAbtFrm.h"

#include <QCalendarWidget>
#include <QStackedWidget>
#include <QTest>

#include <functional>
#include <memory>

// The dialogs, whole in each language: no caption cut, no control out of its box or on another.
class TestTranslations : public QObject {
    Q_OBJECT
private slots:
    void dialogFits_data();
    void dialogFits();
    void plurals_data();
    void plurals();
};

void TestTranslations::dialogFits_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<int>("dialog");
    QTest::addColumn<int>("weekStart"); // the first day of the week in the language's calendar
    const char* const dialogs[] = {
        "editor, reminder", "editor, program", "quick reminder", "reminder",
        "report",           "time update",     "scheduler",      "about"};
    const std::pair<const char*, int> languages[] = {
        {"en_US", Qt::Sunday}, {"de_DE", Qt::Monday}, {"fr_FR", Qt::Monday}};
    for (const auto& [language, weekStart] : languages)
        for (int i = 0; i < 8; ++i)
            QTest::addRow("%s %s", language, dialogs[i]) << QString(language) << i << weekStart;
}

void TestTranslations::dialogFits()
{
    QFETCH(QString, language);
    QFETCH(int, dialog);
    QFETCH(int, weekStart);
    QLocale::setDefault(QLocale(language));
    const Translations translations{QLocale(language)};
    QCOMPARE(translations.programTranslated(), language != "en_US");
    const PerfTotals totals;
    const SettingsInForce settings;
    Schedule sched;
    const ClockReading clock;
    const std::function<QDialog*()> make[] = {[] { return new TSchedEditFrm(36530); },
                                              [] { return new TSchedEditFrm(36530); },
                                              [] { return new TReminderFrm; },
                                              [] { return new TAlarmFrm; },
                                              [&] { return new TReportFrm(totals, settings); },
                                              [] { return new TAutoFrm; },
                                              [&] { return new TSchedMain(sched, clock); },
                                              [] { return new TAbtFrm; }};
    const std::unique_ptr<QDialog> d(make[dialog]());
    if (dialog < 2) // the editor's reminder page, or its program page
        d->findChild<QStackedWidget*>("nbWhat")->setCurrentIndex(dialog);
    d->show();
    QVERIFY(QTest::qWaitForWindowExposed(d.get()));
    QStringList faults = DialogLayout::faults(d.get());
    for (const QStackedWidget* pages : d->findChildren<QStackedWidget*>())
        DialogLayout::check(pages->currentWidget(), faults);
    if (dialog < 2)
        QCOMPARE(d->findChild<QCalendarWidget*>("Calendar")->firstDayOfWeek(),
                 Qt::DayOfWeek(weekStart));
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(u'\n')));
    // The window manager's title bar keeps about 100 pixels for its icon and buttons, and
    // draws the title in bold.
    QFont bold = d->font();
    bold.setBold(true);
    QVERIFY2(QFontMetrics(bold).horizontalAdvance(d->windowTitle()) + 100 <= d->width(),
             qPrintable(d->windowTitle()));
}

// English, and a language without a translation of its own, count "1 sec", not "1 secs".
void TestTranslations::plurals_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<int>("n");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("report");
    QTest::newRow("en 1") << "en" << 1 << "1 sec"
                          << "Clock was 1 second slow";
    QTest::newRow("en 2") << "en" << 2 << "2 secs"
                          << "Clock was 2 seconds slow";
    QTest::newRow("es 1") << "es" << 1 << "1 sec"
                          << "Clock was 1 second slow";
}

void TestTranslations::plurals()
{
    QFETCH(QString, language);
    QFETCH(int, n);
    const Translations translations{QLocale(language)};
    QTEST(OptionsRules::hideLabel(n), "label");
    QTEST(TimeReply::report(true, n * 1000), "report");
}

QTEST_MAIN(TestTranslations)
#include "tst_translations.moc"
