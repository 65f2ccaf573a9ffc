#include "windows/perf/TReportFrm.h"
#include "windows/ui/DialogFlags.h"

#include "rules/perf/PerfTotals.h"
#include "rules/perf/ReportText.h"
#include "rules/settings/SettingsInForce.h"
#include "windows/ui/HelpSystem.h"

#include <QFontMetrics>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

#include <algorithm>

namespace {

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text, int left, int top)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->move(left, top);
    label->adjustSize();
    return label;
}

QLabel* makeValue(QWidget* parent, const char* name, const QString& placeholder, int left, int top,
                  int width, Qt::Alignment align)
{
    auto* label = makeLabel(parent, name, placeholder, left, top);
    label->setFixedSize(width, 13);
    label->setAlignment(align | Qt::AlignVCenter);
    return label;
}

QPushButton* makeButton(QWidget* parent, const char* name, const QString& text, int left)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(left, 180, 64, 24);
    return button;
}

} // namespace

TReportFrm::TReportFrm(const PerfTotals& totals, const SettingsInForce& settings, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("ReportFrm"));
    setWindowTitle(tr("System Performance Status"));
    setWindowFlags(FixedDialogFlags);
    const QString captions[] = {
        tr("Monitor has been running for:"), tr("Performance has been CPU limited for:"),
        tr("Performance has been memory limited for:"), tr("Time spent swapping to / from disk:"),
        tr("Hard disk space usage:")};
    // The layout is in pixels: take the largest font, up to 11 pixels, whose longest caption
    // still ends before the value column and whose longest value fits its 64-pixel label.
    QFont f = font();
    for (int px = 11; px >= 8; --px) {
        f.setPixelSize(px);
        const QFontMetrics m(f);
        int widest = 0;
        for (const QString& caption : captions)
            widest = std::max(widest, m.horizontalAdvance(caption));
        if (widest <= 220 && m.horizontalAdvance(QStringLiteral("100h00m00s")) <= 62)
            break;
    }
    setFont(f);
    setFixedSize(392, 213);

    GroupBox1 = new QGroupBox(tr(" Performance Status Report: "), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->setGeometry(16, 16, 360, 150);

    QWidget* g = GroupBox1;
    QLabel* captionLabels[5];
    for (int i = 0; i < 5; ++i) {
        const QByteArray name = "Label" + QByteArray::number(i + 1);
        captionLabels[i] = makeLabel(g, name.constData(), captions[i], 16, 24 + 24 * i);
    }

    const QString time = QStringLiteral("00h 00m 00s");
    const QString share = QStringLiteral("(100%)");
    lbTotTime = makeValue(g, "lbTotTime", time, 240, 24, 64, Qt::AlignLeft);
    lbCPUBound = makeValue(g, "lbCPUBound", time, 240, 48, 64, Qt::AlignLeft);
    lbMemBound = makeValue(g, "lbMemBound", time, 240, 72, 64, Qt::AlignLeft);
    lbPFBound = makeValue(g, "lbPFBound", time, 240, 96, 64, Qt::AlignLeft);
    lbDskUsage = makeValue(g, "lbDskUsage", QStringLiteral("100%"), 240, 120, 64, Qt::AlignLeft);
    lbCPUPercent = makeValue(g, "lbCPUPercent", share, 308, 48, 32, Qt::AlignRight);
    lbMemPercent = makeValue(g, "lbMemPercent", share, 308, 72, 32, Qt::AlignRight);
    lbSwapPercent = makeValue(g, "lbSwapPercent", share, 308, 96, 32, Qt::AlignRight);
    // Screen readers find each value labelled by its caption, and a share described by it.
    QLabel* const values[] = {lbTotTime, lbCPUBound, lbMemBound, lbPFBound, lbDskUsage};
    for (int i = 0; i < 5; ++i)
        captionLabels[i]->setBuddy(values[i]);
    lbCPUPercent->setAccessibleDescription(captions[1]);
    lbMemPercent->setAccessibleDescription(captions[2]);
    lbSwapPercent->setAccessibleDescription(captions[3]);

    btnOK = makeButton(this, "btnOK", tr("OK"), 72);
    btnOK->setDefault(true);
    btnHelp = makeButton(this, "btnHelp", tr("Help"), 240);
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnHelp, &QPushButton::clicked, this, &TReportFrm::btnHelpClick);

    if (const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    FormCreate(totals, settings);
}

void TReportFrm::FormCreate(const PerfTotals& totals, const SettingsInForce& settings)
{
    lbTotTime->setText(ReportText::duration(totals.RunningTime));
    lbCPUBound->setText(ReportText::duration(totals.CpuLimitedTime));
    lbCPUPercent->setText(ReportText::share(totals.CpuLimitedTime, totals.RunningTime));
    lbMemBound->setText(ReportText::duration(totals.MemoryLimitedTime));
    lbMemPercent->setText(ReportText::share(totals.MemoryLimitedTime, totals.RunningTime));
    const qint32 SwapTime = ReportText::swapTime(totals.PageFaultRateSum, settings.PageFaultMax);
    lbPFBound->setText(ReportText::duration(SwapTime));
    lbSwapPercent->setText(ReportText::share(SwapTime, totals.RunningTime));
    lbDskUsage->setText(ReportText::diskUsage(totals.DiskUsagePercent));
}

void TReportFrm::btnHelpClick()
{
    HelpSystem::showTopic(QStringLiteral("Report"));
}
