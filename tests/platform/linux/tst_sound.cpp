#include "e2e/PulseRig.h"
#include "platform/linux/QtSound.h"

#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

namespace {

// Stand-in players: a shell script run with the file as $1.
QStringList script(const QString& body)
{
    return {"/bin/sh", "-c", body, "player"};
}

// Short limits so that stalled stand-ins are cut off quickly.
const SoundPlayerProcess::Limits Quick{1000, 300, 3000};

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestSound : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void unplayableFilesNeverReachThePlayer_data();
    void unplayableFilesNeverReachThePlayer();
    void playerOutcomes_data();
    void playerOutcomes();
    void newSoundReplacesThePlayingOne();
    void closingStopsThePlayingSound();
    void playerIsFoundWhereItIsInstalled();

    void realPlayerReachesTheSink_data();
    void realPlayerReachesTheSink();
    void realPlayerWithoutServerBeeps();
    void realPlayerStalledServerIsCutOff();
    void realPlayerRefusesNonAudioFiles();
    void realPlayerEndsWithItsParent();
    void beepPlaysTheThemesBell();

private:
    QTemporaryDir m_dir;
    QString m_chime;
};

void TestSound::initTestCase()
{
    // Nothing here may reach the machine's own sound server.
    qputenv("PULSE_SERVER", QFile::encodeName("unix:" + m_dir.filePath("no-server")));
    // Nor a sound theme, unless a test brings one: a beep is the X bell.
    qputenv("XDG_DATA_DIRS", QFile::encodeName(m_dir.filePath("no-themes")));
    m_chime = m_dir.filePath("chime.wav");
    QVERIFY(PulseRig::writeTone(m_chime, 400));
}

void TestSound::unplayableFilesNeverReachThePlayer_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("empty name") << "";
    QTest::newRow("missing") << "missing.wav";
    QTest::newRow("directory") << "folder";
    QTest::newRow("unreadable") << "locked.wav";
}

void TestSound::unplayableFilesNeverReachThePlayer()
{
    QFETCH(QString, name);
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir("folder"));
    QVERIFY(writeFile(dir.filePath("locked.wav"), "RIFF"));
    QFile(dir.filePath("locked.wav")).setPermissions(QFileDevice::Permissions());
    if (name == QLatin1String("locked.wav") && ::geteuid() == 0)
        QSKIP("root reads every file");

    int beeps = 0;
    // A player that ran would fail and beep a second time.
    QtSound sound([&] { ++beeps; }, script("exit 1"), Quick);
    QSignalSpy finished(&sound, &QtSound::finished);
    sound.playAsync(name.isEmpty() ? QString() : dir.filePath(name));
    QCOMPARE(beeps, 1); // at once, not when some player gives up
    QTest::qWait(300);
    QCOMPARE(beeps, 1);
    QCOMPARE(finished.size(), 0);
}

void TestSound::playerOutcomes_data()
{
    QTest::addColumn<QStringList>("player");
    QTest::addColumn<bool>("played");
    QTest::newRow("plays") << script("exit 0") << true;
    QTest::newRow("announces and plays") << script("echo playing 50; sleep 0.1") << true;
    QTest::newRow("file refused") << script("exit 2") << false;
    QTest::newRow("fails after starting") << script("echo playing 50; exit 3") << false;
    QTest::newRow("crashes") << script("kill -SEGV $$") << false;
    QTest::newRow("not installed") << QStringList{"/nonexistent/horolux-play"} << false;
    // Killed once the start limit has passed: nothing was heard.
    QTest::newRow("stalls before playing") << script("exec sleep 30") << false;
    // Killed after its announced length and the slack: the sound was heard.
    QTest::newRow("overruns its length") << script("echo playing 100; exec sleep 30") << true;
}

void TestSound::playerOutcomes()
{
    QFETCH(QStringList, player);
    QFETCH(bool, played);
    int beeps = 0;
    QtSound sound([&] { ++beeps; }, player, Quick);
    QSignalSpy finished(&sound, &QtSound::finished);
    sound.playAsync(m_chime);
    QCOMPARE(beeps, 0); // nothing is decided while playAsync runs
    QVERIFY(finished.wait(5000));
    QCOMPARE(finished.size(), 1);
    QCOMPARE(finished[0][0].toBool(), played);
    QCOMPARE(beeps, played ? 0 : 1);
    // One run, one outcome.
    QTest::qWait(400);
    QCOMPARE(finished.size(), 1);
}

// The first player would stall for half a minute; the second sound must end it at once,
// without a beep for it and without leaving it running.
void TestSound::newSoundReplacesThePlayingOne()
{
    QTemporaryDir dir;
    const QString slow = dir.filePath("slow.wav");
    const QString quick = dir.filePath("quick.wav");
    QVERIFY(writeFile(slow, "RIFF"));
    QVERIFY(writeFile(quick, "RIFF"));
    int beeps = 0;
    QtSound sound([&] { ++beeps; },
                  script("echo $$ > \"$1.pid\"; case \"$1\" in *slow*) echo playing 20000; "
                         "exec sleep 30;; esac"),
                  {5000, 300, 30000});
    QSignalSpy finished(&sound, &QtSound::finished);
    sound.playAsync(slow);
    QByteArray pid;
    QTRY_VERIFY(!(pid = readFile(slow + ".pid")).isEmpty());
    const QString proc = "/proc/" + QString::fromLatin1(pid.trimmed());
    QVERIFY(QFile::exists(proc));

    sound.playAsync(quick);
    QVERIFY(finished.wait(5000));
    QCOMPARE(finished[0][0].toBool(), true);
    QTRY_VERIFY(!QFile::exists(proc)); // killed and reaped
    QTest::qWait(300);
    QCOMPARE(finished.size(), 1);
    QCOMPARE(beeps, 0);
}

// Found by the sanitizer run: the player's deletion was queued to its thread just before the
// thread was told to quit, and was dropped when the thread had not yet reached its loop or was
// still busy, leaving the player and its process. Closing right after a sound is asked for
// hits that at once; the leak check of the sanitizer run tells the lost player every time,
// the check below a player process left running.
void TestSound::closingStopsThePlayingSound()
{
    QTemporaryDir dir;
    const QString slow = dir.filePath("slow.wav");
    QVERIFY(writeFile(slow, "RIFF"));
    for (int round = 0; round < 10; ++round) {
        QFile::remove(slow + ".pid");
        {
            QtSound sound([] {}, script("echo $$ > \"$1.pid\"; echo playing 20000; exec sleep 30"),
                          {5000, 300, 30000});
            sound.playAsync(slow);
        }
        // A player that got as far as writing its number must be gone.
        QTest::qWait(300);
        const QByteArray pid = readFile(slow + ".pid").trimmed();
        if (!pid.isEmpty())
            QVERIFY2(!QFile::exists("/proc/" + QString::fromLatin1(pid)),
                     qPrintable(QString("round %1").arg(round)));
    }
}

void TestSound::realPlayerReachesTheSink_data()
{
    QTest::addColumn<QString>("name");
    // One decoder serves every type: a row each for the types a desktop's sound theme and
    // music folder hold.
    QTest::newRow("WAV") << "chime.wav";
    QTest::newRow("FLAC") << "chime.flac";
    QTest::newRow("Ogg Vorbis") << "chime.oga";
}

void TestSound::realPlayerReachesTheSink()
{
    QFETCH(QString, name);
    const QString chime = m_dir.filePath(name);
    QVERIFY(PulseRig::writeTone(chime, 400));
    PulseRig pulse;
    QVERIFY(pulse.start());
    qputenv("PULSE_SERVER", pulse.server().toUtf8());
    QVERIFY(pulse.startRecording());
    int beeps = 0;
    QtSound sound([&] { ++beeps; }, {HOROLUX_PLAY_BIN});
    QSignalSpy finished(&sound, &QtSound::finished);
    sound.playAsync(chime);
    // The stream shows up at the server while it plays.
    QTRY_VERIFY_WITH_TIMEOUT(pulse.sinkInputs().contains("application.process.binary = "
                                                         "\"horolux-play\""),
                             5000);
    QVERIFY(finished.wait(10000));
    QCOMPARE(finished[0][0].toBool(), true);
    QCOMPARE(beeps, 0);
    QTest::qWait(300);
    const QByteArray recorded = pulse.stopRecording();
    // 400 ms of the tone is 8820 samples, most of them far from the zero line.
    QVERIFY2(PulseRig::loudSamples(recorded) > 5000,
             qPrintable(QString::number(PulseRig::loudSamples(recorded))));
    QVERIFY(pulse.sinkInputs().trimmed().isEmpty());
    qputenv("PULSE_SERVER", QFile::encodeName("unix:" + m_dir.filePath("no-server")));
}

void TestSound::realPlayerWithoutServerBeeps()
{
    int beeps = 0;
    QtSound sound([&] { ++beeps; }, {HOROLUX_PLAY_BIN});
    QSignalSpy finished(&sound, &QtSound::finished);
    sound.playAsync(m_chime);
    QVERIFY(finished.wait(10000));
    QCOMPARE(finished[0][0].toBool(), false);
    QCOMPARE(beeps, 1);
}

// A server that takes the connection and never answers holds the player in its first call.
void TestSound::realPlayerStalledServerIsCutOff()
{
    QLocalServer stalled;
    QVERIFY(stalled.listen(m_dir.filePath("stalled")));
    qputenv("PULSE_SERVER", QFile::encodeName("unix:" + m_dir.filePath("stalled")));
    int beeps = 0;
    QtSound sound([&] { ++beeps; }, {HOROLUX_PLAY_BIN}, {1500, 300, 3000});
    QSignalSpy finished(&sound, &QtSound::finished);
    sound.playAsync(m_chime);
    QVERIFY(finished.wait(8000));
    QCOMPARE(finished[0][0].toBool(), false);
    QCOMPARE(beeps, 1);
    qputenv("PULSE_SERVER", QFile::encodeName("unix:" + m_dir.filePath("no-server")));
}

// Text named .wav reaches the real player, which must refuse it; each refusal beeps once.
void TestSound::realPlayerRefusesNonAudioFiles()
{
    const QString notes = m_dir.filePath("notes.wav");
    QVERIFY(writeFile(notes, "This is plain text, not a sound.\n"));
    int beeps = 0;
    QtSound sound([&] { ++beeps; }, {HOROLUX_PLAY_BIN});
    QSignalSpy finished(&sound, &QtSound::finished);
    sound.playAsync(notes);
    QVERIFY(finished.wait(10000));
    sound.playAsync(notes);
    QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 2, 10000);
    QCOMPARE(finished[1][0].toBool(), false);
    QCOMPARE(beeps, 2);
}

// A clock killed outright (SIGKILL, a crash, a lost display) once left the player streaming a
// long file to its end. A shell stands in for the clock here.
void TestSound::realPlayerEndsWithItsParent()
{
    PulseRig pulse;
    QVERIFY(pulse.start());
    const QString tone = m_dir.filePath("long.wav");
    QVERIFY(PulseRig::writeTone(tone, 60000));
    const QString player = "PULSE_SERVER=" + pulse.server() + " HOROLUX_PLAYER_PARENT=";
    // Started by another than the clock it names: that clock has gone already.
    QCOMPARE(
        QProcess::execute("/bin/sh", {"-c", player + "1 \"$0\" \"$1\"", HOROLUX_PLAY_BIN, tone}),
        4);

    QProcess clock;
    clock.start("/bin/sh",
                {"-c", player + "$$ \"$0\" \"$1\" & echo $!; wait", HOROLUX_PLAY_BIN, tone});
    QByteArray out;
    QTRY_VERIFY_WITH_TIMEOUT((out += clock.readAllStandardOutput()).contains("playing"), 10000);
    const QString stat = QString::fromUtf8("/proc/" + out.left(out.indexOf('\n')) + "/stat");
    clock.kill();
    // Gone, or a zombie nobody reaps.
    QTRY_VERIFY_WITH_TIMEOUT(readFile(stat).isEmpty() || readFile(stat).contains(") Z "), 10000);
}

// Installed (bin/ and libexec/horolux/ under one prefix), else beside the clock (a build tree).
void TestSound::playerIsFoundWhereItIsInstalled()
{
    QTemporaryDir prefix;
    const QString bin = prefix.filePath("bin"),
                  installed = prefix.filePath("libexec/horolux/horolux-play");
    QVERIFY(QDir().mkpath(bin) && QDir().mkpath(prefix.filePath("libexec/horolux")));
    QCOMPARE(QtSound::playerProgram(bin), bin + "/horolux-play");
    QVERIFY(writeFile(installed, "") && QFile::setPermissions(installed, QFile::ExeOwner));
    QCOMPARE(QtSound::playerProgram(bin), installed);
}

// The X bell is often silenced where a sound server runs; the theme's bell is heard there.
void TestSound::beepPlaysTheThemesBell()
{
    qputenv("XDG_DATA_DIRS", "/usr/share"); // with sound-theme-freedesktop
    PulseRig pulse;
    QVERIFY(pulse.start());
    qputenv("PULSE_SERVER", pulse.server().toUtf8());
    int beeps = 0;
    QtSound sound([&] { ++beeps; }, {HOROLUX_PLAY_BIN});
    sound.beep();
    // The player names its stream after the file.
    QTRY_VERIFY_WITH_TIMEOUT(pulse.sinkInputs().contains("media.name = \"bell.oga\""), 5000);
    QTRY_VERIFY_WITH_TIMEOUT(pulse.sinkInputs().trimmed().isEmpty(), 10000);
    QCOMPARE(beeps, 0);

    // A bell that cannot be played rings the X bell instead: once, not the bell again.
    qputenv("PULSE_SERVER", QFile::encodeName("unix:" + m_dir.filePath("no-server")));
    sound.beep();
    QTRY_COMPARE_WITH_TIMEOUT(beeps, 1, 5000);
    QTest::qWait(300);
    QCOMPARE(beeps, 1);

    // Without the theme's file: the X bell, at once.
    qputenv("XDG_DATA_DIRS", QFile::encodeName(m_dir.filePath("no-themes")));
    sound.beep();
    QCOMPARE(beeps, 2);
}

QTEST_MAIN(TestSound)
#include "tst_sound.moc"
