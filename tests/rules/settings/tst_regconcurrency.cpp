#include "doubles/DiskFiles.h"
#include "platform/linux/LinuxClock.h"
#include "rules/settings/DeferredRegistry.h"
#include "rules/settings/RegFile.h"
#include "rules/settings/RegFileRegistry.h"
#include "rules/settings/SettingsStore.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

class TestRegConcurrency : public QObject {
    Q_OBJECT
private slots:
    // Two copies of the program writing different values at once must never leave a file
    // that does not parse, and each one's last value must survive.
    void twoWritersLoseNothing();
    // A lock held by another process once froze the face: a write must be kept instead, the
    // timer keep firing, and the value land once the lock is released.
    void heldLockDelaysTheWriteNotTheTimer();
};

void TestRegConcurrency::heldLockDelaysTheWriteNotTheTimer()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("settings.reg");
    QProcess holder;
    holder.start("flock", {"-x", path + ".lock", "sh", "-c", "echo held; exec cat"});
    QVERIFY(holder.waitForReadyRead(10000));
    RegFileRegistry file(diskFiles(), path);
    LinuxClock clock;
    DeferredRegistry deferred(file, clock);
    SettingsStore store(deferred);
    store.WriteRegInt("Settings", "PFMax", 500);
    QCOMPARE(store.ReadRegInt("Settings", "PFMax", 100),
             500); // answered from what is kept
    int ticks = 0;
    bool keptWhileHeld = false;
    QTimer timer;
    connect(&timer, &QTimer::timeout, [&] {
        deferred.retry();
        if (++ticks == 5) {
            keptWhileHeld = deferred.pending() == 1;
            holder.closeWriteChannel(); // cat ends, flock lets go
        }
    });
    timer.start(10);
    QTRY_VERIFY(ticks > 5 && deferred.pending() == 0);
    QVERIFY(keptWhileHeld);
    QVERIFY(!deferred.takeLoss());
    QCOMPARE(SettingsStore(file).ReadRegInt("Settings", "PFMax", 100), 500);
    holder.waitForFinished(5000);
}

void TestRegConcurrency::twoWritersLoseNothing()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("settings.reg");
    const int count = 1000;
    QProcess a, b;
    a.start(REGWRITER_BIN, {path, "A", QString::number(count)});
    b.start(REGWRITER_BIN, {path, "B", QString::number(count)});
    QVERIFY(a.waitForStarted() && b.waitForStarted());

    // While they run, every read of the file must parse to the key with sane values.
    int checks = 0;
    while (a.state() != QProcess::NotRunning || b.state() != QProcess::NotRunning) {
        QFile f(path);
        if (f.open(QIODevice::ReadOnly)) {
            const QByteArray text = f.readAll();
            if (!text.isEmpty()) {
                QVERIFY2(text.startsWith("REGEDIT4\n"), text.left(40).constData());
                QVERIFY(RegFile::understood(text));
                QCOMPARE(text.count("\n["), 1);
                ++checks;
            }
        }
        a.waitForFinished(5);
        b.waitForFinished(5);
    }
    QCOMPARE(a.exitCode(), 0);
    QCOMPARE(b.exitCode(), 0);
    QVERIFY(checks > 0);

    RegFileRegistry reg(diskFiles(), path);
    SettingsStore store(reg);
    QCOMPARE(store.ReadRegInt("Settings", "A", -1), count - 1);
    QCOMPARE(store.ReadRegInt("Settings", "B", -1), count - 1);
}

QTEST_GUILESS_MAIN(TestRegConcurrency)
#include "tst_regconcurrency.moc"
