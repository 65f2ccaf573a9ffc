#pragma once

#include <QDialog>

class QGroupBox;
class QLabel;
class QPushButton;
struct PerfTotals;
struct SettingsInForce;

// The performance report: a snapshot of the sampler's totals taken when the dialog is created.
class TReportFrm : public QDialog {
    Q_OBJECT
public:
    TReportFrm(const PerfTotals& totals, const SettingsInForce& settings,
               QWidget* parent = nullptr);

private:
    void FormCreate(const PerfTotals& totals, const SettingsInForce& settings);
    void btnHelpClick();

    QGroupBox* GroupBox1;
    QLabel* lbTotTime;
    QLabel* lbCPUBound;
    QLabel* lbMemBound;
    QLabel* lbPFBound;
    QLabel* lbDskUsage;
    QLabel* lbCPUPercent;
    QLabel* lbMemPercent;
    QLabel* lbSwapPercent;
    QPushButton* btnOK;
    QPushButton* btnHelp;
};
