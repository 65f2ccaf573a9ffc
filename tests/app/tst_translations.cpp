#include "app/Translations.h"
#include "core/ClockReading.h"
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
};

void TestTranslations::dialogFits_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<int>("dialog");
    const char* const dialogs[] = {
        "editor, reminder", "editor, program", "quick reminder", "reminder",
        "report",           "time update",     "scheduler",      "about"};
    for (const char* language : {"en", "de", "fr"})
        for (int i = 0; i < 8; ++i)
            QTest::addRow("%s %s", language, dialogs[i]) << QString(language) << i;
}

void TestTranslations::dialogFits()
{
    QFETCH(QString, language);
    QFETCH(int, dialog);
    const Translations translations{QLocale(language)};
    QCOMPARE(translations.programTranslated(), language != "en");
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
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(u'\n')));
}

QTEST_MAIN(TestTranslations)
#include "tst_translations.moc"
