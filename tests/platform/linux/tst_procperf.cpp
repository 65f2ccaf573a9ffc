#include "platform/linux/LinuxDriveInfo.h"
#include "platform/linux/ProcPerfSource.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

Q_DECLARE_METATYPE(ProcPerfSource::CpuTimes)

namespace {

const QString kStatData = "PerfStats\\StatData";
const QString kStart = "PerfStats\\StartStat";
const QString kStop = "PerfStats\\StopStat";
const QString kCpu = "KERNEL\\CPUUsage";
const QString kFaults = "VMM\\cPageFaults";

QString dataPath(const QString& name)
{
    return qEnvironmentVariable("HOROLUX_SOURCE_DIR") + "/tests/platform/linux/data/" + name;
}

QByteArray dataFile(const QString& name)
{
    QFile f(dataPath(name));
    if (!f.open(QIODevice::ReadOnly))
        qFatal("missing test data %s", qPrintable(name));
    return f.readAll();
}

std::string_view view(const QByteArray& b)
{
    return std::string_view(b.constData(), size_t(b.size()));
}

void writeFile(const QString& path, const QByteArray& text)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(text);
}

} // namespace

class TestProcPerf : public QObject {
    Q_OBJECT
private slots:
    void cpuTimes_data()
    {
        using T = ProcPerfSource::CpuTimes;
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<T>("times");
        QTest::newRow("recorded") << "real/stat" << true << T{1725, 0, 1658, 68391, 213, 0, 38, 0};
        QTest::newRow("old kernel, four columns")
            << "stat_four_columns" << true << T{100, 20, 30, 850, 0, 0, 0, 0};
        // Guest columns (already inside user and nice) and later additions are not read.
        QTest::newRow("extra columns") << "stat_extra_columns" << true << T{1, 2, 3, 4, 5, 6, 7, 8};
        QTest::newRow("too few columns") << "stat_two_columns" << false << T{};
        QTest::newRow("number glued to text") << "stat_glued" << false << T{};
        QTest::newRow("number beyond 64 bits") << "stat_overflow" << false << T{};
        QTest::newRow("no aggregate line") << "stat_no_total" << false << T{};
        QTest::newRow("cut short") << "stat_cut" << false << T{};
        QTest::newRow("empty") << "empty" << false << T{};
    }
    void cpuTimes()
    {
        QFETCH(QString, file);
        QFETCH(bool, valid);
        QFETCH(ProcPerfSource::CpuTimes, times);
        const QByteArray text = dataFile(file);
        const auto parsed = ProcPerfSource::parseCpuTimes(view(text));
        QCOMPARE(parsed.has_value(), valid);
        if (valid)
            QVERIFY(*parsed == times);
    }

    void busyPercent_data()
    {
        using T = ProcPerfSource::CpuTimes;
        QTest::addColumn<T>("before");
        QTest::addColumn<T>("after");
        QTest::addColumn<int>("percent");
        QTest::newRow("three quarters") << T{100, 0, 100, 800} << T{200, 0, 150, 850} << 75;
        // Waiting for the disk is idle time; steal is time the processor was not ours.
        QTest::newRow("iowait is idle") << T{0, 0, 0, 0, 0} << T{10, 0, 0, 0, 30} << 25;
        QTest::newRow("steal is busy") << T{} << T{0, 0, 0, 50, 0, 0, 0, 50} << 50;
        QTest::newRow("irq and softirq busy") << T{} << T{0, 0, 0, 60, 0, 20, 20, 0} << 40;
        QTest::newRow("all busy") << T{0, 0, 0, 500} << T{100, 100, 100, 500} << 100;
        QTest::newRow("idle column went back") << T{100, 0, 0, 900} << T{200, 0, 0, 700} << 100;
        QTest::newRow("no time passed") << T{1, 2, 3, 4} << T{1, 2, 3, 4} << -1;
        QTest::newRow("everything went back") << T{9, 9, 9, 9} << T{1, 1, 1, 1} << -1;
        QTest::newRow("huge counters") << T{0, 0, 0, 0} << T{~0ull / 2, 0, 0, ~0ull / 2} << 50;
    }
    void busyPercent()
    {
        QFETCH(ProcPerfSource::CpuTimes, before);
        QFETCH(ProcPerfSource::CpuTimes, after);
        QFETCH(int, percent);
        QCOMPARE(ProcPerfSource::busyPercent(before, after), percent);
    }

    void pageFaults_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("faults");
        QTest::newRow("recorded") << "real/vmstat" << 917;
        QTest::newRow("similar names ignored") << "vmstat_lookalike" << 7;
        QTest::newRow("missing") << "vmstat_no_majfault" << -1;
        QTest::newRow("cut before the number") << "vmstat_cut" << -1;
        // The count stays a growing non-negative figure, never -1 or another negative.
        QTest::newRow("beyond 31 bits") << "vmstat_beyond_31_bits" << 3;
        QTest::newRow("empty") << "empty" << -1;
    }
    void pageFaults()
    {
        QFETCH(QString, file);
        QFETCH(int, faults);
        const QByteArray text = dataFile(file);
        QCOMPARE(ProcPerfSource::parsePageFaults(view(text)), faults);
    }

    void memoryLoad_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("load");
        QTest::newRow("recorded") << "real/meminfo" << 1;
        QTest::newRow("old kernel: free plus caches") << "meminfo_no_available" << 60;
        QTest::newRow("zero total") << "meminfo_zero_total" << -1;
        QTest::newRow("no total") << "meminfo_no_total" << -1;
        QTest::newRow("cut short") << "meminfo_cut" << -1;
        QTest::newRow("available above total") << "meminfo_available_above_total" << 0;
        QTest::newRow("empty") << "empty" << -1;
    }
    void memoryLoad()
    {
        QFETCH(QString, file);
        QFETCH(int, load);
        const QByteArray text = dataFile(file);
        QCOMPARE(ProcPerfSource::parseMemoryLoad(view(text)), load);
    }

    // Start, readings between two states of the file, stop; the collection's life cycle.
    void cpuCollection()
    {
        QTemporaryDir dir;
        const QString stat = dir.filePath("stat");
        ProcPerfSource source(dir.path());

        writeFile(stat, "cpu  100 0 100 800 0 0 0 0\n");
        QCOMPARE(source.readPerfStat(kStatData, kCpu), -1); // not started
        source.readPerfStat(kStart, kCpu);
        writeFile(stat, "cpu  200 0 150 850 0 0 0 0\n");
        QCOMPARE(source.readPerfStat(kStatData, kCpu), 75);
        // No tick between two readings: the last figure again, not a division by zero.
        QCOMPARE(source.readPerfStat(kStatData, kCpu), 75);
        writeFile(stat, "cpu  210 0 150 940 0 0 0 0\n");
        QCOMPARE(source.readPerfStat(kStatData, kCpu), 10);
        // Registry names are not case-sensitive.
        writeFile(stat, "cpu  310 0 150 940 0 0 0 0\n");
        QCOMPARE(source.readPerfStat("perfstats\\statdata", "kernel\\cpuusage"), 100);

        source.readPerfStat(kStop, kCpu);
        QCOMPARE(source.readPerfStat(kStatData, kCpu), -1);
        source.readPerfStat(kStart, kCpu);
        writeFile(stat, "cpu  310 0 150 1040 0 0 0 0\n");
        QCOMPARE(source.readPerfStat(kStatData, kCpu), 0);
    }

    void cpuFileUnreadable()
    {
        QTemporaryDir dir;
        const QString stat = dir.filePath("stat");
        ProcPerfSource source(dir.path());
        QCOMPARE(source.readPerfStat(kStart, kCpu), -1);
        QCOMPARE(source.readPerfStat(kStatData, kCpu), -1);
        // The first good reading starts the interval; the next one gives a figure.
        writeFile(stat, "cpu  0 0 0 100\n");
        QCOMPARE(source.readPerfStat(kStatData, kCpu), -1);
        writeFile(stat, "cpu  50 0 0 150\n");
        QCOMPARE(source.readPerfStat(kStatData, kCpu), 50);
        writeFile(stat, "garbage\n");
        QCOMPARE(source.readPerfStat(kStatData, kCpu), -1);
        QFile::remove(stat);
        QCOMPARE(source.readPerfStat(kStatData, kCpu), -1);
    }

    void unknownNamesAndMissingFiles()
    {
        ProcPerfSource source("/nonexistent/horolux-proc");
        QCOMPARE(source.readPerfStat(kStatData, kFaults), -1);
        QCOMPARE(source.memoryLoad(), -1);
        QCOMPARE(source.readPerfStat(kStart, kCpu), -1);
        QCOMPARE(source.readPerfStat(kStatData, kCpu), -1);

        ProcPerfSource real;
        QCOMPARE(real.readPerfStat(kStatData, "KERNEL\\Threads"), -1);
        QCOMPARE(real.readPerfStat("PerfStats\\Other", kCpu), -1);
        QCOMPARE(real.readPerfStat(kStart, kFaults), -1);
    }

    // Figures of this machine stay in range.
    void realProc()
    {
        ProcPerfSource source;
        source.readPerfStat(kStart, kCpu);
        for (int i = 0; i < 3; ++i) {
            volatile double x = 0;
            for (int j = 0; j < 2000000; ++j)
                x = x + j * 0.5;
            const qint32 cpu = source.readPerfStat(kStatData, kCpu);
            QVERIFY2(cpu >= 0 && cpu <= 100, qPrintable(QString::number(cpu)));
            const qint32 load = source.memoryLoad();
            QVERIFY2(load >= 0 && load <= 100, qPrintable(QString::number(load)));
            QVERIFY(source.readPerfStat(kStatData, kFaults) >= 0);
        }
        source.readPerfStat(kStop, kCpu);
        QCOMPARE(source.readPerfStat(kStatData, kCpu), -1);
    }

    void mountTable()
    {
        const QStringList drives = LinuxDriveInfo::parseMountTable(dataFile("mounts"));
        const QStringList want{"/", "/home", "/boot/efi", "/media/usb stick", "/data"};
        QCOMPARE(drives, want);
        LinuxDriveInfo fromFile(dataPath("mounts"));
        QCOMPARE(fromFile.listDrives(), want);
    }

    void realDrives()
    {
        LinuxDriveInfo info;
        QCOMPARE(info.defaultDrive(), "/");
        QVERIFY(info.listDrives().contains("/"));
        DriveFigures f;
        QVERIFY(info.driveSpace("/", f));
        QCOMPARE(f.sectorsPerCluster, quint64(1));
        QVERIFY(f.bytesPerSector > 0);
        QVERIFY(f.totalClusters > 0);
        QVERIFY(f.freeClusters <= f.totalClusters);
        // Only file systems with room on them, as df lists them.
        for (const QString& drive : info.listDrives())
            QVERIFY2(info.driveSpace(drive, f) && f.totalClusters > 0, qPrintable(drive));
        QVERIFY(!info.driveSpace("/nonexistent/horolux-drive", f));
        QVERIFY(!info.driveSpace(QString(), f));
    }
};

QTEST_GUILESS_MAIN(TestProcPerf)
#include "tst_procperf.moc"
