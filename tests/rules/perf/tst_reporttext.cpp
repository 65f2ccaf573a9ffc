#include "rules/perf/ReportText.h"

#include <QTest>

class TestReportText : public QObject {
    Q_OBJECT
private slots:
    void duration_data()
    {
        QTest::addColumn<int>("tenths");
        QTest::addColumn<QString>("text");
        QTest::newRow("zero") << 0 << " 0h00m00s";
        QTest::newRow("1h02m03s") << 37230 << " 1h02m03s";
        QTest::newRow("tenths dropped") << 37239 << " 1h02m03s";
        QTest::newRow("ten minutes") << 6000 << " 0h10m00s";
        QTest::newRow("two and a half") << 1500 << " 0h02m30s";
        QTest::newRow("no day roll-over") << 3600000 << "100h00m00s";
        QTest::newRow("59m59s") << 35999 << " 0h59m59s";
    }
    void duration()
    {
        QFETCH(int, tenths);
        QFETCH(QString, text);
        QCOMPARE(ReportText::duration(tenths), text);
    }

    void share_data()
    {
        QTest::addColumn<int>("part");
        QTest::addColumn<int>("total");
        QTest::addColumn<QString>("text");
        QTest::newRow("quarter") << 150 << 600 << "(25%)";
        QTest::newRow("truncated") << 2 << 3 << "(66%)";
        QTest::newRow("all") << 600 << 600 << "(100%)";
        QTest::newRow("nothing yet") << 0 << 0 << "(0%)";
        // part x 100 passes 2^31 after some 600 hours of monitoring.
        QTest::newRow("long run") << 30000000 << 60000000 << "(50%)";
    }
    void share()
    {
        QFETCH(int, part);
        QFETCH(int, total);
        QFETCH(QString, text);
        QCOMPARE(ReportText::share(part, total), text);
    }

    void swapTime_data()
    {
        QTest::addColumn<int>("sum");
        QTest::addColumn<int>("max");
        QTest::addColumn<int>("tenths");
        QTest::newRow("whole seconds first") << 1234 << 500 << 20;
        QTest::newRow("below the ceiling") << 99 << 100 << 0;
        QTest::newRow("negative sum") << -5000 << 100 << 0;
        QTest::newRow("no ceiling") << 5000 << 0 << 0;
    }
    void swapTime()
    {
        QFETCH(int, sum);
        QFETCH(int, max);
        QFETCH(int, tenths);
        QCOMPARE(ReportText::swapTime(sum, max), tenths);
    }
};

QTEST_GUILESS_MAIN(TestReportText)
#include "tst_reporttext.moc"
