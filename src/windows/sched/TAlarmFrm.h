#pragma once

#include <QDialog>

class QLabel;
class QTextEdit;
class QToolButton;

// The reminder pop-up: time of firing, the clock's date line and the reminder text, which
// scrolls when it is long. OK closes it; Snooze asks for the reminder again later, by the
// choice last used or one picked from its menu. Modeless, above other windows, and freed when
// closed.
class TAlarmFrm : public QDialog {
    Q_OBJECT
public:
    explicit TAlarmFrm(QWidget* parent = nullptr);

    void setTimeText(const QString& text);
    void setDateText(const QString& text);
    void setReminderText(const QString& text);
    // The choice the Snooze button takes when pressed (0..4, as its menu lists them).
    void setSnoozeChoice(int choice);
    int snoozeChoice() const { return m_snoozeChoice; }

signals:
    // The user snoozed by `choice`; the window stays until whoever snoozes closes it.
    void snoozeChosen(int choice);

public slots:
    void btnOKClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    // Short texts sit in the middle of their panel, as a centred label would show them.
    void centreText();

    QLabel* m_lbTime = nullptr;
    QLabel* m_lbDate = nullptr;
    QTextEdit* m_lbText = nullptr;
    QToolButton* m_btnSnooze = nullptr;
    int m_snoozeChoice = 1;
};
