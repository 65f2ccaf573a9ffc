#include "compat/winsock/SocketApi.h"
#include "platform/linux/LinuxSocketApi.h"
#include "ports/IClock.h"
#include "ports/IClockSetter.h"
#include "rules/nettime/TimeClient.h"
#include "rules/settings/SettingsInForce.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

class MachineClock : public IClock {
public:
    MachineClock() { m_ticks.start(); }
    QDateTime now() const override { return QDateTime::currentDateTime(); }
    quint32 tickCount() const override { return quint32(m_ticks.elapsed()); }
    void sleepMs(int ms) override { QThread::msleep(ms); }

private:
    QElapsedTimer m_ticks;
};

// A measurement never sets the clock.
class RefusingSetter : public IClockSetter {
public:
    bool SetLocalTime(const SystemTimeRecord&) override { return false; }
    bool SetSystemTime(const SystemTimeRecord&) override { return false; }
    QString refusalReason() const override { return {}; }
    bool busy() const override { return false; }
};

} // namespace

// Usage: timeclient_exchange [COUNT] — exchanges with the "time" service of 127.0.0.1; prints
// the microseconds from the host step (the socket has just been made) to the report, one a
// line, then the median.
int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    LinuxSocketApi sockets;
    InstallSocketApi(&sockets);
    const int count = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    SettingsInForce settings;
    settings.TimeServerHost = QStringLiteral("127.0.0.1");
    MachineClock clock;
    RefusingSetter setter;
    TimeClient client(settings, clock, setter);

    QElapsedTimer exchange;
    std::vector<qint64> micros;
    QString last;
    QObject::connect(&client, &TimeClient::step, [&](const QString& text) {
        if (text.startsWith(QLatin1String("Looking up host ")))
            exchange.start();
        else if (text.startsWith(QLatin1String("Clock ")))
            micros.push_back(exchange.nsecsElapsed() / 1000);
        last = text;
    });
    for (int i = 0; i < count; ++i) {
        client.BeginTimeUpdate();
        while (client.updating())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        if (micros.size() != size_t(i + 1)) {
            std::fprintf(stderr, "no report: %s\n", qPrintable(last));
            return 1;
        }
        std::printf("%lld\n", static_cast<long long>(micros.back()));
    }
    std::sort(micros.begin(), micros.end());
    std::printf("median %lld\n", static_cast<long long>(micros[micros.size() / 2]));
    return 0;
}
