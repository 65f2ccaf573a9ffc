// Sets the clock through the program's Linux clock setter and prints what came of it:
//   clocksetter_probe local|utc YEAR MONTH DAY HOUR MINUTE SECOND [options]
//   --timeout MS        how long to wait for the time service
//   --again-after MS    asks a second time while the first still waits
//   --quit-after MS     quits the application while the first still waits
//   --now SECONDS       the time it is now, in seconds since 1970 UTC
//   --zone NAME         the system's time zone
// Prints "result=0|1 reason=TEXT" (and "again=0|1 busy=0|1 reason=TEXT" for the second ask).
// It refuses to run where it could really set the clock: with the right to set it, or with no
// private system bus named.
#include "platform/linux/LinuxClockSetter.h"
#include "ports/IClock.h"

#include <QCoreApplication>
#include <QFile>
#include <QTimer>

#include <cstdio>

namespace {

constexpr int CapSysTime = 25;

bool maySetClock()
{
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly))
        return true; // unknown: assume the worst
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("CapEff:")) {
            bool ok = false;
            const qulonglong caps = line.mid(7).trimmed().toULongLong(&ok, 16);
            return !ok || (caps >> CapSysTime) & 1;
        }
    }
    return true;
}

bool onPrivateBus()
{
    const QByteArray address = qgetenv("DBUS_SYSTEM_BUS_ADDRESS");
    return !address.isEmpty() && !address.contains("/run/dbus/") &&
           !address.contains("/var/run/dbus/");
}

class FixedClock : public IClock {
public:
    QDateTime now() const override { return QDateTime::fromSecsSinceEpoch(seconds); }
    quint32 tickCount() const override { return 0; }
    void sleepMs(int) override {}
    qint64 seconds = 0;
};

void print(const QString& text)
{
    std::fputs(qPrintable(text + '\n'), stdout);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (maySetClock() || !onPrivateBus()) {
        print("refused: this process could set the real clock");
        return 4;
    }
    QStringList args = app.arguments().mid(1);
    if (args.size() < 7)
        return 2;
    const bool local = args[0] == QLatin1String("local");
    SystemTimeRecord r;
    r.wYear = quint16(args[1].toUInt());
    r.wMonth = quint16(args[2].toUInt());
    r.wDay = quint16(args[3].toUInt());
    r.wHour = quint16(args[4].toUInt());
    r.wMinute = quint16(args[5].toUInt());
    r.wSecond = quint16(args[6].toUInt());
    int timeoutMs = LinuxClockSetter::DefaultTimeoutMs;
    int againAfter = -1;
    int quitAfter = -1;
    FixedClock clock;
    bool fixedNow = false;
    for (int i = 7; i + 1 < args.size(); i += 2) {
        const int value = args[i + 1].toInt();
        if (args[i] == QLatin1String("--now")) {
            clock.seconds = args[i + 1].toLongLong();
            fixedNow = true;
        } else if (args[i] == QLatin1String("--zone")) {
            qputenv("TZ", args[i + 1].toLatin1());
        } else if (args[i] == QLatin1String("--timeout"))
            timeoutMs = value;
        else if (args[i] == QLatin1String("--again-after"))
            againAfter = value;
        else if (args[i] == QLatin1String("--quit-after"))
            quitAfter = value;
    }

    LinuxClockSetter setter(timeoutMs, fixedNow ? &clock : nullptr);
    auto set = [&] { return local ? setter.SetLocalTime(r) : setter.SetSystemTime(r); };
    if (againAfter >= 0) {
        QTimer::singleShot(againAfter, &app, [&] {
            const bool wasBusy = setter.busy();
            const bool again = set();
            print(QString("again=%1 busy=%2 reason=%3")
                      .arg(int(again))
                      .arg(int(wasBusy))
                      .arg(setter.refusalReason()));
        });
    }
    if (quitAfter >= 0)
        QTimer::singleShot(quitAfter, &app, &QCoreApplication::quit);
    // Called from inside the running event loop, as the program calls it.
    QTimer::singleShot(0, &app, [&] {
        const bool ok = set();
        print(QString("result=%1 busy=%2 reason=%3")
                  .arg(int(ok))
                  .arg(int(setter.busy()))
                  .arg(setter.refusalReason()));
        app.exit(0);
    });
    return app.exec();
}
