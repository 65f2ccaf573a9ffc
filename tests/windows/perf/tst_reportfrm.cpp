#include "rules/perf/PerfTotals.h"
#include "rules/settings/SettingsInForce.h"
#include "windows/perf/TReportFrm.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

// The slices the report reads.
struct ReportState {
    PerfTotals perf;
    SettingsInForce settings;
};

class TestReportFrm : public QObject {
    Q_OBJECT

    static QString text(const TReportFrm& dlg, const char* name)
    {
        const auto* label = dlg.findChild<QLabel*>(QLatin1String(name));
        return label ? label->text() : QString("<missing %1>").arg(QLatin1String(name));
    }

private slots:
    void figures()
    {
        ReportState state;
        state.perf.RunningTime = 6000;
        state.perf.CpuLimitedTime = 1500;
        state.perf.MemoryLimitedTime = 600;
        state.perf.PageFaultRateSum = 1234;
        state.settings.PageFaultMax = 500;
        state.perf.DiskUsagePercent = 75;
        TReportFrm dlg(state.perf, state.settings);
        QCOMPARE(text(dlg, "lbTotTime"), " 0h10m00s");
        QCOMPARE(text(dlg, "lbCPUBound"), " 0h02m30s");
        QCOMPARE(text(dlg, "lbCPUPercent"), "(25%)");
        QCOMPARE(text(dlg, "lbMemBound"), " 0h01m00s");
        QCOMPARE(text(dlg, "lbMemPercent"), "(10%)");
        QCOMPARE(text(dlg, "lbPFBound"), " 0h00m02s");
        QCOMPARE(text(dlg, "lbSwapPercent"), "(0%)");
        QCOMPARE(text(dlg, "lbDskUsage"), "75%");
    }

    // Opened before the first sample: no placeholder may survive and no share divides by 0.
    void beforeFirstSample()
    {
        ReportState state;
        TReportFrm dlg(state.perf, state.settings);
        for (const char* name : {"lbCPUPercent", "lbMemPercent", "lbSwapPercent"})
            QCOMPARE(text(dlg, name), "(0%)");
        QCOMPARE(text(dlg, "lbTotTime"), " 0h00m00s");
        QCOMPARE(text(dlg, "lbDskUsage"), "0%");
    }

    // Captions and places of the form, with the value labels inside the group box.
    void layout_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QRect>("geometry");
        QTest::addColumn<bool>("inGroup");
        auto row = [](const char* name, const char* caption, QRect r, bool inGroup) {
            QTest::newRow(name) << QString::fromLatin1(name) << QString::fromLatin1(caption) << r
                                << inGroup;
        };
        row("GroupBox1", " Performance Status Report: ", QRect(16, 16, 360, 150), false);
        row("btnOK", "OK", QRect(72, 180, 64, 24), false);
        row("btnHelp", "Help", QRect(240, 180, 64, 24), false);
        row("Label1", "Monitor has been running for:", QRect(16, 24, -1, -1), true);
        row("Label2", "Performance has been CPU limited for:", QRect(16, 48, -1, -1), true);
        row("Label3", "Performance has been memory limited for:", QRect(16, 72, -1, -1), true);
        row("Label4", "Time spent swapping to / from disk:", QRect(16, 96, -1, -1), true);
        row("Label5", "Hard disk space usage:", QRect(16, 120, -1, -1), true);
        row("lbTotTime", "", QRect(240, 24, 64, 13), true);
        row("lbCPUBound", "", QRect(240, 48, 64, 13), true);
        row("lbMemBound", "", QRect(240, 72, 64, 13), true);
        row("lbPFBound", "", QRect(240, 96, 64, 13), true);
        row("lbDskUsage", "", QRect(240, 120, 64, 13), true);
        row("lbCPUPercent", "", QRect(308, 48, 32, 13), true);
        row("lbMemPercent", "", QRect(308, 72, 32, 13), true);
        row("lbSwapPercent", "", QRect(308, 96, 32, 13), true);
    }
    void layout()
    {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(QRect, geometry);
        QFETCH(bool, inGroup);
        ReportState state;
        TReportFrm dlg(state.perf, state.settings);
        QCOMPARE(dlg.windowTitle(), "System Performance Status");
        QCOMPARE(dlg.minimumSize(), QSize(392, 213));
        QCOMPARE(dlg.maximumSize(), QSize(392, 213));
        auto* w = dlg.findChild<QWidget*>(name);
        QVERIFY(w);
        QCOMPARE(w->parentWidget()->objectName(), inGroup ? "GroupBox1" : "ReportFrm");
        QCOMPARE(w->pos(), geometry.topLeft());
        if (geometry.width() > 0)
            QCOMPARE(w->size(), geometry.size());
        if (!caption.isEmpty()) {
            if (auto* box = qobject_cast<QGroupBox*>(w))
                QCOMPARE(box->title(), caption);
            else if (auto* button = qobject_cast<QPushButton*>(w))
                QCOMPARE(button->text(), caption);
            else
                QCOMPARE(qobject_cast<QLabel*>(w)->text(), caption);
        }
        if (name.endsWith(QLatin1String("Percent")))
            QVERIFY(qobject_cast<QLabel*>(w)->alignment() & Qt::AlignRight);
    }
};

QTEST_MAIN(TestReportFrm)
#include "tst_reportfrm.moc"
