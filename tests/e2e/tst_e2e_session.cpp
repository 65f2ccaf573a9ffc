#include "E2eRig.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QScopeGuard>
#include <QTest>

// The desktop's session manager (XSMP) restores the clock at the next login. Qt gives the
// manager "-session ID" as the command to start it again, which the clock once refused with
// status 2, so no desktop ever brought it back.
namespace {

// The manager's next line that starts with `prefix`; empty when none came in time.
QString lineFrom(QProcess& manager, const QString& prefix, int timeoutMs = 10000)
{
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < timeoutMs) {
        while (manager.canReadLine()) {
            const QString line = QString::fromUtf8(manager.readLine()).chopped(1);
            if (line.startsWith(prefix))
                return line;
        }
        manager.waitForReadyRead(100);
    }
    return {};
}

// Written at once: nothing else here runs the event loop that would.
void tell(QProcess& manager, const QByteArray& command)
{
    manager.write(command + '\n');
    manager.waitForBytesWritten(5000);
}

} // namespace

class TestE2eSession : public QObject {
    Q_OBJECT
private slots:
    void restartedBySessionManager();
};

void TestE2eSession::restartedBySessionManager()
{
    QProcess manager;
    // Its standard input closed, it ends and takes its socket away.
    const auto ending = qScopeGuard([&] {
        manager.closeWriteChannel();
        if (!manager.waitForFinished(5000))
            manager.kill();
    });
    manager.start(XSMP_MANAGER_BIN, {});
    QVERIFY(manager.waitForStarted(5000));
    const QString address = lineFrom(manager, ""); // its first line
    QVERIFY2(!address.isEmpty(), manager.readAllStandardError().constData());
    E2eRig rig;
    QVERIFY(rig.startX());
    rig.setEnv("SESSION_MANAGER", address);

    QVERIFY(rig.startClock());
    QVERIFY2(!rig.waitForWindow(30000).isEmpty(), qPrintable(rig.clockOutput()));
    const QString registered = lineFrom(manager, "registered ");
    QVERIFY2(!registered.isEmpty(), qPrintable(rig.clockOutput()));
    const QString id = registered.section(' ', 1, 1);

    // The logout: the manager asks the clock to save itself, keeps what it is told, and ends it.
    tell(manager, "save");
    const QStringList restart = lineFrom(manager, "RestartCommand").split('\t').mid(1);
    QCOMPARE(lineFrom(manager, "RestartStyleHint"), QString("RestartStyleHint\t0")); // if running
    QCOMPARE(lineFrom(manager, "saved"), QString("saved"));
    QCOMPARE(restart.size(), 3);
    QCOMPARE(QFileInfo(restart[0]).canonicalFilePath(),
             QFileInfo(qEnvironmentVariable("HOROLUX_E2E_BIN", HOROLUX_BIN)).canonicalFilePath());
    QCOMPARE(restart[1], QString("-session"));
    QVERIFY2(restart[2].startsWith(id + "_"), qPrintable(restart[2]));
    tell(manager, "die");
    QCOMPARE(rig.waitForEnd(20000), 0);
    QVERIFY(rig.readFile(rig.settingsPath()).contains("\"StayOnTop\"="));
    QCOMPARE(lineFrom(manager, "closed"), QString("closed"));

    // The next login: the command starts the clock, which takes up its old place in the session.
    QVERIFY(rig.startClock({}, restart.mid(1)));
    QVERIFY2(!rig.waitForWindow(30000).isEmpty(), qPrintable(rig.clockOutput()));
    QCOMPARE(lineFrom(manager, "registered "), "registered " + id + " again");
    QVERIFY(rig.clockRunning());
    QCOMPARE(rig.terminate(), 0);
}

QTEST_MAIN(TestE2eSession)
#include "tst_e2e_session.moc"
