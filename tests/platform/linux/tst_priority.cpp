// The Linux priority setter, run in a child of this test with threads of its own, with and
// without the right to raise priority. The test's own priority never changes.
#include "platform/linux/LinuxPriority.h"

#include <QDir>
#include <QProcess>
#include <QTest>

#include <sched.h>
#include <sys/resource.h>
#include <unistd.h>

#include <future>
#include <latch>
#include <thread>

namespace {

// Four threads, all idle ("idle"), or this one SCHED_BATCH and the rest idle ("mixed": the
// refusal then comes after this thread was changed); then the normal class is asked for.
// Prints the result and each thread's class and nice value, this thread first.
int child(bool mixed)
{
    const rlimit none{0, 0}; // the right alone, not a generous limit, may raise priority
    setrlimit(RLIMIT_NICE, &none);
    sched_param param{};
    if (mixed)
        sched_setscheduler(0, SCHED_BATCH, &param);
    std::promise<void> done;
    const std::shared_future<void> finished = done.get_future().share();
    std::latch ready(3);
    std::vector<std::jthread> workers;
    for (int i = 0; i < 3; ++i) {
        workers.emplace_back([&, finished] {
            if (mixed)
                sched_setscheduler(0, SCHED_IDLE, &param);
            ready.count_down();
            finished.wait();
        });
    }
    ready.wait();
    LinuxPriority priority;
    if (!mixed)
        priority.setPriorityClass(IProcessPriority::IdleClass);
    const IProcessPriority::Result r = priority.setPriorityClass(IProcessPriority::NormalClass);
    QStringList out{r == IProcessPriority::Result::Set            ? "set"
                    : r == IProcessPriority::Result::NotPermitted ? "not-permitted"
                                                                  : "failed"};
    QList<int> tids;
    for (const QString& tid : QDir("/proc/self/task").entryList(QDir::Dirs | QDir::NoDotAndDotDot))
        tids << tid.toInt();
    std::sort(tids.begin(), tids.end());
    for (int tid : tids) {
        const int policy = sched_getscheduler(tid);
        out << QString("%1:%2")
                   .arg(policy == SCHED_IDLE    ? "idle"
                        : policy == SCHED_BATCH ? "batch"
                        : policy == SCHED_OTHER ? "other"
                                                : "?")
                   .arg(getpriority(PRIO_PROCESS, tid));
    }
    std::puts(qPrintable(out.join(' ')));
    done.set_value();
    return 0;
}

} // namespace

class TestPriority : public QObject {
    Q_OBJECT

private slots:
    void normalAfterIdle_data();
    void normalAfterIdle();
};

void TestPriority::normalAfterIdle_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<bool>("right");
    QTest::addColumn<QString>("output");
    QTest::newRow("refused: every thread stays idle")
        << "idle" << false << "not-permitted idle:0 idle:0 idle:0 idle:0";
    QTest::newRow("permitted: every thread normal")
        << "idle" << true << "set other:0 other:0 other:0 other:0";
    QTest::newRow("refused part way: the changed thread put back")
        << "mixed" << false << "not-permitted batch:0 idle:0 idle:0 idle:0";
}

void TestPriority::normalAfterIdle()
{
    QFETCH(QString, mode);
    QFETCH(bool, right);
    QFETCH(QString, output);
    const bool root = ::geteuid() == 0;
    if (right && !root)
        QSKIP("only root has the right to raise priority here");
    QString program = QCoreApplication::applicationFilePath();
    QStringList args{"--child", mode};
    if (root && !right) {
        args = QStringList{"--inh-caps=-sys_nice", "--bounding-set=-sys_nice", program} + args;
        program = "setpriv";
    }
    QProcess p;
    p.start(program, args);
    QVERIFY(p.waitForFinished(20000));
    QCOMPARE(QString::fromUtf8(p.readAllStandardOutput()).trimmed(), output);
}

int main(int argc, char** argv)
{
    if (argc == 3 && QByteArray(argv[1]) == "--child")
        return child(QByteArray(argv[2]) == "mixed");
    QCoreApplication app(argc, argv);
    TestPriority test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_priority.moc"
