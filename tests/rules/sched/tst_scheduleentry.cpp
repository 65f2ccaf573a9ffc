#include "rules/sched/ScheduleEntry.h"

#include <QTest>

using namespace ScheduleEntry;

Q_DECLARE_METATYPE(ScheduleEntry::ItemKind)

class TestScheduleEntry : public QObject {
    Q_OBJECT

private slots:
    void format_data();
    void format();
    void fields_data();
    void fields();
    void wellFormed_data();
    void wellFormed();
    void kind_data();
    void kind();
    void text_data();
    void text();
    void runDetail_data();
    void runDetail();
    void longDetailIsCut();
    void longDetailIsCutBetweenCharacters();
};

void TestScheduleEntry::format_data()
{
    QTest::addColumn<int>("hour");
    QTest::addColumn<int>("minute");
    QTest::addColumn<int>("day");
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("detail");
    QTest::addColumn<QString>("line");
    QTest::newRow("run") << 7 << 0 << 36526 << 4 << "Run:a.exe,,,1"
                         << "07003652604Run:a.exe,,,1";
    QTest::newRow("reminder") << 9 << 5 << 36526 << 0 << "Reminder:Call home"
                              << "09053652600Reminder:Call home";
    QTest::newRow("small day is space-filled") << 0 << 0 << 5 << 9 << ""
                                               << "0000    509";
    QTest::newRow("day 0") << 23 << 59 << 0 << 1 << "x"
                           << "2359    001x";
    QTest::newRow("last day") << 23 << 59 << 99999 << 2 << "Reminder:x"
                              << "23599999902Reminder:x";
    // A field too wide for its positions would shift the rest of the line: no line at all.
    QTest::newRow("day past the last") << 23 << 59 << 100000 << 1 << "Run:x,,,1"
                                       << "";
    QTest::newRow("negative day") << 9 << 0 << -1 << 0 << "Reminder:x"
                                  << "";
    QTest::newRow("hour 24") << 24 << 0 << 36526 << 0 << "Reminder:x"
                             << "";
    QTest::newRow("minute 60") << 9 << 60 << 36526 << 0 << "Reminder:x"
                               << "";
    QTest::newRow("three-digit type") << 9 << 0 << 36526 << 100 << "Reminder:x"
                                      << "";
    QTest::newRow("negative type") << 9 << 0 << 36526 << -1 << "Reminder:x"
                                   << "";
    // An entry must stay one line in the file.
    QTest::newRow("line breaks") << 1 << 2 << 36526 << 0 << "Reminder:a\r\nb\nc\rd\n\n"
                                 << "01023652600Reminder:a b c d  ";
}

void TestScheduleEntry::format()
{
    QFETCH(int, hour);
    QFETCH(int, minute);
    QFETCH(int, day);
    QFETCH(int, type);
    QFETCH(QString, detail);
    QFETCH(QString, line);
    QCOMPARE(FormatScheduleEntry(hour, minute, day, type, detail), line);
}

void TestScheduleEntry::fields_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("hour");
    QTest::addColumn<int>("minute");
    QTest::addColumn<int>("time");
    QTest::addColumn<int>("day");
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("detail");
    QTest::newRow("normal") << "09053652600Reminder:Call home" << 9 << 5 << 905 << 36526 << 0
                            << "Reminder:Call home";
    QTest::newRow("padded day") << "2359    711" << 23 << 59 << 2359 << 7 << 11 << "";
    QTest::newRow("leading spaces") << " 9 5   12 3x" << 9 << 5 << -1 << 12 << 3 << "x";
    // Short and garbage lines must read as "no value", never out of range.
    QTest::newRow("empty") << "" << -1 << -1 << -1 << -1 << -1 << "";
    QTest::newRow("short") << "0905" << 9 << 5 << 905 << -1 << -1 << "";
    QTest::newRow("garbage") << "ab:cd-1234xyz" << -1 << -1 << -1 << -1 << -1 << "yz";
    QTest::newRow("negative day") << "0905  -1200x" << 9 << 5 << 905 << -1 << 0 << "x";
    QTest::newRow("blank fields") << "           x" << -1 << -1 << -1 << -1 << -1 << "x";
}

void TestScheduleEntry::fields()
{
    QFETCH(QString, line);
    QFETCH(int, hour);
    QFETCH(int, minute);
    QFETCH(int, time);
    QFETCH(int, day);
    QFETCH(int, type);
    QFETCH(QString, detail);
    QCOMPARE(ScheduleEntry::hour(line), hour);
    QCOMPARE(ScheduleEntry::minute(line), minute);
    QCOMPARE(timeNumber(line), time);
    QCOMPARE(dayNumber(line), day);
    QCOMPARE(typeCode(line), type);
    QCOMPARE(ScheduleEntry::detail(line), detail);
}

void TestScheduleEntry::wellFormed_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("ok");
    QTest::newRow("reminder") << "09053652600Reminder:x" << true;
    QTest::newRow("empty detail") << "09053652600" << true;
    QTest::newRow("day 0") << "0905    000x" << true;
    QTest::newRow("type 99 is kept, removed when due") << "09053652699x" << true;
    QTest::newRow("short") << "0905365260" << false;
    QTest::newRow("hour 24") << "24003652600x" << false;
    QTest::newRow("minute 60") << "09603652600x" << false;
    QTest::newRow("space in hour") << " 9053652600x" << false;
    QTest::newRow("blank day") << "0905     00x" << false;
    QTest::newRow("space inside day") << "09053 52600x" << false;
    QTest::newRow("negative day") << "0905  -1200x" << false;
    QTest::newRow("space in type") << "0905365260 0x" << false;
    QTest::newRow("letter in type") << "0905365260Ax" << false;
    QTest::newRow("line break") << "09053652600Reminder:a\nb" << false;
    QTest::newRow("text") << "hello world, not a schedule line" << false;
}

void TestScheduleEntry::wellFormed()
{
    QFETCH(QString, line);
    QFETCH(bool, ok);
    QCOMPARE(isWellFormed(line), ok);
}

void TestScheduleEntry::kind_data()
{
    QTest::addColumn<QString>("detail");
    QTest::addColumn<ItemKind>("kind");
    QTest::newRow("Reminder") << "Reminder:x" << ReminderItem;
    QTest::newRow("lower") << "reminder:x" << ReminderItem;
    QTest::newRow("upper") << "REMINDER:X" << ReminderItem;
    QTest::newRow("Run") << "Run:a.exe,,,1" << RunItem;
    QTest::newRow("run lower") << "run:a" << RunItem;
    QTest::newRow("RUN") << "RUN:A" << RunItem;
    // A detail shorter than its prefix still counts as the kind it begins.
    QTest::newRow("Re") << "Re" << ReminderItem;
    QTest::newRow("r") << "r" << ReminderItem;
    QTest::newRow("ru") << "ru" << RunItem;
    QTest::newRow("empty") << "" << OtherItem;
    QTest::newRow("other") << "Note:x" << OtherItem;
    // Inner positions of "REMRUN" are neither kind.
    QTest::newRow("EMR") << "EMRx" << OtherItem;
    QTest::newRow("MRU") << "mru:x" << OtherItem;
    QTest::newRow("UN") << "UN" << OtherItem;
}

void TestScheduleEntry::kind()
{
    QFETCH(QString, detail);
    QFETCH(ItemKind, kind);
    QCOMPARE(detailKind(detail), kind);
}

void TestScheduleEntry::text_data()
{
    QTest::addColumn<QString>("detail");
    QTest::addColumn<QString>("text");
    QTest::newRow("plain") << "Reminder:Call home"
                           << "Call home";
    QTest::newRow("colons stay in the text") << "Reminder:Meet at 10:30: room 2"
                                             << "Meet at 10:30: room 2";
    QTest::newRow("no colon") << "Reminder"
                              << "Reminder";
    QTest::newRow("empty text") << "Reminder:"
                                << "";
}

void TestScheduleEntry::text()
{
    QFETCH(QString, detail);
    QFETCH(QString, text);
    QCOMPARE(detailText(detail), text);
}

void TestScheduleEntry::runDetail_data()
{
    QTest::addColumn<QString>("detail");
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("parameters");
    QTest::addColumn<QString>("directory");
    QTest::addColumn<int>("show");
    QTest::newRow("minimal") << "Run:a.exe,,,1"
                             << "a.exe"
                             << ""
                             << "" << 1;
    QTest::newRow("full") << "Run:notepad.exe,readme.txt,C:\\Temp,3"
                          << "notepad.exe"
                          << "readme.txt"
                          << "C:\\Temp" << 3;
    QTest::newRow("colon in path") << "Run:C:\\Tools\\x.exe,/q,C:\\Tools,2"
                                   << "C:\\Tools\\x.exe"
                                   << "/q"
                                   << "C:\\Tools" << 2;
    QTest::newRow("no comma") << "Run:/usr/bin/xterm"
                              << "/usr/bin/xterm"
                              << ""
                              << "" << 0;
    QTest::newRow("two fields") << "Run:a,b"
                                << "a"
                                << "b"
                                << "" << 0;
    QTest::newRow("non-numeric state") << "Run:a,b,c,max"
                                       << "a"
                                       << "b"
                                       << "c" << 0;
    QTest::newRow("extra comma") << "Run:a,b,c,2,9"
                                 << "a"
                                 << "b"
                                 << "c" << 0;
    QTest::newRow("spaced state") << "Run:a,b,c, 3 "
                                  << "a"
                                  << "b"
                                  << "c" << 3;
    QTest::newRow("no colon") << "a,b,c,2"
                              << "a"
                              << "b"
                              << "c" << 2;
    QTest::newRow("empty") << ""
                           << ""
                           << ""
                           << "" << 0;
}

void TestScheduleEntry::runDetail()
{
    QFETCH(QString, detail);
    QFETCH(QString, program);
    QFETCH(QString, parameters);
    QFETCH(QString, directory);
    QFETCH(int, show);
    const RunDetail run = ParseRunDetail(detail);
    QCOMPARE(run.program, program);
    QCOMPARE(run.parameters, parameters);
    QCOMPARE(run.directory, directory);
    QCOMPARE(run.showState, show);
}

void TestScheduleEntry::longDetailIsCut()
{
    const QString text(5000, u'x');
    const QString line = FormatScheduleEntry(9, 0, 36526, 0, "Reminder:" + text);
    QCOMPARE(line.size(), 11 + 9 + 5000);
    QCOMPARE(detail(line).size(), MaxDetail);
    QCOMPARE(detailText("Reminder:" + text).size(), MaxDetail);
    QCOMPARE(ParseRunDetail("Run:" + text).program.size(), MaxDetail);
}

// A character outside the BMP counts once and is never cut in half (found by fuzzing).
void TestScheduleEntry::longDetailIsCutBetweenCharacters()
{
    const QString clef = QString::fromUtf8("\xF0\x9D\x84\x9E");
    const QString text = QString(998, u'x') + clef + u'y';
    QCOMPARE(detail("09003652600" + text), QString(998, u'x') + clef);
    QCOMPARE(detailText(":" + text), QString(998, u'x') + clef);
    QCOMPARE(detailText(":" + clef.repeated(1000)), clef.repeated(999));
}

QTEST_APPLESS_MAIN(TestScheduleEntry)
#include "tst_scheduleentry.moc"
