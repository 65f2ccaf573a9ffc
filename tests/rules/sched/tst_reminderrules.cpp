#include "doubles/DiskFiles.h"
#include "rules/sched/ReminderRules.h"
#include "rules/sched/Schedule.h"
#include "rules/sched/ScheduleList.h"

#include <QFile>
#include <QTemporaryDir>

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
    void requestsSavedOrUndone();
    void snooze_data();
    void snooze();
};

void TestReminderRules::parseTime_data()
{
    QTest::addColumn<QString>("time");
    QTest::addColumn<QString>("at"); // "YYYY-MM-DD HH:MM", or the refusal
    const QString form = "must be HH:MM, +Nm, +Nh or 'YYYY-MM-DD HH:MM'";
    const QString day = "is not a time of day (00:00 to 23:59)";
    const QString farOff = "lies more than 365 days ahead";
    const struct {
        const char* name;
        QString time;
        QString at;
    } rows[] = {
        // clang-format off
        {"later today", "10:31", "2026-03-07 10:31"},
        {"this minute is still today", "10:30", "2026-03-07 10:30"},
        {"passed: tomorrow", "10:29", "2026-03-08 10:29"},
        {"one-digit hour", "7:05", "2026-03-08 07:05"},
        {"minutes, seconds dropped", "+25m", "2026-03-07 10:55"},
        {"past midnight", "+14h", "2026-03-08 00:30"},
        {"365 days in hours", "+8760h", "2027-03-07 10:30"},
        {"365 days in minutes", "+525600m", "2027-03-07 10:30"},
        {"date", "2026-03-07 10:30", "2026-03-07 10:30"},
        {"last storable day", "2173-10-13 23:59", "2173-10-13 23:59"},
        {"25:00", "25:00", "horolux: TIME '25:00' " + day},
        {"12:60", "12:60", "horolux: TIME '12:60' " + day},
        {"+0m", "+0m", "horolux: TIME '+0m' must lie ahead"},
        {"+99999h", "+99999h", "horolux: TIME '+99999h' " + farOff},
        {"+8761h", "+8761h", "horolux: TIME '+8761h' " + farOff},
        {"+525601m", "+525601m", "horolux: TIME '+525601m' " + farOff},
        {"Feb 30", "2026-02-30 10:00", "horolux: TIME '2026-02-30 10:00' names no date of the calendar"},
        {"a minute ago", "2026-03-07 10:29", "horolux: TIME '2026-03-07 10:29' has passed"},
        {"beyond the line", "2173-10-14 00:00", "horolux: TIME '2173-10-14 00:00' lies beyond 2173-10-13"},
        {"empty", "", "horolux: TIME '' " + form},
        {"blank around", " 10:31", "horolux: TIME ' 10:31' " + form},
        {"two arguments' worth", "2026-03-07  10:31", "horolux: TIME '2026-03-07  10:31' " + form},
        {"other digits", QStringLiteral("\u0661\u0660:\u0663\u0661"), "horolux: TIME " + form},
        {"upper unit", "+5M", "horolux: TIME '+5M' " + form},
        {"huge number", "+99999999999999999999m", "horolux: TIME '+99999999999999999999m' " + form},
        {"long and odd", QString(40, u'\n'), "horolux: TIME " + form},
        // A $ in the pattern would match before a final line break.
        {"clock, final LF", "23:30\n", "horolux: TIME " + form},
        {"relative, final LF", "+5m\n", "horolux: TIME " + form},
        {"date, final LF", "2026-03-08 10:00\n", "horolux: TIME " + form},
        // clang-format on
    };
    for (const auto& row : rows)
        QTest::newRow(row.name) << row.time << row.at;
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
    const QString tooLong = "horolux: TEXT is longer than 990 characters";
    const QString empty = "horolux: TEXT is empty";
    const QString control = "horolux: TEXT holds a control character or line break";
    const QString notUtf8 = "horolux: TEXT is not valid UTF-8";
    const struct {
        const char* name;
        QString text;
        QString error;
    } rows[] = {
        // clang-format off
        {"plain", "Tea", ""},
        {"commas and colons", "a,b: c", ""},
        {"beyond the basic plane", QStringLiteral("\U0001F375 time"), ""},
        {"longest", QString(990, u'x'), ""},
        {"longest ending in a pair", QString(989, u'x') + QStringLiteral("\U0001F375"), ""},
        // Characters as users count them: an emoji is one, though two UTF-16 units.
        {"496 emoji", QStringLiteral("\U0001F375").repeated(496), ""},
        {"990 emoji", QStringLiteral("\U0001F375").repeated(990), ""},
        {"991 emoji", QStringLiteral("\U0001F375").repeated(991), tooLong},
        {"one too long", QString(991, u'x'), tooLong},
        {"huge", QString(1 << 20, u'x'), tooLong},
        {"empty", "", empty},
        {"blanks", "   ", empty},
        {"LF", "a\nb", control},
        {"NUL", QString(QChar(0)) + "a", control},
        {"tab", "a\tb", control},
        {"NEL", QStringLiteral("a\u0085b"), control},
        {"line separator", QStringLiteral("a\u2028b"), control},
        {"right-to-left override", QStringLiteral("invoice \u202Efdp.exe"), control},
        {"left-to-right embedding", QStringLiteral("a\u202Ab"), control},
        {"first strong isolate", QStringLiteral("a\u2068b"), control},
        {"pop isolate", QStringLiteral("a\u2069b"), control},
        {"narrow no-break space", QStringLiteral("a\u202Fb"), ""},
        {"byte not UTF-8", QString(QChar(0xDCFF)) + "a", notUtf8},
        {"high half alone", "a" + QString(QChar(0xD83C)), notUtf8},
        // clang-format on
    };
    for (const auto& row : rows)
        QTest::newRow(row.name) << row.text << row.error;
}

// Every text accepted becomes a line the file gives back as the same reminder.
void TestReminderRules::text()
{
    QFETCH(QString, text);
    QFETCH(QString, error);
    QCOMPARE(ReminderRules::textProblem(text), error);
    if (!error.isEmpty())
        return;
    Schedule schedule;
    const ReminderRequest request{ReminderRequest::Verb::Remind, "+5m", text, {}};
    QCOMPARE(schedule.apply({request}, Now).constFirst().status, 0);
    ScheduleList read;
    QCOMPARE(read.parse(schedule.list().format()), 0);
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
    // The IDs are the first 8 hex digits of the SHA-1 of each line in lower case.
    const QStringList listing{
        "e731d188\t2026-03-07 06:00\ttype-42\tother\tWeird",
        "02588721\t2026-03-07 07:00\tdaily\treminder\tdaily, last fired a week ago",
        "5f06566e\t2026-03-07 09:00\tonce\treminder\tmissed yesterday",
        "ec77a247\t2026-03-09 08:00\tonce\trun\t/bin/true,-x,/tmp,1",
        "cb97f930\t2026-03-13 12:00\tfridays\treminder\tfridays from long ago",
    };
    QTest::newRow("list") << lines << "" << 0 << listing << lines;
    QTest::newRow("list nothing") << QStringList{} << "" << 0 << QStringList{} << QStringList{};
    QTest::newRow("cancel the run item")
        << lines << "ec77a247" << 0
        << QStringList{"2026-03-09 08:00\tonce\trun\t/bin/true,-x,/tmp,1"}
        << QStringList{lines[0], lines[2], lines[3], lines[4]};
    QTest::newRow("cancel in capitals")
        << lines << "CB97F930" << 0 << QStringList{listing[4].mid(9)}
        << QStringList{lines[0], lines[1], lines[2], lines[4]};
    // The ID the daily item had before it last fired (dated a day earlier).
    QTest::newRow("stale") << lines << "3c66536e" << 1 << QStringList{} << lines;
    QTest::newRow("in an empty schedule")
        << QStringList{} << "e731d188" << 1 << QStringList{} << QStringList{};
    QTest::newRow("a number from old listings") << lines << "4" << 2 << QStringList{} << lines;
    QTest::newRow("seven digits") << lines << "e731d18" << 2 << QStringList{} << lines;
    QTest::newRow("nine digits") << lines << "e731d1880" << 2 << QStringList{} << lines;
    QTest::newRow("not hexadecimal") << lines << "e731d18g" << 2 << QStringList{} << lines;
    QTest::newRow("blank") << lines << " e731d188" << 2 << QStringList{} << lines;
}

void TestReminderRules::listAndCancel()
{
    QFETCH(QStringList, lines);
    QFETCH(QString, item);
    Schedule schedule;
    schedule.merge(lines.join(u'\n').toUtf8());
    const ReminderRequest request{
        item.isEmpty() ? ReminderRequest::Verb::List : ReminderRequest::Verb::Cancel, {}, {}, item};
    const ReminderReply reply = schedule.apply({request}, Now).constFirst();
    QTEST(reply.status, "status");
    QTEST(reply.lines, "answer");
    QFETCH(QStringList, left);
    ScheduleList expected;
    expected.parse(left.join(u'\n').toUtf8());
    QCOMPARE(schedule.lines(), expected.lines());
}

// Requests that arrive together are carried out in order and saved once; when that save fails,
// none of them stays done, since the caller is told it was not.
void TestReminderRules::requestsSavedOrUndone()
{
    QTemporaryDir dir;
    QFile notAFolder(dir.filePath("file"));
    QVERIFY(notAFolder.open(QIODevice::WriteOnly));
    const QStringList before{"06004608842Weird", "12004607308Reminder:fridays"};
    using Verb = ReminderRequest::Verb;
    const QList<ReminderRequest> requests{{Verb::Remind, "10:30", "now", {}},
                                          {Verb::Show, {}, {}, {}},
                                          {Verb::Cancel, {}, {}, "e731d188"}};
    for (const bool saved : {true, false}) {
        Schedule schedule(diskFiles(), dir.filePath(saved ? "horolux.dat" : "file/horolux.dat"));
        for (const QString& line : before)
            schedule.add(line);
        const QList<ReminderReply> replies = schedule.apply(requests, Now);
        QCOMPARE(replies.size(), 3);
        QCOMPARE(replies[0].status, saved ? 0 : 1);
        QCOMPARE(replies[1].status, 0);
        QCOMPARE(replies[2].status, saved ? 0 : 1);
        QVERIFY(saved || replies[2].error.startsWith("horolux: cannot save the schedule ("));
        const QStringList done{"10304608800Reminder:now", "12004607308Reminder:fridays"};
        QCOMPARE(schedule.lines(), saved ? done : before);
    }
    QFile file(dir.filePath("horolux.dat"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), "10304608800Reminder:now\r\n12004607308Reminder:fridays\r\n");
}

void TestReminderRules::snooze_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("duration");
    QTest::addColumn<int>("status");
    QTest::addColumn<QStringList>("answer");
    QTest::addColumn<bool>("added");
    const QStringList tenMinutes{"2dc3f572\t2026-03-07 10:40\tonce\treminder\tmissed yesterday"};
    QTest::newRow("fired at nine") << "5f06566e"
                                   << "10m" << 0 << tenMinutes << true;
    QTest::newRow("hours, with a plus")
        << "5F06566E"
        << "+2h" << 0 << QStringList{"e20d0999\t2026-03-07 12:30\tonce\treminder\tmissed yesterday"}
        << true;
    // Snoozed twice to the same minute: the one held is shown, not a second added.
    QTest::newRow("held already") << "5f06566e"
                                  << "10m" << 0 << tenMinutes << false;
    QTest::newRow("fired 24 hours and 40 s ago") << "b62ee09e"
                                                 << "10m" << 1 << QStringList{} << false;
    QTest::newRow("a run item") << "eb7bdbdf"
                                << "10m" << 1 << QStringList{} << false;
    QTest::newRow("never fired") << "e731d188"
                                 << "10m" << 1 << QStringList{} << false;
    QTest::newRow("no time") << "5f06566e"
                             << "0m" << 2 << QStringList{} << false;
    QTest::newRow("no unit") << "5f06566e"
                             << "10" << 2 << QStringList{} << false;
    QTest::newRow("past a year") << "5f06566e"
                                 << "8761h" << 2 << QStringList{} << false;
    QTest::newRow("bad ID") << "5f06566"
                            << "10m" << 2 << QStringList{} << false;
}

void TestReminderRules::snooze()
{
    QFETCH(QString, item);
    QFETCH(QString, duration);
    QFETCH(bool, added);
    Schedule schedule;
    schedule.noteFired("09004608700Reminder:missed yesterday", QDateTime(Now.date(), QTime(9, 0)));
    schedule.noteFired("10004608601Reminder:daily tea", Now.addSecs(-24 * 3600 - 40));
    schedule.noteFired("08004608800Run:/bin/true,,,1", Now.addSecs(-60));
    if (QTest::currentDataTag() == QByteArray("held already"))
        schedule.add("10404608800Reminder:missed yesterday");
    const QStringList before = schedule.lines();
    const ReminderReply reply =
        schedule.apply({{ReminderRequest::Verb::Snooze, duration, {}, item}}, Now).constFirst();
    QTEST(reply.status, "status");
    QTEST(reply.lines, "answer");
    QCOMPARE(schedule.count(), before.size() + (added ? 1 : 0));
}

QTEST_APPLESS_MAIN(TestReminderRules)
#include "tst_reminderrules.moc"
