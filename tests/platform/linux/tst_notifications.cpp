// Reminders through the real notifier to a stand-in notification server on a private bus.
#include "doubles/FakePlatform.h"
#include "platform/linux/DBusNotifier.h"
#include "rules/app/MainState.h"
#include "rules/sched/Schedule.h"
#include "windows/sched/SchedulerUi.h"
#include "windows/sched/TAlarmFrm.h"

#include <QApplication>
#include <QDBusConnection>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryFile>
#include <QTest>
#include <QToolButton>

// The desktop's notification server, on a bus connection of its own.
class Server : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    QStringList calls;
    QStringList capabilities{"actions", "body-markup"};
public slots:
    QStringList GetCapabilities() { return capabilities; }
    uint Notify(const QString&, uint replaces, const QString&, const QString& summary,
                const QString& body, const QStringList& actions, const QVariantMap& hints, int)
    {
        calls << QString("Notify %1 %2|%3|%4%5")
                     .arg(replaces)
                     .arg(summary, body, actions.join(','),
                          hints.value("resident").toBool() ? "|resident" : "");
        return 7;
    }
    void CloseNotification(uint id) { calls << QString("Close %1").arg(id); }
signals:
    void ActionInvoked(uint id, const QString& key);
};

class TestNotifications : public QObject {
    Q_OBJECT
    QProcess m_bus;
    MainState m_state;
    Schedule m_schedule;
    FakePlatform m_fake{QString()};
    DBusNotifier m_notifier{3000};
    QByteArray m_address;
    const QString Actions = "default,Open,snooze,Snooze 10 min,dismiss,Dismiss|resident";

    static QWidgetList popups()
    {
        QWidgetList open = QApplication::topLevelWidgets();
        open.removeIf([](QWidget* w) { return !qobject_cast<TAlarmFrm*>(w) || !w->isVisible(); });
        return open;
    }

private slots:
    // Neither a missing server nor anything else here is worth a word.
    void init() { QTest::failOnWarning(QRegularExpression(".*")); }
    void cleanupTestCase() { m_bus.kill(); }

    void initTestCase()
    {
        // A bus of our own that starts no services: no desktop's server may answer here.
        QTemporaryFile config;
        QVERIFY(config.open() &&
                config.write(
                    "<busconfig><listen>unix:tmpdir=/tmp</listen><policy context=\"default\">"
                    "<allow send_destination=\"*\" eavesdrop=\"true\"/><allow eavesdrop=\"true\"/>"
                    "<allow own=\"*\"/></policy></busconfig>\n") > 0);
        config.close();
        m_bus.start("dbus-daemon", {"--config-file=" + config.fileName(), "--print-address"});
        QVERIFY2(m_bus.waitForReadyRead(5000), "dbus-daemon is not installed");
        const QByteArray address = m_bus.readLine().trimmed();
        qputenv("DBUS_SESSION_BUS_ADDRESS", address);
        m_address = address;
        m_fake.services.notifier = &m_notifier;
    }

    void notificationGoesWithThePopup()
    {
        SchedulerUi ui(m_schedule, m_state.clock, m_state.settings, m_fake.services, nullptr);

        // Without a server, asked for the notification alone, the pop-up comes without a wait.
        m_state.settings.NotificationOnly = true;
        QVERIFY(ui.FireScheduleItem("Reminder:Call <Ann> & Bob", QString()));
        QTRY_COMPARE_WITH_TIMEOUT(popups().size(), 1, 500);
        delete popups().first();

        Server server;
        QDBusConnection bus = QDBusConnection::connectToBus(m_address, "server");
        QVERIFY(bus.registerObject("/org/freedesktop/Notifications", &server,
                                   QDBusConnection::ExportAllContents));
        QVERIFY(bus.registerService("org.freedesktop.Notifications"));
        m_state.settings.NotificationOnly = false;
        QVERIFY(ui.FireScheduleItem("Reminder:Call <Ann> & Bob", QString()));
        // Read as markup, the user's words are escaped.
        const QString notify = "Reminder|Call &lt;Ann&gt; &amp; Bob|" + Actions;
        QTRY_COMPARE(server.calls, QStringList{"Notify 0 " + notify});
        // Dismissed until the notice's id has come back to the program.
        QTRY_VERIFY((emit server.ActionInvoked(7, "dismiss"), popups().isEmpty()));

        QVERIFY(ui.FireScheduleItem("Reminder:Call <Ann> & Bob", QString()));
        popups().first()->findChild<QPushButton*>("btnOK")->click();
        QTRY_COMPARE(server.calls, (QStringList{"Notify 0 " + notify, "Close 7",
                                                "Notify 7 " + notify, "Close 7"}));
        QDBusConnection::disconnectFromBus("server");
    }

    void snoozeAnswersBoth_data()
    {
        QTest::addColumn<QStringList>("capabilities");
        QTest::addColumn<bool>("fromNotice");
        QTest::newRow("from the notice") << QStringList{"actions"} << true;
        QTest::newRow("from the pop-up") << QStringList{"actions"} << false;
        QTest::newRow("server without actions") << QStringList{} << false;
    }
    // Snoozed in one place, the reminder leaves both, and is scheduled once, ten minutes on.
    void snoozeAnswersBoth()
    {
        QFETCH(QStringList, capabilities);
        QFETCH(bool, fromNotice);
        Server server;
        server.capabilities = capabilities;
        const QString name = QTest::currentDataTag();
        QDBusConnection bus = QDBusConnection::connectToBus(m_address, name);
        QVERIFY(bus.registerObject("/org/freedesktop/Notifications", &server,
                                   QDBusConnection::ExportAllContents));
        QVERIFY(bus.registerService("org.freedesktop.Notifications"));
        Schedule schedule;
        SchedulerUi ui(schedule, m_state.clock, m_state.settings, m_fake.services, nullptr);
        QVERIFY(ui.FireScheduleItem("Reminder:Tea", QString()));
        QTRY_COMPARE(server.calls,
                     QStringList{"Notify 0 Reminder|Tea|" +
                                 (capabilities.isEmpty() ? "dismiss,Dismiss" : Actions)});
        QCOMPARE(popups().size(), 1);
        if (fromNotice)
            QTRY_VERIFY((emit server.ActionInvoked(7, "snooze"), popups().isEmpty()));
        else
            popups().first()->findChild<QToolButton*>("btnSnooze")->click();
        QTRY_COMPARE(server.calls.last(), "Close 7");
        QVERIFY(popups().isEmpty());
        // 2000-01-03 (day 36528), the fake clock's 09:00, ten minutes on.
        QCOMPARE(schedule.lines(), QStringList{"09103652800Reminder:Tea"});
        QCOMPARE(server.calls.size(), 2);
        QDBusConnection::disconnectFromBus(name);
    }
};

QTEST_MAIN(TestNotifications)
#include "tst_notifications.moc"
