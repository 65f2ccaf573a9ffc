#include "core/ClockReading.h"
#include "doubles/FakeDriveInfo.h"
#include "doubles/FakePerfSource.h"
#include "doubles/RecordingSink.h"
#include "platform/linux/LinuxDriveInfo.h"
#include "rules/perf/PerfSampler.h"
#include "rules/perf/PerfTotals.h"
#include "rules/settings/SettingsInForce.h"

#include <QProcess>
#include <QTest>

// The slices the sampler reads and writes.
struct SamplerState {
    PerfTotals perf;
    SettingsInForce settings;
    ClockReading clock;
};

// The disk bar's figure must agree with df: blocks reserved for the administrator are not
// counted as used (they made a drive df calls 18 % full read 68 %).
class TestDriveSpace : public QObject {
    Q_OBJECT
private slots:
    void figuresAsDfCountsThem_data();
    void figuresAsDfCountsThem();
    void agreesWithDfOnRoot();
};

void TestDriveSpace::figuresAsDfCountsThem_data()
{
    QTest::addColumn<quint64>("fragment");
    QTest::addColumn<quint64>("blocks");
    QTest::addColumn<quint64>("freeBlocks");
    QTest::addColumn<quint64>("available");
    QTest::addColumn<quint64>("total");
    QTest::addColumn<quint64>("free");
    QTest::addColumn<int>("percent"); // as the disk bar shows it
    QTest::newRow("nothing reserved")
        << 4096ull << 1000000ull << 250000ull << 250000ull << 1000000ull << 250000ull << 75;
    QTest::newRow("5 % reserved") << 4096ull << 1000000ull << 300000ull << 250000ull << 950000ull
                                  << 250000ull << 73;
    // The drive the fault was seen on: 68 % when the reserve counted as used.
    QTest::newRow("large reserve")
        << 4096ull << 66053021ull << 61660388ull << 20691664ull << 25084297ull << 20691664ull << 17;
    QTest::newRow("full for users, reserve left")
        << 1024ull << 8000ull << 400ull << 0ull << 7600ull << 0ull << 100;
    QTest::newRow("available above free")
        << 4096ull << 1000ull << 100ull << 200ull << 1000ull << 200ull << 80;
    QTest::newRow("8 GiB, 3 GiB free")
        << 4096ull << 2097152ull << 786432ull << 786432ull << 2097152ull << 786432ull << 62;
}

void TestDriveSpace::figuresAsDfCountsThem()
{
    QFETCH(quint64, fragment);
    QFETCH(quint64, blocks);
    QFETCH(quint64, freeBlocks);
    QFETCH(quint64, available);
    const DriveFigures f = LinuxDriveInfo::figures(fragment, blocks, freeBlocks, available);
    QCOMPARE(f.sectorsPerCluster * f.bytesPerSector, fragment);
    QTEST(f.totalClusters, "total");
    QTEST(f.freeClusters, "free");

    SamplerState state;
    state.settings.MonitorDrive = "/";
    FakePerfSource perf;
    FakeDriveInfo drives;
    drives.figures = f;
    RecordingSink bars;
    PerfSampler sampler(state.perf, state.settings, state.clock, perf, drives, bars);
    QVERIFY(sampler.GetDriveSpace("/"));
    sampler.UpdateStatus();
    QTEST(state.perf.DiskUsagePercent, "percent");
}

// df rounds its Use% up, the disk bar truncates: they may differ by one point, no more.
void TestDriveSpace::agreesWithDfOnRoot()
{
    QProcess df;
    df.start("df", {"-P", "/"});
    QVERIFY(df.waitForFinished(10000));
    const QList<QByteArray> lines = df.readAllStandardOutput().trimmed().split('\n');
    QCOMPARE(lines.size(), 2);
    const QList<QByteArray> fields = lines[1].simplified().split(' ');
    QVERIFY(fields.size() >= 6 && fields[4].endsWith('%'));
    const int dfPercent = fields[4].chopped(1).toInt();

    SamplerState state;
    state.settings.MonitorDrive = "/";
    FakePerfSource perf;
    LinuxDriveInfo drives;
    RecordingSink bars;
    PerfSampler sampler(state.perf, state.settings, state.clock, perf, drives, bars);
    QVERIFY(sampler.GetDriveSpace("/"));
    sampler.UpdateStatus();
    QVERIFY2(
        qAbs(state.perf.DiskUsagePercent - dfPercent) <= 1,
        qPrintable(
            QString("disk bar %1 %, df %2 %").arg(state.perf.DiskUsagePercent).arg(dfPercent)));
}

QTEST_GUILESS_MAIN(TestDriveSpace)
#include "tst_drivespace.moc"
