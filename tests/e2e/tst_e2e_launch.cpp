#include "E2eRig.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTest>
#include <QThread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>

namespace {

// Monday 3 January 2000 in days since 30 December 1899; the first scan runs at 09:00.
const QByteArray Today = "36528";
const QByteArray Tomorrow = "36529";
const QString StartTime = QStringLiteral("2000-01-03 08:59:52");

bool writeBytes(const QByteArray& path, const QByteArray& data, mode_t mode)
{
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, mode);
    if (fd < 0)
        return false;
    const bool ok = ::write(fd, data.constData(), size_t(data.size())) == data.size();
    ::close(fd);
    return ok;
}

bool pollUntil(const std::function<bool()>& done, int timeoutMs)
{
    QElapsedTimer t;
    t.start();
    for (;;) {
        if (done())
            return true;
        if (t.elapsed() > timeoutMs)
            return false;
        QThread::msleep(200);
    }
}

QStringList windowsTitled(E2eRig& rig, const QString& title)
{
    return rig.x("xdotool", {"search", "--onlyvisible", "--name", "^" + title + "$"})
        .split('\n', Qt::SkipEmptyParts);
}

} // namespace

class TestE2eLaunch : public QObject {
    Q_OBJECT
private slots:
    void unopenableDocumentWarnsAndNameNotUtf8Runs();
};

// A document nothing can open (the desktop's opener exits with 4) is a failed item with its
// box; the program behind it, named with the byte 0xE9 alone, then starts by those bytes, and
// the daily item is written back byte for byte.
void TestE2eLaunch::unopenableDocumentWarnsAndNameNotUtf8Runs()
{
    E2eRig rig;
    QVERIFY(rig.startX());
    const QByteArray home = QFile::encodeName(rig.home());
    const QByteArray bin = home + "/bin";
    QVERIFY(QDir().mkpath(rig.home() + "/bin"));
    QVERIFY(writeBytes(bin + "/xdg-open",
                       "#!/bin/sh\necho \"$1\" >> '" + home +
                           "/opener.log'\necho 'x-terminal-emulator: not found' >&2\nexit 4\n",
                       0700));
    rig.setEnv("PATH", QFile::decodeName(bin) + ":" + qEnvironmentVariable("PATH"));
    const QByteArray notes = home + "/notes.txt";
    QVERIFY(writeBytes(notes, "text\n", 0600));

    const QByteArray record = home + "/record";
    const QByteArray program = home + "/rec\xe9.sh";
    const QByteArray folder = home + "/w\xe9rk";
    QCOMPARE(::mkdir(folder.constData(), 0700), 0);
    QVERIFY(writeBytes(program,
                       "#!/bin/sh\nprintf '%s\\0' \"$0\" \"$(pwd)\" \"$@\" > '" + record +
                           ".part' && mv '" + record + ".part' '" + record + "'\n",
                       0700));

    const QByteArray document = "Run:" + notes + ",,,1";
    const QByteArray run = "Run:" + program + ",caf\xe9 'a b'," + folder + ",1";
    QVERIFY(QDir().mkpath(QFileInfo(rig.schedulePath()).path()));
    QVERIFY(writeBytes(QFile::encodeName(rig.schedulePath()),
                       "0900" + Today + "00" + document + "\r\n0900" + Today + "01" + run + "\r\n",
                       0600));

    QVERIFY(rig.startClock(StartTime));
    const QString main = rig.waitForWindow();
    QVERIFY2(!main.isEmpty(), qPrintable(rig.clockOutput()));

    QString box;
    const bool warned = pollUntil(
        [&] {
            for (const QString& w : windowsTitled(rig, "Horolux"))
                if (w != main)
                    box = w;
            return !box.isEmpty();
        },
        20000);
    QVERIFY2(warned, "no warning box for the document nothing can open");
    QCOMPARE(rig.readFile(rig.home() + "/opener.log"), notes + "\n");
    // The box holds the scan: the program behind the document has not started yet.
    QVERIFY(!QFile::exists(QFile::decodeName(record)));

    rig.x("xdotool", {"windowfocus", "--sync", box});
    rig.x("xdotool", {"key", "Return"});
    QVERIFY2(pollUntil([&] { return QFile::exists(QFile::decodeName(record)); }, 10000),
             "the program named with a byte that is not UTF-8 did not start");
    QByteArray got = rig.readFile(QFile::decodeName(record));
    got.chop(1);
    QCOMPARE(got.split('\0'), (QList<QByteArray>{program, folder, "caf\xe9", "a b"}));

    const QByteArray expected = "0900" + Tomorrow + "01" + run + "\r\n";
    QVERIFY(pollUntil([&] { return rig.readFile(rig.schedulePath()) == expected; }, 5000));
    QCOMPARE(rig.terminate(), 0);
    QCOMPARE(rig.readFile(rig.schedulePath()), expected);
}

QTEST_MAIN(TestE2eLaunch)
#include "tst_e2e_launch.moc"
