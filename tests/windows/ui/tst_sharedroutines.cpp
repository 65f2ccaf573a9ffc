#include "core/DelayPumping.h"
#include "platform/linux/LinuxClock.h"

#include <QTest>
#include <QTimer>

class TestSharedRoutines : public QObject {
    Q_OBJECT
private slots:
    void delayPumpingHandlesMessagesEvenForZero();
    void delayPumpingWaitsAndKeepsTimersRunning();
};

void TestSharedRoutines::delayPumpingHandlesMessagesEvenForZero()
{
    LinuxClock clock;
    bool handled = false;
    QMetaObject::invokeMethod(
        this, [&] { handled = true; }, Qt::QueuedConnection);
    SharedRoutines::DelayPumping([&clock] { return clock.tickCount(); }, 0);
    QVERIFY(handled);
}

void TestSharedRoutines::delayPumpingWaitsAndKeepsTimersRunning()
{
    // The time client waits two seconds this way while the clock keeps ticking.
    LinuxClock clock;
    int ticks = 0;
    QTimer timer;
    timer.setInterval(20);
    connect(&timer, &QTimer::timeout, [&] { ++ticks; });
    timer.start();
    const quint32 start = clock.tickCount();
    SharedRoutines::DelayPumping([&clock] { return clock.tickCount(); }, 150);
    QVERIFY(clock.tickCount() - start >= 150);
    QVERIFY(ticks >= 3);
}

QTEST_MAIN(TestSharedRoutines)
#include "tst_sharedroutines.moc"
