#pragma once

#include <QDialog>

class QGroupBox;
class QLabel;
class QPushButton;
struct MainState;

// The performance report: a snapshot of the sampler's totals taken when the dialog is created.
class TReportFrm : public QDialog {
    Q_OBJECT
public:
    explicit TReportFrm(const MainState& state, QWidget* parent = nullptr);

private:
    void FormCreate(const MainState& state);
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
