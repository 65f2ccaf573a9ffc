#include "rules/sched/ScheduleEntry.h"
#include "rules/sched/ScheduleList.h"

#include <QRandomGenerator>
#include <QTest>

using ScheduleEntry::FormatScheduleEntry;

class TestScheduleList : public QObject {
    Q_OBJECT

private slots:
    void order_data();
    void order();
    void duplicatesIgnoringCase();
    void addRefusesMalformed();
    void removeAndAt();
    void lineEnds_data();
    void lineEnds();
    void parseSortsAndFormats();
    void parseDuplicatesKeepFirstRead();
    void parseKeepsHeldLines();
    void badLinesSetAside();
    void withSetAside_data();
    void withSetAside();
    void bytesKeptExactly();
    void veryLongLines();
    void binaryData();
    void indexOf_data();
    void indexOf();
};

void TestScheduleList::order_data()
{
    QTest::addColumn<QStringList>("input");
    QTest::addColumn<QStringList>("sorted");
    const QString a = FormatScheduleEntry(9, 5, 36527, 0, "Reminder:a");
    const QString b = FormatScheduleEntry(10, 0, 36526, 0, "Reminder:b");
    const QString c = FormatScheduleEntry(9, 5, 36526, 0, "Reminder:c");
    QTest::newRow("time before date") << QStringList{b, a} << QStringList{a, b};
    QTest::newRow("same time by date") << QStringList{b, a, c} << QStringList{c, a, b};
    QTest::newRow("then type, then detail")
        << QStringList{FormatScheduleEntry(7, 30, 36527, 1, "Reminder:X"),
                       FormatScheduleEntry(7, 30, 36527, 0, "Reminder:y"),
                       FormatScheduleEntry(7, 30, 36527, 0, "Reminder:X")}
        << QStringList{FormatScheduleEntry(7, 30, 36527, 0, "Reminder:X"),
                       FormatScheduleEntry(7, 30, 36527, 0, "Reminder:y"),
                       FormatScheduleEntry(7, 30, 36527, 1, "Reminder:X")};
    QTest::newRow("space-filled day before five digits")
        << QStringList{FormatScheduleEntry(0, 0, 10000, 0, "x"),
                       FormatScheduleEntry(0, 0, 9999, 0, "x")}
        << QStringList{FormatScheduleEntry(0, 0, 9999, 0, "x"),
                       FormatScheduleEntry(0, 0, 10000, 0, "x")};
}

void TestScheduleList::order()
{
    QFETCH(QStringList, input);
    QFETCH(QStringList, sorted);
    ScheduleList list;
    for (const QString& line : input)
        QVERIFY(list.add(line));
    QCOMPARE(list.lines(), sorted);

    // Reading the same lines from a file in that order gives the same list.
    QByteArray data;
    for (const QString& line : input)
        data += line.toUtf8() + "\r\n";
    ScheduleList loaded;
    QCOMPARE(loaded.parse(data), 0);
    QCOMPARE(loaded.lines(), sorted);
}

void TestScheduleList::duplicatesIgnoringCase()
{
    ScheduleList list;
    QVERIFY(list.add("09003652600Reminder:Hello"));
    QVERIFY(!list.add("09003652600REMINDER:HELLO"));
    QVERIFY(!list.add("09003652600Reminder:Hello"));
    QVERIFY(list.add("09003652600Reminder:Hello!"));
    QCOMPARE(list.lines(),
             QStringList({"09003652600Reminder:Hello", "09003652600Reminder:Hello!"}));
}

void TestScheduleList::addRefusesMalformed()
{
    ScheduleList list;
    QVERIFY(!list.add(""));
    QVERIFY(!list.add("not a line"));
    QVERIFY(!list.add("09003652600Reminder:a\r\nb"));
    QCOMPARE(list.count(), 0);
}

void TestScheduleList::removeAndAt()
{
    ScheduleList list;
    list.add("09003652600a");
    list.add("08003652600b");
    QCOMPARE(list.at(0), "08003652600b");
    QVERIFY(list.at(2).isNull());
    QVERIFY(list.at(-1).isNull());
    list.removeAt(5);
    list.removeAt(-1);
    QCOMPARE(list.count(), 2);
    list.removeAt(0);
    QCOMPARE(list.lines(), QStringList({"09003652600a"}));
}

void TestScheduleList::lineEnds_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::newRow("CR LF") << QByteArray("09003652600a\r\n08003652600b\r\n");
    QTest::newRow("LF") << QByteArray("09003652600a\n08003652600b\n");
    QTest::newRow("CR") << QByteArray("09003652600a\r08003652600b\r");
    QTest::newRow("mixed, blank lines") << QByteArray("09003652600a\n\r\n\r08003652600b\r\n\n");
    QTest::newRow("no final end") << QByteArray("09003652600a\r\n08003652600b");
    QTest::newRow("byte order mark") << QByteArray("\xEF\xBB\xBF"
                                                   "09003652600a\n08003652600b");
}

void TestScheduleList::lineEnds()
{
    QFETCH(QByteArray, data);
    ScheduleList list;
    QCOMPARE(list.parse(data), 0);
    QCOMPARE(list.lines(), QStringList({"08003652600b", "09003652600a"}));
}

void TestScheduleList::parseSortsAndFormats()
{
    ScheduleList list;
    QCOMPARE(
        list.parse("12003652600Reminder:c\r\n09003652700Reminder:b\r\n09003652600Run:x,,,1\r\n"),
        0);
    QCOMPARE(
        list.format(),
        QByteArray("09003652600Run:x,,,1\r\n09003652700Reminder:b\r\n12003652600Reminder:c\r\n"));
    ScheduleList again;
    again.parse(list.format());
    QCOMPARE(again.lines(), list.lines());
    QCOMPARE(ScheduleList().format(), QByteArray());
}

void TestScheduleList::parseDuplicatesKeepFirstRead()
{
    ScheduleList list;
    list.parse("09003652600REMINDER:HELLO\r\n08003652600x\r\n09003652600Reminder:Hello\r\n"
               "09003652600reminder:hello\r\n");
    QCOMPARE(list.lines(), QStringList({"08003652600x", "09003652600REMINDER:HELLO"}));
}

void TestScheduleList::parseKeepsHeldLines()
{
    ScheduleList list;
    list.add("09003652600Reminder:Held");
    list.parse("09003652600reminder:held\r\n07003652600y\r\n");
    QCOMPARE(list.lines(), QStringList({"07003652600y", "09003652600Reminder:Held"}));
}

// Lines that cannot be scheduled wait in their bytes, after any set aside before.
void TestScheduleList::badLinesSetAside()
{
    ScheduleList list;
    list.setAside("12009999901Reminder:a");
    QCOMPARE(list.parse("09003652600good\r\ngarbage one\r\n2500365260x\n\r\n1200 365 2600ok?\r\n"
                        "0\xff\x01\r\n"),
             4);
    QCOMPARE(list.lines(), QStringList({"09003652600good"}));
    QCOMPARE(list.setAsideLines(),
             QByteArrayList({"12009999901Reminder:a", "garbage one", "2500365260x",
                             "1200 365 2600ok?", "0\xff\x01"}));
    list.clearSetAside();
    QVERIFY(list.setAsideLines().isEmpty());
}

void TestScheduleList::withSetAside_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QByteArrayList>("lines");
    QTest::addColumn<QByteArray>("result");
    QTest::newRow("no file yet") << QByteArray() << QByteArrayList{"a", "b"}
                                 << QByteArray("a\r\nb\r\n");
    QTest::newRow("after earlier lines")
        << QByteArray("older\r\n") << QByteArrayList{"a"} << QByteArray("older\r\na\r\n");
    // A file cut after its last line still gets its line end before the new ones.
    QTest::newRow("last line not ended")
        << QByteArray("older") << QByteArrayList{"a"} << QByteArray("older\r\na\r\n");
    QTest::newRow("other line ends kept")
        << QByteArray("x\ny\r") << QByteArrayList{"a"} << QByteArray("x\ny\ra\r\n");
    // The program stopped before a save: the same bad lines are met again.
    QTest::newRow("held already") << QByteArray("a\r\nb\r\n") << QByteArrayList{"b", "a"}
                                  << QByteArray();
    QTest::newRow("some held") << QByteArray("a\r\n") << QByteArrayList{"a", "c"}
                               << QByteArray("a\r\nc\r\n");
    QTest::newRow("twice in one batch")
        << QByteArray() << QByteArrayList{"a", "a"} << QByteArray("a\r\n");
    QTest::newRow("letter case differs")
        << QByteArray("a\r\n") << QByteArrayList{"A"} << QByteArray("a\r\nA\r\n");
    QTest::newRow("bytes that are not UTF-8")
        << QByteArray("caf\xe9\r\n") << QByteArrayList{"caf\xe9", "caf\xc3\xa9"}
        << QByteArray("caf\xe9\r\ncaf\xc3\xa9\r\n");
    QTest::newRow("nothing to add") << QByteArray("a\r\n") << QByteArrayList{} << QByteArray();
}

void TestScheduleList::withSetAside()
{
    QFETCH(QByteArray, file);
    QFETCH(QByteArrayList, lines);
    QFETCH(QByteArray, result);
    QCOMPARE(ScheduleList::withSetAside(file, lines), result);
}

// A Linux file name need not be UTF-8: a run item naming one must be written back byte for
// byte, or it can never run again.
void TestScheduleList::bytesKeptExactly()
{
    const QByteArray original = "06003652600Run:/tmp/caf\xe9.sh,caf\xe9 \xc3\xa9,\xff/tmp/,1\r\n"
                                "07003652600Reminder:caf\xc3\xa9 \xe2\x82\xac\r\n"
                                "08003652600Reminder:cut \xe2\x82 end\r\n"
                                "09003652600Reminder:overlong \xc0\xaf and \xed\xa0\x80\r\n"
                                "10003652600Reminder:\xf0\x9f\x92\x80\x80\r\n";
    ScheduleList list;
    QCOMPARE(list.parse(original), 0);
    QCOMPARE(list.count(), 5);
    QCOMPARE(list.format(), original);
    list.setAside(list.at(0));
    QCOMPARE(list.setAsideLines(),
             QByteArrayList{"06003652600Run:/tmp/caf\xe9.sh,caf\xe9 \xc3\xa9,\xff/tmp/,1"});
}

void TestScheduleList::veryLongLines()
{
    const QByteArray good = "09003652600Reminder:" + QByteArray(100000, 'x');
    const QByteArray bad = QByteArray(100000, 'y');
    ScheduleList list;
    QCOMPARE(list.parse(good + "\r\n" + bad + "\r\n"), 1);
    QCOMPARE(list.count(), 1);
    QCOMPARE(list.at(0).size(), good.size());
    QCOMPARE(list.format(), good + "\r\n");
    QCOMPARE(list.setAsideLines(), QByteArrayList{bad});
}

void TestScheduleList::binaryData()
{
    QRandomGenerator rng(12345);
    QByteArray data;
    QStringList good;
    for (int i = 0; i < 200; ++i) {
        QByteArray junk(int(rng.bounded(1, 3000)), Qt::Uninitialized);
        for (char& c : junk)
            c = char(rng.bounded(256));
        data += junk;
        const QString line =
            FormatScheduleEntry(i % 24, i % 60, 36526 + i, 0, QString("Reminder:%1").arg(i));
        good << line;
        data += "\n" + line.toUtf8() + "\r\n";
    }
    data += QByteArray("\0\0\0", 3);
    ScheduleList list;
    QVERIFY(list.parse(data) > 0);
    for (const QString& line : good)
        QVERIFY2(list.lines().contains(line), qPrintable(line));
    for (const QString& line : list.lines())
        QVERIFY(ScheduleEntry::isWellFormed(line));
}

void TestScheduleList::indexOf_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("index");
    QTest::newRow("first") << "07003652600Reminder:a" << 0;
    QTest::newRow("middle") << "09003652600Reminder:b" << 1;
    QTest::newRow("last") << "23593652601Reminder:c" << 2;
    // Only the line itself: the one that merely compares equal is another text.
    QTest::newRow("other letter case") << "09003652600REMINDER:B" << -1;
    QTest::newRow("absent, sorts between") << "08003652600Reminder:x" << -1;
    QTest::newRow("absent, sorts after all") << "23593652602Reminder:z" << -1;
    QTest::newRow("empty") << "" << -1;
}

void TestScheduleList::indexOf()
{
    QFETCH(QString, line);
    QFETCH(int, index);
    ScheduleList list;
    QCOMPARE(list.indexOf(line), -1);
    for (const char* l :
         {"23593652601Reminder:c", "07003652600Reminder:a", "09003652600Reminder:b"})
        QVERIFY(list.add(QString::fromLatin1(l)));
    QCOMPARE(list.indexOf(line), index);
}

QTEST_GUILESS_MAIN(TestScheduleList)
#include "tst_schedulelist.moc"
