// Stands in for the system's time service on a test's private bus: owns its name and answers
// SetTime as it does, without touching the clock.
//   timedate_recorder accept|deny|sync|silent RECORD_FILE
// Its NTP and NTPSynchronized properties come from TIMEDATE_NTP, e.g. "1 0"; both 0 without it.
// Every request is appended to RECORD_FILE as "usec relative interactive flag" (flag: whether
// the caller allowed interactive authorisation). Prints "ready" once the name is owned.
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusMessage>
#include <QFile>

#include <cstdio>

class TimeDate : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.timedate1")
    Q_PROPERTY(bool NTP MEMBER m_ntp)
    Q_PROPERTY(bool NTPSynchronized MEMBER m_synchronized)

public:
    TimeDate(const QString& mode, const QString& recordFile) : m_mode(mode), m_file(recordFile) {}

public slots:
    void SetTime(qlonglong usecUtc, bool relative, bool interactive)
    {
        QFile f(m_file);
        if (f.open(QIODevice::Append)) {
            f.write(QString("%1 %2 %3 %4\n")
                        .arg(usecUtc)
                        .arg(int(relative))
                        .arg(int(interactive))
                        .arg(int(message().isInteractiveAuthorizationAllowed()))
                        .toLatin1());
        }
        if (m_mode == QLatin1String("deny")) {
            sendErrorReply("org.freedesktop.DBus.Error.AccessDenied", "Access denied");
        } else if (m_mode == QLatin1String("sync")) {
            sendErrorReply("org.freedesktop.timedate1.AutomaticTimeSyncEnabled",
                           "Automatic time synchronization is enabled");
        } else if (m_mode == QLatin1String("silent")) {
            setDelayedReply(true); // and never answer
        }
    }

private:
    QString m_mode;
    QString m_file;
    bool m_ntp = qgetenv("TIMEDATE_NTP").startsWith('1');
    bool m_synchronized = qgetenv("TIMEDATE_NTP").endsWith('1');
};

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 3)
        return 2;
    TimeDate service(QString::fromLocal8Bit(argv[1]), QString::fromLocal8Bit(argv[2]));
    QDBusConnection bus = QDBusConnection::systemBus();
    if (!bus.registerObject("/org/freedesktop/timedate1", &service,
                            QDBusConnection::ExportAllContents) ||
        !bus.registerService("org.freedesktop.timedate1")) {
        std::fputs("not registered\n", stdout);
        return 3;
    }
    std::fputs("ready\n", stdout);
    std::fflush(stdout);
    return app.exec();
}

#include "timedate_recorder.moc"
