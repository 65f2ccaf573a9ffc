#include "app/Translations.h"
#include "core/ClockReading.h"
#include "rules/perf/PerfTotals.h"
#include "rules/sched/SchedulerState.h"
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

#include <memory>

// The dialogs that have no layout test of their own, whole in each language.
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
    SchedulerState sched;
    const ClockReading clock;
    std::unique_ptr<QDialog> d;
    switch (dialog) {
    case 0:
    case 1:
        d = std::make_unique<TSchedEditFrm>(36530);
        d->findChild<QStackedWidget*>("nbWhat")->setCurrentIndex(dialog);
        break;
    case 2:
        d = std::make_unique<TReminderFrm>();
        break;
    case 3:
        d = std::make_unique<TAlarmFrm>();
        break;
    case 4:
        d = std::make_unique<TReportFrm>(totals, settings);
        break;
    case 5:
        d = std::make_unique<TAutoFrm>();
        break;
    case 6:
        d = std::make_unique<TSchedMain>(sched, clock);
        break;
    default:
        d = std::make_unique<TAbtFrm>();
    }
    d->show();
    QVERIFY(QTest::qWaitForWindowExposed(d.get()));
    QStringList faults = DialogLayout::faults(d.get());
    for (const QStackedWidget* pages : d->findChildren<QStackedWidget*>())
        DialogLayout::check(pages->currentWidget(), faults);
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(u'\n')));
}

QTEST_MAIN(TestTranslations)
#include "tst_translations.moc"
