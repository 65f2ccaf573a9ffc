// The bus service with a recording handler, called from another connection on the test's bus.
#include "platform/linux/DBusReminderService.h"

#include <QDBusConnectionInterface>
#include <QFile>
#include <QRegularExpression>
#include <QTest>

class TestReminderService : public QObject {
    Q_OBJECT
    const QString N = "org.horolux.Horolux";
    QDBusConnectionInterface* m_names = nullptr; // the client connection's
    DBusReminderService m_service;
    QString m_asked;
    ReminderReply m_reply{0, {"Added 3", "12:30 Tea"}, "Why"};

    // What the handler was last asked, then the reply's lines or its error.
    QString call(const QString& method, const QVariantList& args, const QString& iface = {})
    {
        auto m = QDBusMessage::createMethodCall(N, "/Horolux", iface.isNull() ? N : iface, method);
        m.setArguments(args);
        QDBusPendingCall pending = m_names->connection().asyncCall(m, 60000);
        (void)QTest::qWaitFor([&] { return pending.isFinished(); }, 60000);
        const QDBusMessage r = pending.reply();
        return m_asked + (r.type() == r.ErrorMessage ? r.errorName() + ": " + r.errorMessage()
                                                     : r.arguments()[0].toStringList().join('|'));
    }

private slots:
    void initTestCase()
    {
        m_names = QDBusConnection::connectToBus(QDBusConnection::SessionBus, "client").interface();
        // Held by another program, the name is not taken over; then the first owner keeps it.
        QVERIFY(m_names->registerService(N).isValid());
        QVERIFY(!m_service.publish({}));
        QVERIFY(m_names->unregisterService(N));
        QVERIFY(m_service.publish([this](const ReminderRequest& r) {
            m_asked = QString("%1|%2|%3|%4|%5 > ")
                          .arg(QString::number(int(r.verb)), r.time, r.text.left(9), r.item,
                               QString::number(r.text.size()));
            return m_reply;
        }));
        QCOMPARE(m_names->registerService(N).value(), m_names->ServiceNotRegistered);
    }
    // What the installed file tells other programs must be what runs (comments, layout aside).
    void introspectionMatchesTheInstalledFile()
    {
        QFile f(qEnvironmentVariable("HOROLUX_SOURCE_DIR") + "/packaging/" + N + ".xml");
        QVERIFY(f.open(QIODevice::ReadOnly));
        QString x[] = {call("Introspect", {}, "org.freedesktop.DBus.Introspectable"), f.readAll()};
        for (QString& s : x)
            s = s.mid(s.indexOf("<interface name=\"" + N))
                    .section("</interface>", 0, 0)
                    .remove(QRegularExpression("<!--.*?-->|(?<=>)\\s+|</method>|/(?=>)",
                                               QRegularExpression::DotMatchesEverythingOption));
        QCOMPARE(x[0], x[1]);
    }
    void repliesAndErrors()
    {
        QCOMPARE(call("AddReminder", {"12:30", "Tea"}), "1|12:30|Tea||3 > Added 3|12:30 Tea");
        QCOMPARE(call("List", {}), "2||||0 > Added 3|12:30 Tea");
        // Handed over whole, however long: the handler decides.
        QCOMPARE(call("AddReminder", {"1", QString(24 << 20, 'x')}),
                 "1|1|xxxxxxxxx||25165824 > Added 3|12:30 Tea");
        m_reply.status = 2;
        QCOMPARE(call("Cancel", {"0a1b2c3d"}),
                 "3|||0a1b2c3d|0 > org.horolux.Horolux.Error.InvalidArgument: Why");
        m_reply.status = 1;
        QCOMPARE(call("Show", {}), "0||||0 > org.horolux.Horolux.Error.Failed: Why");
        m_service.withdraw(); // and the name is free again
        QTRY_VERIFY(!m_names->isServiceRegistered(N).value());
    }
};

QTEST_GUILESS_MAIN(TestReminderService)
#include "tst_reminderservice.moc"
