#include "rules/sched/ReminderRules.h"
#include "rules/sched/ScheduleList.h"

#include <QTest>

namespace {
// Saturday 2026-03-07, 10:30:40; day 46088.
const QDateTime Now(QDate(2026, 3, 7), QTime(10, 30, 40));
} // namespace

class TestReminderRules : public QObject {
    Q_OBJECT
private slots:
    void parseTime_data();
    void parseTime();
    void text_data();
    void text();
    void listAndCancel_data();
    void listAndCancel();
};

void TestReminderRules::parseTime_data()
{
    QTest::addColumn<QString>("time");
    QTest::addColumn<QString>("at"); // "YYYY-MM-DD HH:MM", or the refusal
    QTest::newRow("later today") << "10:31"
                                 << "2026-03-07 10:31";
    QTest::newRow("this minute is still today") << "10:30"
                                                << "2026-03-07 10:30";
    QTest::newRow("passed: tomorrow") << "10:29"
                                      << "2026-03-08 10:29";
    QTest::newRow("one-digit hour") << "7:05"
                                    << "2026-03-08 07:05";
    QTest::newRow("minutes, seconds dropped") << "+25m"
                                              << "2026-03-07 10:55";
    QTest::newRow("past midnight") << "+14h"
                                   << "2026-03-08 00:30";
    QTest::newRow("a year") << "+8784h"
                            << "2027-03-08 10:30";
    QTest::newRow("date") << "2026-03-07 10:30"
                          << "2026-03-07 10:30";
    QTest::newRow("last storable day") << "2173-10-13 23:59"
                                       << "2173-10-13 23:59";
    const QString form = "must be HH:MM, +Nm, +Nh or 'YYYY-MM-DD HH:MM'";
    QTest::newRow("25:00") << "25:00"
                           << "horolux: TIME '25:00' is not a time of day (00:00 to 23:59)";
    QTest::newRow("12:60") << "12:60"
                           << "horolux: TIME '12:60' is not a time of day (00:00 to 23:59)";
    QTest::newRow("+0m") << "+0m"
                         << "horolux: TIME '+0m' must lie ahead";
    QTest::newRow("+99999h") << "+99999h"
                             << "horolux: TIME '+99999h' lies more than a year ahead";
    QTest::newRow("+8785h") << "+8785h"
                            << "horolux: TIME '+8785h' lies more than a year ahead";
    QTest::newRow("Feb 30") << "2026-02-30 10:00"
                            << "horolux: TIME '2026-02-30 10:00' names no date of the calendar";
    QTest::newRow("a minute ago") << "2026-03-07 10:29"
                                  << "horolux: TIME '2026-03-07 10:29' has passed";
    QTest::newRow("beyond the line") << "2173-10-14 00:00"
                                     << "horolux: TIME '2173-10-14 00:00' lies beyond 2173-10-13";
    QTest::newRow("empty") << ""
                           << "horolux: TIME '' " + form;
    QTest::newRow("blank around") << " 10:31"
                                  << "horolux: TIME ' 10:31' " + form;
    QTest::newRow("two arguments' worth") << "2026-03-07  10:31"
                                          << "horolux: TIME '2026-03-07  10:31' " + form;
    QTest::newRow("other digits") << QStringLiteral("\u0661\u0660:\u0663\u0661")
                                  << "horolux: TIME " + form;
    QTest::newRow("upper unit") << "+5M"
                                << "horolux: TIME '+5M' " + form;
    QTest::newRow("huge number") << "+99999999999999999999m"
                                 << "horolux: TIME '+99999999999999999999m' " + form;
    QTest::newRow("long and odd") << QString(40, u'\n') << "horolux: TIME " + form;
}

void TestReminderRules::parseTime()
{
    QFETCH(QString, time);
    QFETCH(QString, at);
    const ReminderRules::When w = ReminderRules::parseTime(time, Now);
    const QString got = w.error.isEmpty() ? DayNumbers::toDate(w.day).toString(u"yyyy-MM-dd") +
                                                QString::asprintf(" %02d:%02d", w.hour, w.minute)
                                          : w.error;
    QCOMPARE(got, at);
}

void TestReminderRules::text_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("error");
    QTest::newRow("plain") << "Tea"
                           << "";
    QTest::newRow("commas and colons") << "a,b: c"
                                       << "";
    QTest::newRow("beyond the basic plane") << QStringLiteral("\U0001F375 time") << "";
    QTest::newRow("longest") << QString(990, u'x') << "";
    QTest::newRow("longest ending in a pair")
        << QString(988, u'x') + QStringLiteral("\U0001F375") << "";
    QTest::newRow("one too long") << QString(991, u'x')
                                  << "horolux: TEXT is longer than 990 characters";
    QTest::newRow("huge") << QString(1 << 20, u'x')
                          << "horolux: TEXT is longer than 990 characters";
    QTest::newRow("empty") << ""
                           << "horolux: TEXT is empty";
    QTest::newRow("blanks") << "   "
                            << "horolux: TEXT is empty";
    const QString control = "horolux: TEXT holds a control character or line break";
    QTest::newRow("LF") << "a\nb" << control;
    QTest::newRow("CR") << "a\rb" << control;
    QTest::newRow("NUL") << QString(QChar(0)) + "a" << control;
    QTest::newRow("tab") << "a\tb" << control;
    QTest::newRow("NEL") << QStringLiteral("a\u0085b") << control;
    QTest::newRow("line separator") << QStringLiteral("a\u2028b") << control;
    QTest::newRow("byte not UTF-8") << QString(QChar(0xDCFF)) + "a"
                                    << "horolux: TEXT is not valid UTF-8";
    QTest::newRow("high half alone")
        << "a" + QString(QChar(0xD83C)) << "horolux: TEXT is not valid UTF-8";
}

// Every text accepted becomes a line the file gives back as the same reminder.
void TestReminderRules::text()
{
    QFETCH(QString, text);
    QFETCH(QString, error);
    QCOMPARE(ReminderRules::textProblem(text), error);
    if (!error.isEmpty())
        return;
    ScheduleList list;
    const ReminderRequest request{ReminderRequest::Verb::Remind, "+5m", text, {}};
    QCOMPARE(ReminderRules::apply(list, request, Now).reply.status, 0);
    ScheduleList read;
    QCOMPARE(read.parse(list.format()), 0);
    QCOMPARE(read.lines(), QStringList{"10354608800Reminder:" + text});
}

void TestReminderRules::listAndCancel_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("item"); // empty: list only
    QTest::addColumn<int>("status");
    QTest::addColumn<QStringList>("answer");
    QTest::addColumn<QStringList>("left");
    const QStringList lines{
        "09004608700Reminder:missed yesterday",
        "08004609000Run:/bin/true,-x,/tmp,1",
        "07004608101Reminder:daily, last fired a week ago",
        "12004607308Reminder:fridays\tfrom long ago",
        "06004608842Weird",
    };
    const QStringList listing{
        "1\t2026-03-07 06:00\ttype-42\tother\tWeird",
        "2\t2026-03-07 07:00\tdaily\treminder\tdaily, last fired a week ago",
        "3\t2026-03-07 09:00\tonce\treminder\tmissed yesterday",
        "4\t2026-03-09 08:00\tonce\trun\t/bin/true,-x,/tmp,1",
        "5\t2026-03-13 12:00\tfridays\treminder\tfridays from long ago",
    };
    QTest::newRow("list") << lines << "" << 0 << listing << lines;
    QTest::newRow("list nothing") << QStringList{} << "" << 0 << QStringList{} << QStringList{};
    QTest::newRow("cancel the fourth")
        << lines << "4" << 0 << QStringList{"2026-03-09 08:00\tonce\trun\t/bin/true,-x,/tmp,1"}
        << QStringList{lines[0], lines[2], lines[3], lines[4]};
    QTest::newRow("cancel the last") << lines << "5" << 0 << QStringList{listing[4].mid(2)}
                                     << QStringList{lines[0], lines[1], lines[2], lines[4]};
    QTest::newRow("no such item") << lines << "6" << 1 << QStringList{} << lines;
    QTest::newRow("zero") << lines << "0" << 2 << QStringList{} << lines;
    QTest::newRow("negative") << lines << "-1" << 2 << QStringList{} << lines;
    QTest::newRow("blank") << lines << " 1" << 2 << QStringList{} << lines;
    QTest::newRow("too many digits") << lines << "00000001" << 2 << QStringList{} << lines;
}

void TestReminderRules::listAndCancel()
{
    QFETCH(QStringList, lines);
    QFETCH(QString, item);
    ScheduleList list;
    list.parse(lines.join(u'\n').toUtf8());
    const ReminderRequest request{
        item.isEmpty() ? ReminderRequest::Verb::List : ReminderRequest::Verb::Cancel, {}, {}, item};
    const ReminderRules::Applied applied = ReminderRules::apply(list, request, Now);
    QTEST(applied.reply.status, "status");
    QTEST(applied.reply.lines, "answer");
    QFETCH(QStringList, left);
    ScheduleList expected;
    expected.parse(left.join(u'\n').toUtf8());
    QCOMPARE(list.lines(), expected.lines());
    // A failed save puts the item back where it was.
    ReminderRules::undo(list, applied);
    ScheduleList before;
    before.parse(lines.join(u'\n').toUtf8());
    QCOMPARE(list.lines(), before.lines());
}

QTEST_APPLESS_MAIN(TestReminderRules)
#include "tst_reminderrules.moc"
