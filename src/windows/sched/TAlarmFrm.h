#pragma once

#include <QDialog>

class QLabel;

// The reminder pop-up: time of firing, the clock's date line and the reminder text.
// Modeless, above other windows, and freed when closed.
class TAlarmFrm : public QDialog {
    Q_OBJECT
public:
    explicit TAlarmFrm(QWidget* parent = nullptr);

    void setTimeText(const QString& text);
    void setDateText(const QString& text);
    void setReminderText(const QString& text);

public slots:
    void btnOKClick();

private:
    QLabel* m_lbTime = nullptr;
    QLabel* m_lbDate = nullptr;
    QLabel* m_lbText = nullptr;
};
