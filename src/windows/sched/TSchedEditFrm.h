#pragma once

#include "core/DayNumber.h"
#include "rules/sched/EditorRules.h"

#include <QDialog>

class QAbstractButton;
class QButtonGroup;
class QCalendarWidget;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QStackedWidget;

// The editor of one schedule item: when (time, date option, calendar) and what (a reminder
// text, or a program with parameters, start directory and window state).
class TSchedEditFrm : public QDialog {
    Q_OBJECT
public:
    // `today` is the clock's day: "Today" selects it and each-weekday dates start from it.
    explicit TSchedEditFrm(DayNumber today, QWidget* parent = nullptr);

    // Add: the given time, today's date, a reminder, "Today" selected.
    void presetAdd(int hour, int minute);
    // Change: fills the fields from a stored line.
    void loadLine(const QString& line);
    // The line loadLine was given; empty for an added item.
    QString originalLine() const { return m_originalLine; }

    void setCalendarDate(const QDate& date);
    QDate calendarDate() const;
    // Checks a date option (EditorRules::DateOption) and applies it as a click would.
    void selectOption(int option);
    int selectedOption() const;

    EditorRules::EditorValues values() const;
    QString buildLine() const;

public slots:
    void rbClick(QAbstractButton* sender);
    void CalendarChange();
    void btnDnClick();
    void btnUpClick();
    void cbActivityChange();
    void btnBrowseProgramClick();
    void Button1Click();
    void btnHelpClick();
    // Refuses (with a warning, the dialog staying open) what a line cannot hold or the
    // launcher could never start.
    void accept() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildWhenGroup();
    void buildWhatGroup();

    DayNumber m_today;
    QString m_originalLine;

    QSpinBox* m_seHr = nullptr;
    QSpinBox* m_seMin = nullptr;
    QButtonGroup* m_dateOptions = nullptr;
    QLabel* m_lbMthYr = nullptr;
    QCalendarWidget* m_calendar = nullptr;
    QComboBox* m_cbActivity = nullptr;
    QStackedWidget* m_nbWhat = nullptr;
    QPlainTextEdit* m_mmText = nullptr;
    QLineEdit* m_edProgName = nullptr;
    QLineEdit* m_edParams = nullptr;
    QLineEdit* m_edStartDir = nullptr;
    QRadioButton* m_rbNormal = nullptr;
    QRadioButton* m_rbMinimized = nullptr;
    QRadioButton* m_rbMaximized = nullptr;
    QPushButton* m_btnOK = nullptr;
};
