#include "doubles/DiskFiles.h"
#include "rules/sched/ScheduleFile.h"
#include "rules/sched/ScheduleList.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

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

} // namespace

class TestScheduleFile : public QObject {
    Q_OBJECT

private slots:
    void init();
    void loadSortsAndSaves();
    void missingEmptyAndFolder();
    void badLinesSetAside();
    void setAsideUnwritableBlocksSave();
    void saveRefused_data();
    void saveRefused();
    void saveAfterUnreadableLoad_data();
    void saveAfterUnreadableLoad();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_path;
};

void TestScheduleFile::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_path = m_dir->filePath("horolux.dat");
}

void TestScheduleFile::loadSortsAndSaves()
{
    writeRaw(m_path, "12003652600Reminder:c\n09003652700Reminder:b\r09003652600Run:x,,,1\r\n");
    ScheduleFile file(diskFiles(), m_path);
    ScheduleList list;
    const ScheduleFile::LoadResult r = file.load(list);
    QVERIFY(r.fileRead);
    QVERIFY(!r.unreadable);
    QCOMPARE(r.setAside, 0);
    QString error;
    QCOMPARE(file.save(list, &error), ScheduleFile::SaveResult::Saved);
    QVERIFY(error.isEmpty());
    QCOMPARE(
        readAll(m_path),
        QByteArray("09003652600Run:x,,,1\r\n09003652700Reminder:b\r\n12003652600Reminder:c\r\n"));
    QVERIFY(!QFileInfo::exists(m_path + ".rejected"));
}

void TestScheduleFile::missingEmptyAndFolder()
{
    ScheduleList list;
    list.add("09003652600a");
    ScheduleFile::LoadResult r =
        ScheduleFile(diskFiles(), m_dir->filePath("nothing-here.dat")).load(list);
    QVERIFY(!r.fileRead);
    QVERIFY(!r.unreadable);
    QCOMPARE(list.count(), 1);

    // A folder where the file should be is unreadable, not a crash.
    r = ScheduleFile(diskFiles(), m_dir->path()).load(list);
    QVERIFY(!r.fileRead);
    QVERIFY(r.unreadable);
    QVERIFY(!r.behindLink);
    QCOMPARE(list.count(), 1);

    writeRaw(m_path, "");
    ScheduleFile file(diskFiles(), m_path);
    ScheduleList empty;
    r = file.load(empty);
    QVERIFY(r.fileRead);
    QCOMPARE(empty.count(), 0);

    // An empty list saves as an empty file, replacing what was there.
    writeRaw(m_path, "09003652600a\r\n");
    QCOMPARE(file.save(empty), ScheduleFile::SaveResult::Saved);
    QVERIFY(QFile::exists(m_path));
    QCOMPARE(QFileInfo(m_path).size(), 0);
}

// Lines that cannot be scheduled are kept byte for byte beside the schedule, never lost and
// never written twice, and earlier ones stay.
void TestScheduleFile::badLinesSetAside()
{
    const QString aside = m_path + ".rejected";
    writeRaw(aside, "older rejected line\r\n");
    writeRaw(m_path, "09003652600good\r\ngarbage one\r\n2500365260x\n\r\n1200 365 2600ok?\r\n"
                     "0\xff\x01\r\n");
    ScheduleFile file(diskFiles(), m_path);
    ScheduleList list;
    ScheduleFile::LoadResult r = file.load(list);
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
    r = ScheduleFile(diskFiles(), m_path).load(again);
    QCOMPARE(r.setAside, 4);
    QCOMPARE(readAll(aside), expected);

    // A line the scan sets aside joins them at the next save.
    list.add("12009999901Reminder:late");
    list.removeAt(list.indexOf("12009999901Reminder:late"));
    list.setAside("12009999901Reminder:late");
    QCOMPARE(file.save(list), ScheduleFile::SaveResult::Saved);
    QCOMPARE(readAll(m_path), QByteArray("09003652600good\r\n"));
    QCOMPARE(readAll(aside), expected + "12009999901Reminder:late\r\n");
    QVERIFY(list.setAsideLines().isEmpty());
}

// If the bad lines cannot be kept, the schedule file that still holds them is not replaced.
void TestScheduleFile::setAsideUnwritableBlocksSave()
{
    const QString aside = m_path + ".rejected";
    QVERIFY(QDir().mkdir(aside));
    const QByteArray original = "09003652600good\r\nbad line\r\n";
    writeRaw(m_path, original);
    ScheduleFile file(diskFiles(), m_path);
    ScheduleList list;
    const ScheduleFile::LoadResult r = file.load(list);
    QCOMPARE(r.setAside, 1);
    QCOMPARE(r.setAsideError, "cannot read " + aside);
    QString error;
    QCOMPARE(file.save(list, &error), ScheduleFile::SaveResult::Failed);
    QCOMPARE(error, "cannot read " + aside);
    QCOMPARE(readAll(m_path), original);

    QVERIFY(QDir().rmdir(aside));
    QCOMPARE(file.save(list, &error), ScheduleFile::SaveResult::Saved);
    QCOMPARE(readAll(aside), QByteArray("bad line\r\n"));
    QCOMPARE(readAll(m_path), QByteArray("09003652600good\r\n"));
}

// Tests run as root: a regular file as the parent folder and the mode's write bits refuse.
void TestScheduleFile::saveRefused_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("readOnly");
    QTest::newRow("folder is a file") << "plainfile/horolux.dat" << false;
    QTest::newRow("read-only file") << "horolux.dat" << true;
}

void TestScheduleFile::saveRefused()
{
    QFETCH(QString, name);
    QFETCH(bool, readOnly);
    writeRaw(m_dir->filePath("plainfile"), "x");
    const QString path = m_dir->filePath(name);
    if (readOnly) {
        writeRaw(path, "09003652600old\r\n");
        QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner));
    }
    ScheduleFile file(diskFiles(), path);
    ScheduleList list;
    file.load(list);
    list.add("10003652600new");
    const QStringList held = list.lines();
    QString error;
    QCOMPARE(file.save(list, &error), ScheduleFile::SaveResult::Failed);
    QVERIFY(!error.isEmpty());
    QCOMPARE(list.lines(), held);
    QCOMPARE(readAll(path), QByteArray(readOnly ? "09003652600old\r\n" : ""));
}

// A file that could not be read is moved aside before a save; a link that could not be read
// keeps what it leads to and is written only once that can be read.
void TestScheduleFile::saveAfterUnreadableLoad_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("behindLink");
    QTest::addColumn<ScheduleFile::SaveResult>("result");
    QTest::newRow("folder") << "folder" << false << ScheduleFile::SaveResult::Saved;
    QTest::newRow("link leading nowhere")
        << "dangling" << true << ScheduleFile::SaveResult::HeldBack;
    QTest::newRow("link to a folder")
        << "link to folder" << true << ScheduleFile::SaveResult::HeldBack;
}

void TestScheduleFile::saveAfterUnreadableLoad()
{
    QFETCH(QString, kind);
    QFETCH(bool, behindLink);
    QFETCH(ScheduleFile::SaveResult, result);
    const QString target = m_dir->filePath("mount/horolux.dat");
    if (kind == QLatin1String("folder"))
        QVERIFY(QDir().mkpath(m_path + "/keep"));
    else
        QVERIFY(QFile::link(target, m_path));
    if (kind == QLatin1String("link to folder"))
        QVERIFY(QDir().mkpath(target));

    ScheduleFile file(diskFiles(), m_path);
    ScheduleList list;
    const ScheduleFile::LoadResult r = file.load(list);
    QVERIFY(r.unreadable);
    QCOMPARE(r.behindLink, behindLink);
    list.add("09053652600Reminder:new");
    QCOMPARE(file.save(list), result);
    QCOMPARE(file.save(list), result);
    if (!behindLink) {
        QVERIFY(QFileInfo(m_path + ".unreadable/keep").isDir());
        QCOMPARE(readAll(m_path), QByteArray("09053652600Reminder:new\r\n"));
        return;
    }
    QVERIFY(QFileInfo(m_path).isSymLink());
    // Nothing moved aside or left beside it.
    const auto entries = QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot;
    QCOMPARE(QDir(m_dir->path()).entryList(entries).filter("horolux"), QStringList{"horolux.dat"});

    // Once what it leads to can be read, its items join those held and the link stays.
    QDir(target).removeRecursively();
    QVERIFY(QDir().mkpath(m_dir->filePath("mount")));
    writeRaw(target, "07003652600Reminder:from the mount\r\n");
    QCOMPARE(file.save(list), ScheduleFile::SaveResult::Saved);
    QVERIFY(QFileInfo(m_path).isSymLink());
    QCOMPARE(readAll(target),
             QByteArray("07003652600Reminder:from the mount\r\n09053652600Reminder:new\r\n"));
}

QTEST_GUILESS_MAIN(TestScheduleFile)
#include "tst_schedulefile.moc"
