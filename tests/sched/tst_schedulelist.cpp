#include "platform/AtomicFile.h"
#include "sched/ScheduleEntry.h"
#include "sched/ScheduleList.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <unistd.h>

using ScheduleEntry::FormatScheduleEntry;

namespace {

QByteArray readAll(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray();
    return f.readAll();
}

void writeRaw(const QString& path, const QByteArray& data)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(data), data.size());
}

bool failingWriter(const QString&, const QByteArray&, QString* error)
{
    if (error)
        *error = QStringLiteral("disk full");
    return false;
}

} // namespace

class TestScheduleList : public QObject {
    Q_OBJECT

private slots:
    void init();
    void order_data();
    void order();
    void duplicatesIgnoringCase();
    void addRefusesMalformed();
    void removeAndAt();
    void lineEnds_data();
    void lineEnds();
    void loadSortsAndSaves();
    void loadDuplicatesKeepFirstRead();
    void loadKeepsHeldLines();
    void missingAndEmpty();
    void badLinesSetAside();
    void setAsideUnwritableBlocksSave();
    void bytesKeptExactly();
    void veryLongLines();
    void binaryData();
    void saveToImpossiblePath();
    void failedWriteKeepsList();
    void indexOf_data();
    void indexOf();

private:
    QTemporaryDir m_dir;
    QString m_path;
};

void TestScheduleList::init()
{
    ScheduleList::setFileWriter(&AtomicFile::write);
    ScheduleList::setFileReader(&AtomicFile::read);
    QVERIFY(m_dir.isValid());
    static int n = 0;
    m_path = m_dir.filePath(QStringLiteral("horolux%1.dat").arg(++n));
}

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

    // Loading the same lines from a file in that order gives the same list.
    QByteArray data;
    for (const QString& line : input)
        data += line.toUtf8() + "\r\n";
    writeRaw(m_path, data);
    ScheduleList loaded;
    QVERIFY(loaded.load(m_path).fileRead);
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
    QCOMPARE(list.at(0), QStringLiteral("08003652600b"));
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
    writeRaw(m_path, data);
    ScheduleList list;
    const ScheduleList::LoadResult r = list.load(m_path);
    QVERIFY(r.fileRead);
    QCOMPARE(r.setAside, 0);
    QCOMPARE(list.lines(), QStringList({"08003652600b", "09003652600a"}));
}

void TestScheduleList::loadSortsAndSaves()
{
    writeRaw(m_path, "12003652600Reminder:c\r\n09003652700Reminder:b\r\n09003652600Run:x,,,1\r\n");
    ScheduleList list;
    QVERIFY(list.load(m_path).fileRead);
    QString error;
    QVERIFY2(list.save(m_path, &error), qPrintable(error));
    QCOMPARE(
        readAll(m_path),
        QByteArray("09003652600Run:x,,,1\r\n09003652700Reminder:b\r\n12003652600Reminder:c\r\n"));
    ScheduleList again;
    again.load(m_path);
    QCOMPARE(again.lines(), list.lines());
}

void TestScheduleList::loadDuplicatesKeepFirstRead()
{
    writeRaw(m_path, "09003652600REMINDER:HELLO\r\n08003652600x\r\n09003652600Reminder:Hello\r\n"
                     "09003652600reminder:hello\r\n");
    ScheduleList list;
    list.load(m_path);
    QCOMPARE(list.lines(), QStringList({"08003652600x", "09003652600REMINDER:HELLO"}));
}

void TestScheduleList::loadKeepsHeldLines()
{
    ScheduleList list;
    list.add("09003652600Reminder:Held");
    writeRaw(m_path, "09003652600reminder:held\r\n07003652600y\r\n");
    list.load(m_path);
    QCOMPARE(list.lines(), QStringList({"07003652600y", "09003652600Reminder:Held"}));
}

void TestScheduleList::missingAndEmpty()
{
    ScheduleList list;
    list.add("09003652600a");
    ScheduleList::LoadResult r = list.load(m_dir.filePath("nothing-here.dat"));
    QVERIFY(!r.fileRead);
    QCOMPARE(list.count(), 1);

    // A folder where the file should be is unreadable, not a crash.
    r = list.load(m_dir.path());
    QVERIFY(!r.fileRead);

    writeRaw(m_path, "");
    ScheduleList empty;
    r = empty.load(m_path);
    QVERIFY(r.fileRead);
    QCOMPARE(empty.count(), 0);

    // An empty list saves as an empty file, replacing what was there.
    writeRaw(m_path, "09003652600a\r\n");
    QVERIFY(empty.save(m_path));
    QVERIFY(QFile::exists(m_path));
    QCOMPARE(QFileInfo(m_path).size(), 0);
}

// Lines that cannot be scheduled are kept byte for byte beside the schedule, never lost and
// never written twice, and earlier ones stay.
void TestScheduleList::badLinesSetAside()
{
    const QString aside = ScheduleList::setAsidePathFor(m_path);
    writeRaw(aside, "older rejected line\r\n");
    writeRaw(m_path, "09003652600good\r\ngarbage one\r\n2500365260x\n\r\n1200 365 2600ok?\r\n"
                     "0\xff\x01\r\n");
    ScheduleList list;
    ScheduleList::LoadResult r = list.load(m_path);
    QVERIFY(r.fileRead);
    QCOMPARE(r.setAside, 4);
    QCOMPARE(r.setAsidePath, aside);
    QVERIFY(r.setAsideError.isEmpty());
    QCOMPARE(list.lines(), QStringList({"09003652600good"}));
    const QByteArray expected = "older rejected line\r\ngarbage one\r\n2500365260x\r\n"
                                "1200 365 2600ok?\r\n0\xff\x01\r\n";
    QCOMPARE(readAll(aside), expected);

    // Loading the same file again (no save in between) adds nothing new.
    ScheduleList again;
    r = again.load(m_path);
    QCOMPARE(r.setAside, 4);
    QCOMPARE(readAll(aside), expected);

    QVERIFY(list.save(m_path));
    QCOMPARE(readAll(m_path), QByteArray("09003652600good\r\n"));
    QCOMPARE(readAll(aside), expected);
}

// If the bad lines cannot be kept, the schedule file that still holds them is not replaced.
void TestScheduleList::setAsideUnwritableBlocksSave()
{
    const QString aside = ScheduleList::setAsidePathFor(m_path);
    QVERIFY(QDir().mkdir(aside));
    const QByteArray original = "09003652600good\r\nbad line\r\n";
    writeRaw(m_path, original);
    ScheduleList list;
    ScheduleList::LoadResult r = list.load(m_path);
    QCOMPARE(r.setAside, 1);
    QVERIFY(!r.setAsideError.isEmpty());
    QString error;
    QVERIFY(!list.save(m_path, &error));
    QVERIFY(!error.isEmpty());
    QCOMPARE(readAll(m_path), original);

    QVERIFY(QDir().rmdir(aside));
    QVERIFY(list.save(m_path, &error));
    QCOMPARE(readAll(aside), QByteArray("bad line\r\n"));
    QCOMPARE(readAll(m_path), QByteArray("09003652600good\r\n"));
}

// A Linux file name need not be UTF-8: a run item naming one must be written back byte for
// byte, or it can never run again.
void TestScheduleList::bytesKeptExactly()
{
    const QByteArray dir = QFile::encodeName(m_dir.path()) + "/";
    const QByteArray program = dir + "caf\xe9.sh";
    const int fd = ::open(program.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0700);
    QVERIFY(fd >= 0);
    ::close(fd);
    const QByteArray original = "06003652600Run:" + program + ",caf\xe9 \xc3\xa9,\xff" + dir +
                                ",1\r\n"
                                "07003652600Reminder:caf\xc3\xa9 \xe2\x82\xac\r\n"
                                "08003652600Reminder:cut \xe2\x82 end\r\n"
                                "09003652600Reminder:overlong \xc0\xaf and \xed\xa0\x80\r\n"
                                "10003652600Reminder:\xf0\x9f\x92\x80\x80\r\n";
    writeRaw(m_path, original);
    ScheduleList list;
    const ScheduleList::LoadResult r = list.load(m_path);
    QCOMPARE(r.setAside, 0);
    QCOMPARE(list.count(), 5);
    QVERIFY(list.save(m_path));
    QCOMPARE(readAll(m_path), original);
}

void TestScheduleList::veryLongLines()
{
    const QByteArray good = "09003652600Reminder:" + QByteArray(100000, 'x');
    const QByteArray bad = QByteArray(100000, 'y');
    writeRaw(m_path, good + "\r\n" + bad + "\r\n");
    ScheduleList list;
    ScheduleList::LoadResult r = list.load(m_path);
    QCOMPARE(r.setAside, 1);
    QCOMPARE(list.count(), 1);
    QCOMPARE(list.at(0).size(), good.size());
    QVERIFY(list.save(m_path));
    QCOMPARE(readAll(m_path), good + "\r\n");
    QCOMPARE(readAll(r.setAsidePath), bad + "\r\n");
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
            FormatScheduleEntry(i % 24, i % 60, 36526 + i, 0, QStringLiteral("Reminder:%1").arg(i));
        good << line;
        data += "\n" + line.toUtf8() + "\r\n";
    }
    data += QByteArray("\0\0\0", 3);
    writeRaw(m_path, data);
    ScheduleList list;
    ScheduleList::LoadResult r = list.load(m_path);
    QVERIFY(r.fileRead);
    QVERIFY(r.setAside > 0);
    for (const QString& line : good)
        QVERIFY2(list.lines().contains(line), qPrintable(line));
    for (const QString& line : list.lines())
        QVERIFY(ScheduleEntry::isWellFormed(line));
    QVERIFY(list.save(m_path));
}

// Tests run as root, so an unwritable folder is made with a regular file as the parent.
void TestScheduleList::saveToImpossiblePath()
{
    writeRaw(m_dir.filePath("plainfile"), "x");
    ScheduleList list;
    list.add("09003652600a");
    QString error;
    QVERIFY(!list.save(m_dir.filePath("plainfile/horolux.dat"), &error));
    QVERIFY(!error.isEmpty());
    QCOMPARE(list.lines(), QStringList({"09003652600a"}));
}

void TestScheduleList::failedWriteKeepsList()
{
    writeRaw(m_path, "09003652600old\r\n");
    ScheduleList list;
    list.add("10003652600new");
    ScheduleList::setFileWriter(&failingWriter);
    QString error;
    QVERIFY(!list.save(m_path, &error));
    QCOMPARE(error, QStringLiteral("disk full"));
    ScheduleList::setFileWriter(nullptr);
    QVERIFY(!list.save(m_path, &error));
    QVERIFY(!error.isEmpty());
    QCOMPARE(list.lines(), QStringList({"10003652600new"}));
    QCOMPARE(readAll(m_path), QByteArray("09003652600old\r\n"));
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
