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

#include <QFile>
#include <QRegularExpression>
#include <QStackedWidget>
#include <QTest>
#include <QXmlStreamReader>

#include <memory>

// The shipped translations: each message finished, with its source's placeholders and number of
// & accelerators, no accelerator twice in one window (a context); and the dialogs that have no
// layout test of their own, whole in each language.
class TestTranslations : public QObject {
    Q_OBJECT
private slots:
    void message_data();
    void message();
    void dialogFits_data();
    void dialogFits();
};

namespace {

QStringList placeholders(const QString& text)
{
    QStringList found;
    for (const auto& m : QRegularExpression("%L?(\\d+|n)").globalMatch(text))
        found << m.captured();
    found.sort();
    return found;
}

// The letters after single &s ("&&" shows one &).
QString accelerators(QString text)
{
    QString keys;
    text.remove("&&");
    for (qsizetype i = text.indexOf('&'); i >= 0 && i + 1 < text.size();
         i = text.indexOf('&', i + 1))
        keys += text.at(i + 1).toLower();
    return keys;
}

} // namespace

void TestTranslations::message_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<QStringList>("translations"); // each numerus form
    QTest::addColumn<bool>("finished");
    QTest::addColumn<QString>("takenKeys"); // accelerators of the context's earlier messages
    for (const char* language : {"de", "fr"}) {
        QFile file(qEnvironmentVariable("HOROLUX_SOURCE_DIR") + "/translations/horolux_" +
                   language + ".ts");
        QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(file.fileName()));
        QXmlStreamReader xml(&file);
        QString context, source, keys;
        QStringList forms;
        bool finished = true, numerus = false;
        while (!xml.atEnd()) {
            xml.readNext();
            const QString name = xml.name().toString();
            if (xml.isEndElement() && name == "message") {
                QTest::addRow("%s %s: %s", language, qPrintable(context), qPrintable(source))
                    << source << forms << finished << keys;
                keys += accelerators(forms.value(0));
            }
            if (!xml.isStartElement())
                continue;
            if (name == "name") {
                context = xml.readElementText();
                keys.clear();
            } else if (name == "message") {
                numerus = xml.attributes().value("numerus") == u"yes";
            } else if (name == "source") {
                source = xml.readElementText();
            } else if (name == "translation") {
                finished = xml.attributes().value("type").isEmpty();
                forms.clear();
                if (!numerus)
                    forms << xml.readElementText();
            } else if (name == "numerusform") {
                forms << xml.readElementText();
            }
        }
        QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
    }
}

void TestTranslations::message()
{
    QFETCH(QString, source);
    QFETCH(QStringList, translations);
    QFETCH(bool, finished);
    QFETCH(QString, takenKeys);
    QVERIFY(finished);
    QVERIFY(!translations.isEmpty());
    for (const QString& text : translations) {
        QVERIFY(!text.trimmed().isEmpty());
        QCOMPARE(placeholders(text), placeholders(source));
        QCOMPARE(accelerators(text).size(), accelerators(source).size());
        for (const QChar key : accelerators(text))
            QVERIFY2(!takenKeys.contains(key), qPrintable(QStringLiteral("&") + key + " twice"));
    }
}

void TestTranslations::dialogFits_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<int>("dialog");
    const char* const dialogs[] = {"editor, reminder", "editor, program", "quick reminder",
                                   "reminder",         "report",          "time update"};
    for (const char* language : {"en", "de", "fr"})
        for (int i = 0; i < 6; ++i)
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
    default:
        d = std::make_unique<TSchedMain>(sched, clock);
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
