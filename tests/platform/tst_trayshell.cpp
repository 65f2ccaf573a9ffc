#include "platform/QtSound.h"
#include "platform/QtTrayShell.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

namespace {

QIcon cyanIcon()
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::cyan);
    return QIcon(pixmap);
}

struct Notification {
    int id;
    ITrayShell::Mouse message;
};

} // namespace

class TestTraySound : public QObject {
    Q_OBJECT
private slots:
    void noTrayRefusesAdd();
    void addModifyRemove();
    void activationReasons_data();
    void activationReasons();
    void removingFromInsideTheCallback();

    void unplayableFilesBeep_data();
    void unplayableFilesBeep();
    void noAudioDeviceBeeps();
    void nonAudioFileBeepsOnce();
};

void TestTraySound::noTrayRefusesAdd()
{
    QtTrayShell shell([] { return false; });
    QVERIFY(!shell.add({1, cyanIcon(), "tip"}));
    QVERIFY(!shell.iconFor(1));
    QVERIFY(!shell.modify({1, cyanIcon(), "tip"}));
    QVERIFY(!shell.remove({1, cyanIcon(), "tip"}));
}

void TestTraySound::addModifyRemove()
{
    QtTrayShell shell([] { return true; });
    QVERIFY(shell.add({1, cyanIcon(), "first"}));
    QVERIFY(!shell.add({1, cyanIcon(), "again"})); // one icon per identifier
    QVERIFY(shell.add({2, QIcon(), "second"}));
    QCOMPARE(shell.iconFor(1)->toolTip(), QString("first"));
    QVERIFY(shell.modify({1, cyanIcon(), "changed"}));
    QCOMPARE(shell.iconFor(1)->toolTip(), QString("changed"));
    QVERIFY(!shell.modify({3, QIcon(), "unknown"}));
    QVERIFY(shell.remove({1, QIcon(), ""}));
    QVERIFY(!shell.iconFor(1));
    QVERIFY(!shell.remove({1, QIcon(), ""}));
    QVERIFY(shell.iconFor(2));
}

void TestTraySound::activationReasons_data()
{
    QTest::addColumn<int>("reason");
    QTest::addColumn<int>("message");
    using M = ITrayShell::Mouse;
    QTest::newRow("trigger") << int(QSystemTrayIcon::Trigger) << int(M::LeftUp);
    QTest::newRow("double") << int(QSystemTrayIcon::DoubleClick) << int(M::LeftDoubleClick);
    QTest::newRow("context") << int(QSystemTrayIcon::Context) << int(M::RightUp);
    QTest::newRow("middle") << int(QSystemTrayIcon::MiddleClick) << int(M::Other);
    QTest::newRow("unknown") << int(QSystemTrayIcon::Unknown) << int(M::Other);
}

void TestTraySound::activationReasons()
{
    QFETCH(int, reason);
    QFETCH(int, message);
    QtTrayShell shell([] { return true; });
    QList<Notification> got;
    shell.setCallback([&](int id, ITrayShell::Mouse m, QPoint) { got.append({id, m}); });
    QVERIFY(shell.add({7, cyanIcon(), "tip"}));
    emit shell.iconFor(7)->activated(static_cast<QSystemTrayIcon::ActivationReason>(reason));
    QCOMPARE(got.size(), 1);
    QCOMPARE(got[0].id, 7);
    QCOMPARE(int(got[0].message), message);
}

void TestTraySound::removingFromInsideTheCallback()
{
    QtTrayShell shell([] { return true; });
    int calls = 0;
    shell.setCallback([&](int id, ITrayShell::Mouse, QPoint) {
        ++calls;
        shell.setCallback({});
        QVERIFY(shell.remove({id, QIcon(), ""}));
    });
    QVERIFY(shell.add({3, cyanIcon(), "tip"}));
    QPointer<QSystemTrayIcon> icon = shell.iconFor(3);
    emit icon->activated(QSystemTrayIcon::Trigger);
    QCOMPARE(calls, 1);
    QVERIFY(!shell.iconFor(3));
    QTRY_VERIFY(icon.isNull());
}

void TestTraySound::unplayableFilesBeep_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("empty name") << "";
    QTest::newRow("missing") << "missing.wav";
    QTest::newRow("directory") << "folder";
    QTest::newRow("unreadable") << "locked.wav";
}

void TestTraySound::unplayableFilesBeep()
{
    QFETCH(QString, name);
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir("folder"));
    QFile locked(dir.filePath("locked.wav"));
    QVERIFY(locked.open(QIODevice::WriteOnly));
    locked.write("RIFF");
    locked.close();
    locked.setPermissions(QFileDevice::Permissions());
    if (name == "locked.wav" && ::geteuid() == 0)
        QSKIP("root reads every file");

    int beeps = 0;
    // The device question must not even be asked for these.
    QtSound sound([&] { ++beeps; }, [] { return true; });
    sound.playAsync(name.isEmpty() ? QString() : dir.filePath(name));
    QCOMPARE(beeps, 1);
    QVERIFY(!sound.hasPlayer());
}

void TestTraySound::noAudioDeviceBeeps()
{
    QTemporaryDir dir;
    QFile file(dir.filePath("chime.wav"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(64, '\0'));
    file.close();
    int beeps = 0;
    QtSound sound([&] { ++beeps; }, [] { return false; });
    sound.playAsync(file.fileName());
    QCOMPARE(beeps, 1);
    QVERIFY(!sound.hasPlayer());
    sound.beep();
    QCOMPARE(beeps, 2);
}

// A file that is not sound reaches the player, which must report it without hanging, and the
// failure must turn into exactly one beep. Nothing audible can come of a text file.
void TestTraySound::nonAudioFileBeepsOnce()
{
    QTemporaryDir dir;
    QFile file(dir.filePath("notes.wav"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("This is plain text, not a sound.\n");
    file.close();
    int beeps = 0;
    QtSound sound([&] { ++beeps; }, [] { return true; });
    sound.playAsync(file.fileName());
    QVERIFY(sound.hasPlayer());
    QTRY_COMPARE_WITH_TIMEOUT(beeps, 1, 10000);
    // A second failing file reuses the player and beeps once more.
    sound.playAsync(file.fileName());
    QTRY_COMPARE_WITH_TIMEOUT(beeps, 2, 10000);
    QTest::qWait(200);
    QCOMPARE(beeps, 2);
}

QTEST_MAIN(TestTraySound)
#include "tst_traysound.moc"
