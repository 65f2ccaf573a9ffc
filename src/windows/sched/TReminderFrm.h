#pragma once

#include <QDialog>

class QPlainTextEdit;
class QSpinBox;

// The quick reminder: a time and a text for a one-off reminder today.
class TReminderFrm : public QDialog {
    Q_OBJECT
public:
    explicit TReminderFrm(QWidget* parent = nullptr);

    void setTime(int hour, int minute);
    int hour() const;
    int minute() const;
    // As typed, line breaks included; the stored line turns each into a blank.
    QString text() const;

public slots:
    void btnHelpClick();

private:
    QSpinBox* m_seHr = nullptr;
    QSpinBox* m_seMin = nullptr;
    QPlainTextEdit* m_mmText = nullptr;
};
