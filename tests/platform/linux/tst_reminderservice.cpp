// The clock's bus service with a recording handler, called from another connection on a
// private bus.
#include "platform/linux/DBusReminderService.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusPendingCall>
#include <QFile>
#include <QProcess>
#include <QTest>
#include <QXmlStreamReader>

class TestReminderService : public QObject {
    Q_OBJECT
    QProcess m_bus;
    QDBusConnection m_client{QString()};
    DBusReminderService m_service;
    QStringList m_asked;
    ReminderReply m_reply;

    QDBusMessage call(const QString& method, const QVariantList& args = {},
                      const QString& iface = "org.horolux.Horolux")
    {
        auto m = QDBusMessage::createMethodCall("org.horolux.Horolux", "/Horolux", iface, method);
        m.setArguments(args);
        QDBusPendingCall pending = m_client.asyncCall(m, 60000);
        [[maybe_unused]] bool done = QTest::qWaitFor([&] { return pending.isFinished(); }, 60000);
        return pending.reply();
    }
    // The interface's elements and attributes, without comments and layout.
    static QStringList shape(const QByteArray& xml)
    {
        QStringList out;
        QXmlStreamReader r(xml.mid(xml.indexOf("<interface name=\"org.horolux.Horolux\"")));
        while (!r.atEnd() && (r.readNext() != r.EndElement || r.name() != u"interface"))
            for (const auto& a : r.attributes())
                out << r.name().toString() + ' ' + a.name().toString() + '=' + a.value().toString();
        return out;
    }

private slots:
    void initTestCase()
    {
        m_bus.start("dbus-daemon", {"--session", "--nofork", "--print-address=1"});
        QVERIFY2(m_bus.waitForReadyRead(5000), "dbus-daemon is not installed");
        const QByteArray address = m_bus.readLine().trimmed();
        qputenv("DBUS_SESSION_BUS_ADDRESS", address);
        m_client = QDBusConnection::connectToBus(address, "client");
        // Held by another program, the name is not taken over.
        QVERIFY(m_client.registerService("org.horolux.Horolux"));
        QTest::ignoreMessage(QtWarningMsg, "horolux: another program owns the session bus name "
                                           "org.horolux.Horolux");
        QVERIFY(!m_service.publish({}));
        QVERIFY(m_client.unregisterService("org.horolux.Horolux"));
        QVERIFY(m_service.publish([this](const ReminderRequest& r) {
            m_asked << QString("%1|%2|%3|%4|%5")
                           .arg(int(r.verb))
                           .arg(r.time, r.text.left(9), r.item)
                           .arg(r.text.size());
            return m_reply;
        }));
        QVERIFY(!m_client.registerService("org.horolux.Horolux"));
    }
    void cleanupTestCase()
    {
        m_service.withdraw();
        QTRY_VERIFY(!m_client.interface()->isServiceRegistered("org.horolux.Horolux").value());
        QDBusConnection::disconnectFromBus("client");
        m_bus.kill();
        m_bus.waitForFinished();
    }

    void repliesAndErrors_data()
    {
        QTest::addColumn<QString>("method");
        QTest::addColumn<QVariantList>("args");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("asked");
        QTest::addColumn<QString>("answer"); // the lines, or the error's name and message
        QTest::newRow("add") << "AddReminder" << QVariantList{"12:30", "Tea"} << 0
                             << "1|12:30|Tea||3"
                             << "Added 3|12:30 Tea";
        QTest::newRow("list") << "List" << QVariantList{} << 0 << "2||||0"
                              << "Added 3|12:30 Tea";
        QTest::newRow("bad") << "Cancel" << QVariantList{7u} << 2 << "3|||7|0"
                             << "org.horolux.Horolux.Error.InvalidArgument: Why";
        QTest::newRow("failed") << "Show" << QVariantList{} << 1 << "0||||0"
                                << "org.horolux.Horolux.Error.Failed: Why";
        // Handed over whole, however long: the handler decides.
        QTest::newRow("huge") << "AddReminder" << QVariantList{"1", QString(24 << 20, 'x')} << 0
                              << "1|1|xxxxxxxxx||25165824"
                              << "Added 3|12:30 Tea";
        QTest::newRow("wrong type") << "Cancel" << QVariantList{"7"} << 0 << ""
                                    << "org.freedesktop.DBus.Error.UnknownMethod: No such method "
                                       "'Cancel' in interface 'org.horolux.Horolux' at object path"
                                       " '/Horolux' (signature 's')";
    }
    void repliesAndErrors()
    {
        QFETCH(QString, method);
        QFETCH(QVariantList, args);
        QFETCH(int, status);
        QFETCH(QString, asked);
        QFETCH(QString, answer);
        m_asked.clear();
        m_reply = {status, {"Added 3", "12:30 Tea"}, "Why"};
        const QDBusMessage reply = call(method, args);
        QCOMPARE(m_asked.join(""), asked);
        QCOMPARE(reply.type() == QDBusMessage::ErrorMessage
                     ? reply.errorName() + ": " + reply.errorMessage()
                     : reply.arguments().value(0).toStringList().join('|'),
                 answer);
    }

    // Published applications read the file: what they are told must be what runs.
    void introspectionMatchesTheInstalledFile()
    {
        QFile file(qEnvironmentVariable("HOROLUX_SOURCE_DIR") +
                   "/packaging/org.horolux.Horolux.xml");
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QDBusMessage live = call("Introspect", {}, "org.freedesktop.DBus.Introspectable");
        QCOMPARE(shape(live.arguments().value(0).toByteArray()), shape(file.readAll()));
    }
};

QTEST_GUILESS_MAIN(TestReminderService)
#include "tst_reminderservice.moc"
