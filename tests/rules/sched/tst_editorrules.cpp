#include "rules/sched/EditorRules.h"
#include "rules/sched/GridTexts.h"

#include <QTest>

using namespace EditorRules;

namespace {
// Wednesday 5 January 2000.
constexpr DayNumber kWednesday = 36530;
} // namespace

class TestEditorRules : public QObject {
    Q_OBJECT
private slots:
    void buildsDates_data();
    void buildsDates();
    void buildsDetails_data();
    void buildsDetails();
    void loadsLines_data();
    void loadsLines();
    void stepsMonths_data();
    void stepsMonths();
    void gridTexts_data();
    void gridTexts();
};

void TestEditorRules::buildsDates_data()
{
    QTest::addColumn<int>("option");
    QTest::addColumn<int>("calendar"); // offset from today
    QTest::addColumn<int>("expected"); // offset from today
    QTest::addColumn<int>("code");

    QTest::newRow("each Monday from Wednesday") << int(EachMonday) << 0 << 5 << 4;
    QTest::newRow("each Wednesday is today") << int(EachWednesday) << 0 << 0 << 6;
    QTest::newRow("each Friday this week") << int(EachFriday) << 0 << 2 << 8;
    QTest::newRow("each Sunday") << int(EachSunday) << 0 << 4 << 3;
    QTest::newRow("each Saturday") << int(EachSaturday) << 0 << 3 << 9;
    // Weeks in the past are caught up to the first date not before today.
    QTest::newRow("each Friday three weeks back") << int(EachFriday) << -21 << 2 << 8;
    QTest::newRow("each Wednesday three weeks back") << int(EachWednesday) << -21 << 0 << 6;
    // A later week stays where the calendar put it (Saturday 15 January -> Monday 10).
    QTest::newRow("each Monday in a later week") << int(EachMonday) << 10 << 5 << 4;
    QTest::newRow("on date in the past kept") << int(OnDate) << -30 << -30 << 0;
    QTest::newRow("weekly in the past kept") << int(WeeklyFrom) << -30 << -30 << 2;
    QTest::newRow("daily from calendar date") << int(DailyFrom) << 3 << 3 << 1;
    // The calendar is live while "Today" is still selected.
    QTest::newRow("today with a chosen day") << int(Today) << 4 << 4 << 0;
}

void TestEditorRules::buildsDates()
{
    QFETCH(int, option);
    QFETCH(int, calendar);
    QFETCH(int, expected);
    QFETCH(int, code);

    EditorValues v;
    v.hour = 7;
    v.minute = 5;
    v.option = option;
    v.date = kWednesday + calendar;
    v.text = "Tea";
    const QString want =
        QString("0705%1%2Reminder:Tea").arg(kWednesday + expected, 5).arg(code, 2, 10, QChar('0'));
    QCOMPARE(buildLine(v, kWednesday), want);
}

void TestEditorRules::buildsDetails_data()
{
    QTest::addColumn<bool>("run");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("state");
    QTest::addColumn<QString>("detail");

    QTest::newRow("reminder") << false << "Call home" << 1 << "Reminder:Call home";
    // A stored line must stay one line; each break (CR LF counted once) is one blank.
    QTest::newRow("LF") << false << "Tea\nand cake" << 1 << "Reminder:Tea and cake";
    QTest::newRow("CR LF") << false << "Tea\r\nnow" << 1 << "Reminder:Tea now";
    QTest::newRow("lone CR, two LF") << false << "a\rb\n\nc" << 1 << "Reminder:a b  c";
    QTest::newRow("paragraph separator")
        << false << QString::fromUtf16(u"a\u2029b") << 1 << "Reminder:a b";
    QTest::newRow("odd state is normal") << true << "" << 7 << "Run:/usr/bin/xterm,-e top,/tmp,1";
}

void TestEditorRules::buildsDetails()
{
    QFETCH(bool, run);
    QFETCH(QString, text);
    QFETCH(int, state);
    QFETCH(QString, detail);

    EditorValues v;
    v.hour = 23;
    v.minute = 59;
    v.option = OnDate;
    v.date = 36526;
    v.runProgram = run;
    v.text = text;
    v.program = "/usr/bin/xterm";
    v.parameters = "-e top";
    v.startDir = "/tmp";
    v.showState = state;
    QCOMPARE(buildLine(v, kWednesday), "23593652600" + detail);
}

void TestEditorRules::loadsLines_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("option");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("state"); // 0: a reminder

    QTest::newRow("one-shot opens on date")
        << "09053652600Reminder:Call" << int(OnDate) << "Call" << 0;
    QTest::newRow("daily, colon in text")
        << "09053652601reminder:x:y" << int(DailyFrom) << "x:y" << 0;
    QTest::newRow("each Sunday") << "09053652603REMINDER:x" << int(EachSunday) << "x" << 0;
    QTest::newRow("each Saturday") << "09053652609Reminder:x" << int(EachSaturday) << "x" << 0;
    QTest::newRow("unknown type code") << "09053652612Reminder:x" << int(OnDate) << "x" << 0;
    QTest::newRow("unknown kind edits as reminder")
        << "09053652600Note:hi" << int(OnDate) << "hi" << 0;
    QTest::newRow("run minimized") << "09053652604run:a,,,2" << int(EachMonday) << "" << 2;
    QTest::newRow("run bad state is normal") << "09053652600Run:a,b,c,x" << int(OnDate) << "" << 1;
}

void TestEditorRules::loadsLines()
{
    QFETCH(QString, line);
    QFETCH(int, option);
    QFETCH(QString, text);
    QFETCH(int, state);

    const EditorValues v = valuesFromLine(line);
    QCOMPARE(v.hour, 9);
    QCOMPARE(v.minute, 5);
    QCOMPARE(v.date, 36526);
    QCOMPARE(v.option, option);
    QCOMPARE(v.runProgram, state != 0);
    QCOMPARE(v.text, text);
    if (state != 0)
        QCOMPARE(v.showState, state);
}

void TestEditorRules::stepsMonths_data()
{
    QTest::addColumn<QDate>("from");
    QTest::addColumn<int>("months");
    QTest::addColumn<QDate>("to");

    QTest::newRow("back over new year") << QDate(2000, 1, 15) << -1 << QDate(1999, 12, 15);
    QTest::newRow("on over new year") << QDate(1999, 12, 15) << 1 << QDate(2000, 1, 15);
    QTest::newRow("31st to 30-day month") << QDate(2000, 3, 31) << 1 << QDate(2000, 4, 30);
    QTest::newRow("31st back to leap February") << QDate(2000, 3, 31) << -1 << QDate(2000, 2, 29);
    QTest::newRow("29th to common February") << QDate(2001, 1, 29) << 1 << QDate(2001, 2, 28);
    QTest::newRow("a year back") << QDate(2000, 1, 31) << -12 << QDate(1999, 1, 31);
    QTest::newRow("thirteen on") << QDate(2000, 12, 31) << 13 << QDate(2002, 1, 31);
    // The five-character date field ends in October 2173.
    QTest::newRow("past the last storable date") << QDate(2173, 9, 20) << 1 << QDate(2173, 10, 13);
    QTest::newRow("before the first storable date")
        << QDate(1900, 1, 5) << -1 << QDate(1899, 12, 30);
}

void TestEditorRules::stepsMonths()
{
    QFETCH(QDate, from);
    QFETCH(int, months);
    QFETCH(QDate, to);
    QCOMPARE(stepMonth(from, months), to);
}

void TestEditorRules::gridTexts_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QStringList>("cells");

    QTest::newRow("one-shot") << "09053652600Reminder:Call home"
                              << QStringList{"09:05", "01Jan00", "One-shot", "Reminder:Call home"};
    QTest::newRow("daily") << "23593652701Run:a,,,1"
                           << QStringList{"23:59", "02Jan00", "Daily", "Run:a,,,1"};
    QTest::newRow("weekly") << "00003652602Reminder:"
                            << QStringList{"00:00", "01Jan00", "Weekly", "Reminder:"};
    QTest::newRow("each Sunday") << "07003652603Reminder:x"
                                 << QStringList{"07:00", "01Jan00", "Each Sun", "Reminder:x"};
    QTest::newRow("each Tuesday") << "07003652605Reminder:x"
                                  << QStringList{"07:00", "01Jan00", "Each Tue", "Reminder:x"};
    QTest::newRow("each Saturday")
        << "07003652609Reminder:x" << QStringList{"07:00", "01Jan00", "Each Sat", "Reminder:x"};
    QTest::newRow("unknown code") << "07003652642Reminder:x"
                                  << QStringList{"07:00", "01Jan00", "Unknown", "Reminder:x"};
    // Only the exact prefixes the program writes are words to translate.
    QTest::newRow("other prefix") << "07003652600reminder:x"
                                  << QStringList{"07:00", "01Jan00", "One-shot", "reminder:x"};
    QTest::newRow("small day number")
        << "0700  10000Reminder:x" << QStringList{"07:00", "09Apr00", "One-shot", "Reminder:x"};
}

void TestEditorRules::gridTexts()
{
    QFETCH(QString, line);
    QFETCH(QStringList, cells);
    QCOMPARE(GridTexts::rowTexts(line, QLocale(QLocale::English, QLocale::UnitedKingdom)), cells);
}

QTEST_APPLESS_MAIN(TestEditorRules)
#include "tst_editorrules.moc"
