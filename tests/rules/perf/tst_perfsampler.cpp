#include "core/ClockReading.h"
#include "doubles/FakeClock.h"
#include "doubles/FakeDriveInfo.h"
#include "doubles/FakePerfSource.h"
#include "doubles/RecordingSink.h"
#include "rules/perf/PerfSampler.h"
#include "rules/perf/PerfTotals.h"
#include "rules/settings/SettingsInForce.h"

#include <QTest>

#include <limits>

// The slices the sampler reads and writes.
struct SamplerState {
    PerfTotals perf;
    SettingsInForce settings;
    ClockReading clock;
};

Q_DECLARE_METATYPE(DriveFigures)

class TestPerfSampler : public QObject {
    Q_OBJECT

    SamplerState state;
    FakePerfSource perf;
    FakeDriveInfo drives;
    RecordingSink bars;

    PerfSampler sampler()
    {
        return PerfSampler(state.perf, state.settings, state.clock, perf, drives, bars);
    }
    void at(int stamp)
    {
        state.clock.CurrentSecond = quint16(stamp / 1000);
        state.clock.CurrentMillisecond = quint16(stamp % 1000);
    }

private slots:
    void init()
    {
        state = SamplerState();
        perf = FakePerfSource();
        drives = FakeDriveInfo();
        bars = RecordingSink();
    }

    void elapsedTime_data()
    {
        QTest::addColumn<int>("last");
        QTest::addColumn<int>("stamp");
        QTest::addColumn<int>("tenths");
        QTest::newRow("one second") << 12000 << 13000 << 10;
        QTest::newRow("across the minute") << 59500 << 400 << 9;
        QTest::newRow("remainder dropped") << 1000 << 2199 << 11;
        QTest::newRow("same stamp") << 5000 << 5000 << 0;
        QTest::newRow("just under a minute") << 30001 << 30000 << 599;
    }
    void elapsedTime()
    {
        QFETCH(int, last);
        QFETCH(int, stamp);
        QFETCH(int, tenths);
        state.perf.LastSampleStamp = last;
        state.perf.RunningTime = 7;
        at(stamp);
        sampler().UpdateStatus();
        QCOMPARE(state.perf.RunningTime, 7 + tenths);
        QCOMPARE(state.perf.LastSampleStamp, stamp);
    }

    // The rate is computed only for samples more than 100 ms and less than 10 s apart.
    void rateWindow_data()
    {
        QTest::addColumn<int>("elapsed");
        QTest::addColumn<bool>("computed");
        QTest::newRow("100") << 100 << false;
        QTest::newRow("101") << 101 << true;
        QTest::newRow("9999") << 9999 << true;
        QTest::newRow("10000") << 10000 << false;
        QTest::newRow("11 s") << 11000 << false;
    }
    void rateWindow()
    {
        QFETCH(int, elapsed);
        QFETCH(bool, computed);
        state.perf.LastSampleStamp = 20000;
        state.perf.LastPageFaults = 1000;
        perf.faults = 1000 + 3 * elapsed; // 3000 faults per second
        at(20000 + elapsed);
        sampler().UpdateStatus();
        QCOMPARE(bars.wasShown(Indicator::PF), computed);
        QCOMPARE(state.perf.PageFaultRateSum, computed ? 3000 : 0);
        QCOMPARE(state.perf.LastPageFaults, perf.faults);
    }

    void pagingLevel_data()
    {
        QTest::addColumn<int>("max");
        QTest::addColumn<int>("delta");
        QTest::addColumn<int>("newMax");
        QTest::addColumn<int>("level");
        QTest::newRow("raises the ceiling") << 100 << 350 << 350 << 116;
        QTest::newRow("hundredths truncated") << 150 << 120 << 150 << 120;
        QTest::newRow("half") << 1000 << 500 << 1000 << 50;
        QTest::newRow("counter went down") << 100 << -40 << 100 << -40;
    }
    void pagingLevel()
    {
        QFETCH(int, max);
        QFETCH(int, delta);
        QFETCH(int, newMax);
        QFETCH(int, level);
        state.settings.PageFaultMax = max;
        state.perf.LastSampleStamp = 12000;
        state.perf.LastPageFaults = 1000;
        perf.faults = 1000 + delta;
        at(13000);
        sampler().UpdateStatus();
        QCOMPARE(state.settings.PageFaultMax, newMax);
        QCOMPARE(bars.last(Indicator::PF), level);
        // A falling counter's negative rate goes into the sum unchanged.
        QCOMPARE(state.perf.PageFaultRateSum, delta);
    }

    // The first sample has no earlier count; the paging bar first moves at the second.
    void pagingStartsAtSecondSample()
    {
        perf.faults = 500;
        PerfSampler s = sampler();
        at(1000);
        s.UpdateStatus();
        QVERIFY(!bars.wasShown(Indicator::PF));
        perf.faults = 600;
        at(2000);
        s.UpdateStatus();
        QCOMPARE(bars.last(Indicator::PF), 100);
        QCOMPARE(state.perf.PageFaultRateSum, 100);
    }

    void pagingUnavailable()
    {
        PerfSampler s = sampler();
        for (int i = 1; i <= 3; ++i) {
            at(i * 1000);
            s.UpdateStatus();
        }
        QVERIFY(!bars.wasShown(Indicator::PF));
        QCOMPARE(state.perf.LastPageFaults, -1);
        QCOMPARE(state.perf.PageFaultRateSum, 0);
    }

    // A statistic that stops answering must not turn into a huge negative rate.
    void pagingLostAfterGoodCount()
    {
        state.perf.LastSampleStamp = 1000;
        state.perf.LastPageFaults = 1000000;
        perf.faults = -1;
        at(2000);
        sampler().UpdateStatus();
        QVERIFY(!bars.wasShown(Indicator::PF));
        QCOMPARE(state.perf.PageFaultRateSum, 0);
        QCOMPARE(state.perf.LastPageFaults, -1);
    }

    // 2,000,000,000 faults in 101 ms is far beyond 32 bits per second: it must not wrap negative.
    void hugeRateSaturates()
    {
        state.perf.LastSampleStamp = 1000;
        state.perf.LastPageFaults = 1;
        perf.faults = 2000000001;
        at(1101);
        sampler().UpdateStatus();
        QCOMPARE(state.settings.PageFaultMax, std::numeric_limits<qint32>::max());
        QCOMPARE(state.perf.PageFaultRateSum, std::numeric_limits<qint32>::max());
        QCOMPARE(bars.last(Indicator::PF), 100);
    }

    void totalsDoNotWrap()
    {
        const qint32 max = std::numeric_limits<qint32>::max();
        state.perf.RunningTime = max - 5;
        state.perf.CpuLimitedTime = max - 5;
        state.perf.MemoryLimitedTime = max - 5;
        state.perf.LastSampleStamp = 1000;
        perf.cpu = 100;
        perf.load = 100;
        at(2000);
        sampler().UpdateStatus();
        QCOMPARE(state.perf.RunningTime, max);
        QCOMPARE(state.perf.CpuLimitedTime, max);
        QCOMPARE(state.perf.MemoryLimitedTime, max);
    }

    void limitedTimes_data()
    {
        QTest::addColumn<int>("cpu");
        QTest::addColumn<int>("load");
        QTest::addColumn<int>("cpuTenths");
        QTest::addColumn<int>("memTenths");
        QTest::newRow("95 and 84: neither") << 95 << 84 << 0 << 0;
        QTest::newRow("96 and 85: both") << 96 << 85 << 10 << 10;
        QTest::newRow("unavailable") << -1 << -1 << 0 << 0;
        QTest::newRow("cpu only") << 100 << 0 << 10 << 0;
    }
    void limitedTimes()
    {
        QFETCH(int, cpu);
        QFETCH(int, load);
        QFETCH(int, cpuTenths);
        QFETCH(int, memTenths);
        perf.cpu = cpu;
        perf.load = load;
        state.perf.LastSampleStamp = 12000;
        at(13000);
        sampler().UpdateStatus();
        QCOMPARE(state.perf.CpuLimitedTime, cpuTenths);
        QCOMPARE(state.perf.MemoryLimitedTime, memTenths);
        QCOMPARE(bars.last(Indicator::CPU), cpu);
        QCOMPARE(bars.last(Indicator::MEM), load);
    }

    void diskUsage_data()
    {
        QTest::addColumn<qint64>("totalKB");
        QTest::addColumn<quint64>("freeClusters");
        QTest::addColumn<quint64>("clusterBytes");
        QTest::addColumn<int>("percent");
        QTest::newRow("75%") << qint64(1000000) << quint64(250000) << quint64(1024) << 75;
        // 8 GiB drive, 3 GiB free: 62% with no 32-bit overflow.
        QTest::newRow("8 GiB") << qint64(8388608) << quint64(786432) << quint64(4096) << 62;
        QTest::newRow("full") << qint64(1000) << quint64(0) << quint64(4096) << 100;
        // A total measured on another drive: free larger than total is shown as 0%, not negative.
        QTest::newRow("free above total") << qint64(1000) << quint64(2000) << quint64(1024) << 0;
        QTest::newRow("16 TiB") << qint64(17179869184) << quint64(1073741824) << quint64(4096)
                                << 75;
    }
    void diskUsage()
    {
        QFETCH(qint64, totalKB);
        QFETCH(quint64, freeClusters);
        QFETCH(quint64, clusterBytes);
        QFETCH(int, percent);
        state.perf.DriveTotalKB = totalKB;
        state.settings.MonitorDrive = "/data";
        drives.figures = {1, clusterBytes, freeClusters, 0};
        sampler().UpdateStatus();
        QCOMPARE(drives.asked, QStringList{"/data"});
        QCOMPARE(state.perf.DiskUsagePercent, percent);
        QCOMPARE(bars.last(Indicator::DSK), percent);
    }

    void diskUnreadableKeepsValue()
    {
        state.perf.DriveTotalKB = 1000;
        state.perf.DiskUsagePercent = 42;
        drives.ok = false;
        sampler().UpdateStatus();
        QCOMPARE(state.perf.DiskUsagePercent, 42);
        QVERIFY(!bars.wasShown(Indicator::DSK));
    }

    // No size measured yet: the percentage cannot be computed (and must not divide by zero).
    void diskWithoutTotalKeepsValue()
    {
        state.perf.DriveTotalKB = 0;
        drives.figures = {1, 4096, 10, 100};
        sampler().UpdateStatus();
        QCOMPARE(state.perf.DiskUsagePercent, 0);
        QVERIFY(!bars.wasShown(Indicator::DSK));
    }

    void sampleOrder()
    {
        state.perf.DriveTotalKB = 100;
        drives.figures = {1, 1024, 50, 100};
        sampler().UpdateStatus();
        const QStringList reads{"PerfStats\\StatData|KERNEL\\CPUUsage",
                                "PerfStats\\StatData|VMM\\cPageFaults"};
        QCOMPARE(perf.reads, reads);
        QCOMPARE(bars.shown.size(), 3);
        QCOMPARE(bars.shown[0].first, Indicator::CPU);
        QCOMPARE(bars.shown[1].first, Indicator::DSK);
        QCOMPARE(bars.shown[2].first, Indicator::MEM);
    }

    void driveSpace_data()
    {
        QTest::addColumn<DriveFigures>("figures");
        QTest::addColumn<qint64>("kb");
        QTest::newRow("clusters") << DriveFigures{8, 512, 0, 1000} << qint64(4000);
        QTest::newRow("rounds down") << DriveFigures{1, 1000, 0, 3} << qint64(2);
        QTest::newRow("4 TiB") << DriveFigures{1, 4096, 0, 1073741824} << qint64(4294967296);
        QTest::newRow("empty") << DriveFigures{1, 4096, 0, 0} << qint64(0);
    }
    void driveSpace()
    {
        QFETCH(DriveFigures, figures);
        QFETCH(qint64, kb);
        state.perf.DriveTotalKB = 123;
        drives.figures = figures;
        QVERIFY(sampler().GetDriveSpace("/home"));
        QCOMPARE(drives.asked, QStringList{"/home"});
        QCOMPARE(state.perf.DriveTotalKB, kb);
    }

    void driveSpaceFailureKeepsTotal()
    {
        state.perf.DriveTotalKB = 123;
        drives.ok = false;
        QVERIFY(!sampler().GetDriveSpace("/nowhere"));
        QCOMPARE(state.perf.DriveTotalKB, qint64(123));
        // Figures whose product overflows 64 bits are not believed either.
        drives.ok = true;
        drives.figures = {1u << 31, 1u << 31, 0, 1u << 31};
        QVERIFY(!sampler().GetDriveSpace("/odd"));
        QCOMPARE(state.perf.DriveTotalKB, qint64(123));
    }

    // The first sample covers the time since monitoring started, not since the minute began.
    void firstSampleCountsFromStart()
    {
        FakeClock clock;
        clock.current.setTime(QTime(9, 0, 42, 250));
        PerfSampler s(state.perf, state.settings, state.clock, perf, drives, bars, &clock);
        s.StartStat();
        QCOMPARE(perf.reads, QStringList{"PerfStats\\StartStat|KERNEL\\CPUUsage"});
        QCOMPARE(state.perf.LastSampleStamp, 42250);
        at(43300);
        s.UpdateStatus();
        QCOMPARE(state.perf.RunningTime, 10);
        s.StopStat();
        QCOMPARE(perf.reads.last(), "PerfStats\\StopStat|KERNEL\\CPUUsage");
    }
};

QTEST_GUILESS_MAIN(TestPerfSampler)
#include "tst_perfsampler.moc"
