#include "E2eRig.h"

#include <QDBusArgument>
#include <QDBusInterface>
#include <QTest>

// The program read as a screen reader reads it: over AT-SPI, with the bus launcher and registry
// on a private session bus and Qt's bridge in the program.
class TestE2eAccess : public QObject {
    Q_OBJECT
private slots:
    void panelAndSettingsAsAReaderHearsThem();

private:
    QVariant call(const QString& service, const QString& path, const QString& method,
                  const QVariantList& args = {}, const QString& iface = "org.a11y.atspi.Accessible")
    {
        QDBusMessage m = QDBusMessage::createMethodCall(service, path, iface, method);
        m.setArguments(args);
        return m_a11y.call(m, QDBus::Block, 3000).arguments().value(0);
    }
    // Every element below the registry: name -> "role|text" (the Text interface's content).
    // A focusable one without a name is noted with the nearest named element above it.
    QMap<QString, QString> tree(const QString& service = "org.a11y.atspi.Registry",
                                const QString& path = "/org/a11y/atspi/accessible/root",
                                const QString& within = {})
    {
        QMap<QString, QString> out;
        const auto children = call(service, path, "GetChildren").value<QDBusArgument>();
        children.beginArray();
        while (!children.atEnd()) {
            QString s;
            QDBusObjectPath p;
            children.beginStructure();
            children >> s >> p;
            children.endStructure();
            const QVariant name = call(s, p.path(), "Get", {"org.a11y.atspi.Accessible", "Name"},
                                       "org.freedesktop.DBus.Properties");
            const QString n = name.value<QDBusVariant>().variant().toString();
            const QString role = call(s, p.path(), "GetRoleName").toString();
            if (n.isEmpty() && qdbus_cast<QList<uint>>(call(s, p.path(), "GetState")).value(0) &
                                   1u << 11) // focusable
                m_unnamed.insert(role + " in " + within);
            m_where.insert(within + '/' + n, {s, p.path()});
            out.insert(n,
                       role + '|' +
                           call(s, p.path(), "GetText", {0, -1}, "org.a11y.atspi.Text").toString());
            out.insert(tree(s, p.path(), n.isEmpty() ? within : n));
        }
        children.endArray();
        return out;
    }
    QDBusConnection m_a11y{QString()};
    QSet<QString> m_unnamed;
    QMap<QString, std::pair<QString, QString>> m_where; // "window or group/name" -> its object
};

void TestE2eAccess::panelAndSettingsAsAReaderHearsThem()
{
    E2eRig rig;
    QVERIFY(rig.startX());
    QProcess session;
    session.setEnvironment({"HOME=" + rig.home(), "XDG_RUNTIME_DIR=" + rig.home() + "/run",
                            "PATH=" + qEnvironmentVariable("PATH")}); // no DISPLAY for the launcher
    session.start("dbus-daemon", {"--session", "--nofork", "--print-address=1"});
    QVERIFY(session.waitForReadyRead(5000));
    const QString sessionBus = QString(session.readLine()).trimmed();
    // The program ends before its session bus, and the launcher with the bus.
    auto end = qScopeGuard([&] {
        rig.terminate();
        // Named connections live until they are closed: closed here, nothing is left at exit.
        m_a11y = QDBusConnection(QString());
        QDBusConnection::disconnectFromBus("a11y");
        QDBusConnection::disconnectFromBus("session");
    });
    // The session bus starts the AT-SPI bus launcher on this first call, as in a desktop session.
    QDBusInterface a11yBus("org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus",
                           QDBusConnection::connectToBus(sessionBus, "session"));
    m_a11y = QDBusConnection::connectToBus(
        a11yBus.call("GetAddress").arguments().value(0).toString(), "a11y");

    rig.setEnv("DBUS_SESSION_BUS_ADDRESS", sessionBus);
    rig.setEnv("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "1");
    QVERIFY(rig.startClock("2000-01-03 14:05:30"));
    QMap<QString, QString> t;
    QVERIFY(E2eRig::pollUntil([&] { return (t = tree()).contains("Time"); }, 15000));
    QCOMPARE(t.value("Time"), "label|14:05");
    // The levels come with the first sample, the date with the tenth tick.
    QVERIFY(E2eRig::pollUntil(
        [&] { return (t = tree()).value("Date and status") == "label|Monday, 3 January 2000"; },
        20000));
    for (const char* bar : {"Disk", "Processor", "Memory", "Paging"})
        QVERIFY(QRegularExpression("^progress bar\\|\\d{1,3} %$").match(t.value(bar)).hasMatch());
    QVERIFY(!t.contains(":") && !t.contains("")); // no colon, no unnamed digits or backdrop
    QDBusInterface("org.horolux.Horolux", "/Horolux", "org.horolux.Horolux",
                   QDBusConnection("session"))
        .call("AddReminder", "14:06", "Stretch your legs");

    // Settings, the menu's first row: its time fields are told apart.
    const QRect panel = rig.geometry(rig.waitForWindow());
    rig.x("xdotool",
          {"mousemove", QString::number(panel.center().x()), QString::number(panel.center().y()),
           "click", "3", "sleep", "0.5", "key", "--delay", "30", "Down", "Return"});
    QVERIFY(E2eRig::pollUntil([&] { return (t = tree()).contains("Settings"); }, 10000));
    for (const char* field : {"Hours", "Minutes", "Seconds"})
        QVERIFY2(t.value(field).startsWith("spin box|"), field);

    // Every window a reader reaches, each focusable control in it named: read out as its role
    // alone, a field or button cannot be told from its neighbours. A step waits for a window,
    // opens a menu row, or presses a button through its action (OK and Cancel close a window).
    const QStringList steps =
        QString("Reminder;Reminder/OK;Set system clock (Internet)/Configure;Automatic Time Update;"
                "Automatic Time Update/Cancel;Settings/Cancel;2;Scheduler;Scheduler/Add;"
                "Add Scheduler Item;Add Scheduler Item/Cancel;Scheduler/Cancel;3;Quick Reminder;"
                "Quick Reminder/Cancel;4;System Performance Status;System Performance Status/OK;"
                "9;About Horolux;About Horolux/OK;7;Horolux Help")
            .split(';');
    QMap<QString, QString> seen;
    for (const QString& step : steps) {
        const QString window = step.section('/', 0, 0);
        if (step.front().isDigit()) {
            rig.x("xdotool", QStringList{"mousemove", QString::number(panel.center().x()),
                                         QString::number(panel.center().y()), "click", "3", "sleep",
                                         "0.5", "key", "--delay", "30"} +
                                 QStringList(step.toInt(), "Down") + QStringList{"Return"});
        } else if (window == step) {
            // Parentless windows (help, reminders) carry the program's icon too.
            QVERIFY2(E2eRig::pollUntil(
                         [&] {
                             return (t = tree()).contains(step) &&
                                    rig.property(rig.visibleWindows(step).value(0), "_NET_WM_ICON")
                                        .contains("Icon (32 x 32)");
                         },
                         75000),
                     qPrintable(step));
            seen.insert(t);
        } else {
            const auto [service, path] = m_where.value(step);
            m_a11y.asyncCall(
                QDBusMessage::createMethodCall(service, path, "org.a11y.atspi.Action", "DoAction")
                << 0);
            if (step.endsWith("/OK") || step.endsWith("/Cancel"))
                QVERIFY2(E2eRig::pollUntil([&] { return !tree().contains(window); }, 5000),
                         qPrintable(step));
        }
    }
    for (const char* name : {"Previous month", "Next month", "Horolux, version 1.0.0", "Topics"})
        QVERIFY2(seen.contains(name), name);
    QVERIFY2(m_unnamed.isEmpty(), qPrintable(m_unnamed.values().join('\n')));
}

// The reading side of this test is Qt's own D-Bus client, and Qt keeps objects of its
// connections until the process ends. Only this test program is spared; the clock it reads is
// a process of its own, checked as every other.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libQt6DBus.so\nleak:libQt6Core.so\n";
}

QTEST_GUILESS_MAIN(TestE2eAccess)
#include "tst_e2e_access.moc"
