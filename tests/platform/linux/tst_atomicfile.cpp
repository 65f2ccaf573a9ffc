#include "platform/linux/AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace {

QByteArray enc(const QString& path)
{
    return QFile::encodeName(path);
}

// The writer runs under strace; LeakSanitizer (in a sanitizer build) cannot work in a traced
// process and would fail it at exit.
QProcessEnvironment tracedEnvironment()
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    const QString lsan = env.value("LSAN_OPTIONS");
    env.insert("LSAN_OPTIONS", (lsan.isEmpty() ? QString() : lsan + ":") + "detect_leaks=0");
    return env;
}

bool writeFile(const QString& path, const QByteArray& data, mode_t mode = 0644)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(data) != data.size())
        return false;
    f.close();
    return ::chmod(enc(path).constData(), mode) == 0;
}

// What lies at `path`, told without opening anything but a regular file.
QString fingerprint(const QString& path)
{
    struct stat st {};
    if (::lstat(enc(path).constData(), &st) != 0)
        return "missing";
    if (S_ISLNK(st.st_mode)) {
        char to[4096];
        const ssize_t n = ::readlink(enc(path).constData(), to, sizeof to);
        const QString text = QFile::decodeName(QByteArray(to, int(n)));
        const QString target =
            QDir::isAbsolutePath(text) ? text : QFileInfo(path).dir().filePath(text);
        return "link to " + text + " / " + fingerprint(target);
    }
    if (S_ISDIR(st.st_mode))
        return "folder";
    if (S_ISFIFO(st.st_mode))
        return "fifo";
    if (S_ISCHR(st.st_mode))
        return QString("char %1,%2").arg(major(st.st_rdev)).arg(minor(st.st_rdev));
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return QString("file %1 ").arg(st.st_mode & 0777, 4, 8, QChar('0')) +
           QString::fromLatin1(f.readAll());
}

// Puts one kind of thing at DIR/horolux.dat and returns that path; empty when the machine
// does not allow it (device nodes need CAP_MKNOD).
QString makeKind(const QString& dir, const QString& kind, const QByteArray& content)
{
    const QString path = dir + "/horolux.dat";
    const QByteArray p = enc(path);
    auto link = [&](const char* to) {
        return ::symlink(to, p.constData()) == 0 ? path : QString();
    };
    QDir().mkpath(dir + "/real");
    if (kind == QLatin1String("nothing"))
        return path;
    if (kind == QLatin1String("file"))
        return writeFile(path, content) ? path : QString();
    if (kind == QLatin1String("read-only file"))
        return writeFile(path, content, 0444) ? path : QString();
    if (kind == QLatin1String("folder"))
        return QDir().mkdir(path) ? path : QString();
    if (kind == QLatin1String("fifo"))
        return ::mkfifo(p.constData(), 0644) == 0 ? path : QString();
    if (kind == QLatin1String("device node"))
        return ::mknod(p.constData(), S_IFCHR | 0666, makedev(1, 3)) == 0 ? path : QString();
    if (kind == QLatin1String("link to file"))
        return writeFile(dir + "/real/horolux.dat", content) ? link("real/horolux.dat") : QString();
    if (kind == QLatin1String("link to read-only file"))
        return writeFile(dir + "/real/horolux.dat", content, 0444) ? link("real/horolux.dat")
                                                                   : QString();
    if (kind == QLatin1String("link into read-only folder")) {
        QDir().mkpath(dir + "/ro");
        writeFile(dir + "/ro/horolux.dat", content);
        ::chmod(enc(dir + "/ro").constData(), 0555);
        return link("ro/horolux.dat");
    }
    if (kind == QLatin1String("dangling link"))
        return link("mount/horolux.dat");
    if (kind == QLatin1String("link to fifo"))
        return ::mkfifo(enc(dir + "/real/pipe").constData(), 0644) == 0 ? link("real/pipe")
                                                                        : QString();
    if (kind == QLatin1String("link to device node"))
        return ::mknod(enc(dir + "/real/zero").constData(), S_IFCHR | 0666, makedev(1, 5)) == 0
                   ? link("real/zero")
                   : QString();
    if (kind == QLatin1String("link to /dev/null"))
        return link("/dev/null");
    if (kind == QLatin1String("link to /dev/zero"))
        return link("/dev/zero");
    return {};
}

QStringList leftovers(const QString& dir)
{
    QStringList out;
    for (const QString& sub : QStringList{QString(), "/real", "/ro"})
        for (const QString& name : QDir(dir + sub).entryList(QDir::Files | QDir::System))
            if (name.contains(".save-"))
                out << name;
    return out;
}

} // namespace

class TestAtomicFile : public QObject {
    Q_OBJECT
private slots:
    void failingCallKeepsOldFile_data();
    void failingCallKeepsOldFile();
    void killedSaveLeavesNothingAfterTheNextStart();
    void replacesOnlyRegularFilesTheUserMayWrite_data();
    void replacesOnlyRegularFilesTheUserMayWrite();
    void readsOnlyRegularFilesWithinTheLimit_data();
    void readsOnlyRegularFilesWithinTheLimit();
    void removesOnlyStaleTemporaries_data();
    void removesOnlyStaleTemporaries();
};

// The save of the settings and the schedule must never report success after a failed write and
// never leave a partial or empty file: each system call of the save fails in turn.
void TestAtomicFile::failingCallKeepsOldFile_data()
{
    QTest::addColumn<QString>("calls");
    QTest::addColumn<QString>("error");
    QTest::addColumn<int>("exitCode");
    QTest::newRow("nothing fails") << ""
                                   << "" << 0;
    QTest::newRow("disk full") << "write"
                               << "ENOSPC" << 3;
    QTest::newRow("sync fails") << "fsync"
                                << "EIO" << 3;
    QTest::newRow("rename refused") << "rename,renameat,renameat2"
                                    << "EXDEV" << 3;
}

void TestAtomicFile::failingCallKeepsOldFile()
{
    if (QStandardPaths::findExecutable("strace").isEmpty())
        QSKIP("strace is not installed");
    QFETCH(QString, calls);
    QFETCH(QString, error);
    QTemporaryDir dir;
    const QString path = dir.filePath("horolux.dat");
    QVERIFY(writeFile(path, "old\r\n"));
    QStringList args{"-f", "-qq", "-o", "/dev/null"};
    if (!calls.isEmpty())
        args << "-e"
             << "trace=" + calls << "-e"
             << "inject=" + calls + ":error=" + error;
    args << ATOMICWRITE_BIN << path << "new contents";
    QProcess p;
    p.setProcessEnvironment(tracedEnvironment());
    p.start("strace", args);
    QVERIFY(p.waitForFinished(20000));
    QTEST(p.exitCode(), "exitCode");
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray(p.exitCode() == 0 ? "new contents" : "old\r\n"));
    // Nothing is left behind beside the file.
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"horolux.dat"});
}

// A save killed just before its rename leaves its temporary; the clean-up at the next start
// removes it and nothing else.
void TestAtomicFile::killedSaveLeavesNothingAfterTheNextStart()
{
    if (QStandardPaths::findExecutable("strace").isEmpty())
        QSKIP("strace is not installed");
    QTemporaryDir dir;
    const QString path = dir.filePath("horolux.dat");
    QVERIFY(writeFile(path, "old\r\n"));
    QProcess p;
    p.setProcessEnvironment(tracedEnvironment());
    p.start("strace", {"-f", "-qq", "-o", "/dev/null", "-e", "trace=rename,renameat,renameat2",
                       "-e", "inject=rename,renameat,renameat2:signal=KILL", ATOMICWRITE_BIN, path,
                       "new contents"});
    QVERIFY(p.waitForFinished(20000));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 2);
    QCOMPARE(leftovers(dir.path()).size(), 1);
    QCOMPARE(AtomicFile::removeStaleTemporaries(path), 1);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"horolux.dat"});
    QCOMPARE(fingerprint(path), "file 0644 old\r\n");
}

void TestAtomicFile::replacesOnlyRegularFilesTheUserMayWrite_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QString>("after");
    // Private when new, whatever the umask; an existing file keeps its mode.
    QTest::newRow("nothing there") << "nothing" << true << "file 0600 new";
    QTest::newRow("regular file") << "file" << true << "file 0644 new";
    QTest::newRow("link to a file")
        << "link to file" << true << "link to real/horolux.dat / file 0644 new";
    // Root could write all of these; a user could not, so neither does the program.
    QTest::newRow("read-only file") << "read-only file" << false << "file 0444 old";
    QTest::newRow("link to a read-only file")
        << "link to read-only file" << false << "link to real/horolux.dat / file 0444 old";
    QTest::newRow("link into a read-only folder")
        << "link into read-only folder" << false << "link to ro/horolux.dat / file 0644 old";
    // A mount not ready yet: creating a plain file would cut the link for good.
    QTest::newRow("dangling link")
        << "dangling link" << false << "link to mount/horolux.dat / missing";
    QTest::newRow("folder") << "folder" << false << "folder";
    QTest::newRow("fifo") << "fifo" << false << "fifo";
    QTest::newRow("link to a fifo") << "link to fifo" << false << "link to real/pipe / fifo";
    QTest::newRow("device node") << "device node" << false << "char 1,3";
    QTest::newRow("link to a device node")
        << "link to device node" << false << "link to real/zero / char 1,5";
    QTest::newRow("link to /dev/null")
        << "link to /dev/null" << false << "link to /dev/null / char 1,3";
}

void TestAtomicFile::replacesOnlyRegularFilesTheUserMayWrite()
{
    QFETCH(QString, kind);
    QFETCH(bool, accepted);
    QTemporaryDir dir;
    const QString path = makeKind(dir.path(), kind, "old");
    if (path.isEmpty())
        QSKIP("this machine does not allow making it");
    QString error;
    QCOMPARE(AtomicFile::write(path, "new", &error), accepted);
    QCOMPARE(error.isEmpty(), accepted);
    QTEST(fingerprint(path), "after");
    QCOMPARE(leftovers(dir.path()), QStringList());
    ::chmod(enc(dir.filePath("ro")).constData(), 0755);
}

void TestAtomicFile::readsOnlyRegularFilesWithinTheLimit_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<FileReadStatus>("status");
    QTest::addColumn<QByteArray>("data");
    const QByteArray sixteen = "0123456789abcdef";
    QTest::newRow("nothing there")
        << "nothing" << QByteArray() << FileReadStatus::Missing << QByteArray();
    QTest::newRow("empty file") << "file" << QByteArray() << FileReadStatus::Ok << QByteArray();
    QTest::newRow("file at the limit") << "file" << sixteen << FileReadStatus::Ok << sixteen;
    QTest::newRow("file past the limit")
        << "file" << sixteen + "!" << FileReadStatus::Failed << QByteArray();
    QTest::newRow("link to a file")
        << "link to file" << QByteArray("a\r\n") << FileReadStatus::Ok << QByteArray("a\r\n");
    QTest::newRow("read-only file")
        << "read-only file" << QByteArray("a") << FileReadStatus::Ok << QByteArray("a");
    QTest::newRow("dangling link")
        << "dangling link" << QByteArray() << FileReadStatus::Failed << QByteArray();
    QTest::newRow("folder") << "folder" << QByteArray() << FileReadStatus::Failed << QByteArray();
    // These would block in open or read for ever, or never end.
    QTest::newRow("fifo") << "fifo" << QByteArray() << FileReadStatus::Failed << QByteArray();
    QTest::newRow("link to a fifo")
        << "link to fifo" << QByteArray() << FileReadStatus::Failed << QByteArray();
    QTest::newRow("link to /dev/zero")
        << "link to /dev/zero" << QByteArray() << FileReadStatus::Failed << QByteArray();
    QTest::newRow("link to a device node")
        << "link to device node" << QByteArray() << FileReadStatus::Failed << QByteArray();
}

void TestAtomicFile::readsOnlyRegularFilesWithinTheLimit()
{
    QFETCH(QString, kind);
    QFETCH(QByteArray, content);
    QTemporaryDir dir;
    const QString path = makeKind(dir.path(), kind, content);
    if (path.isEmpty())
        QSKIP("this machine does not allow making it");
    QByteArray data = "stale";
    QTEST(AtomicFile::read(path, data, 16), "status");
    QTEST(data, "data");
}

void TestAtomicFile::removesOnlyStaleTemporaries_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("removed");
    QTest::newRow("left by a killed save") << "horolux.dat.save-Ab12Cd"
                                           << "file" << true;
    // A save under way holds a lock on its temporary (another copy starting, say).
    QTest::newRow("still being written") << "horolux.dat.save-Ab12Cd"
                                         << "locked" << false;
    QTest::newRow("user's backup") << "horolux.dat.backup"
                                   << "file" << false;
    QTest::newRow("five characters") << "horolux.dat.save-Ab12C"
                                     << "file" << false;
    QTest::newRow("not mkstemp's letters") << "horolux.dat.save-Ab-2Cd"
                                           << "file" << false;
    QTest::newRow("the set-aside file's") << "horolux.dat.rejected.save-Ab12Cd"
                                          << "file" << false;
    QTest::newRow("set-aside lines") << "horolux.dat.rejected"
                                     << "file" << false;
    QTest::newRow("a folder") << "horolux.dat.save-Ab12Cd"
                              << "folder" << false;
    QTest::newRow("a fifo") << "horolux.dat.save-Ab12Cd"
                            << "fifo" << false;
}

void TestAtomicFile::removesOnlyStaleTemporaries()
{
    QFETCH(QString, name);
    QFETCH(QString, kind);
    QFETCH(bool, removed);
    QTemporaryDir dir;
    const QString path = dir.filePath("horolux.dat");
    QVERIFY(writeFile(path, "kept"));
    const QString other = dir.filePath(name);
    const QByteArray o = enc(other);
    int held = -1;
    if (kind == QLatin1String("folder"))
        QVERIFY(QDir().mkdir(other));
    else if (kind == QLatin1String("fifo"))
        QVERIFY(::mkfifo(o.constData(), 0644) == 0);
    else
        QVERIFY(writeFile(other, "partial"));
    if (kind == QLatin1String("locked")) {
        held = ::open(o.constData(), O_RDONLY | O_CLOEXEC);
        QVERIFY(held >= 0 && ::flock(held, LOCK_EX) == 0);
    }
    QCOMPARE(AtomicFile::removeStaleTemporaries(path), removed ? 1 : 0);
    if (held >= 0)
        ::close(held);
    QCOMPARE(fingerprint(other) == QLatin1String("missing"), removed);
    QCOMPARE(fingerprint(path), "file 0644 kept");
}

QTEST_GUILESS_MAIN(TestAtomicFile)
#include "tst_atomicfile.moc"
