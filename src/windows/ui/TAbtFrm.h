#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

// The About box: product picture, version and an OK button. Fixed size, centred on the screen.
class TAbtFrm : public QDialog {
    Q_OBJECT
public:
    explicit TAbtFrm(QWidget* parent = nullptr);

    QLabel* picture() const { return m_imgProduct; }
    QPushButton* okButton() const { return m_btnOK; }

private:
    QLabel* m_imgProduct;
    QLabel* m_lbVersion;
    QLabel* m_lbTagline;
    QPushButton* m_btnOK;
};
