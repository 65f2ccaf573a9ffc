#pragma once

#include "rules/options/OptionsRules.h"

#include <QDialog>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QRadioButton;
class QSlider;
class QSpinBox;
class QTabWidget;

// What the buttons of the "Time" page do: they act at once, whichever button ends the dialog.
class TimePageActions {
public:
    virtual ~TimePageActions() = default;
    // The manual "Set": the fields as read (a field that is not a whole number reads 0).
    virtual void btnSetClick(int hour, int minute, int second) = 0;
    // "Configure": the automatic update's window title and time server.
    virtual void btnAutoClick(QWidget* dialog) = 0;
    // The Internet "Set": one update at once.
    virtual void btnSetInternetClick() = 0;
};

// The settings dialog: six pages that show and collect OptionsValues.
class TOptionsFrm : public QDialog {
    Q_OBJECT
public:
    TOptionsFrm(TimePageActions& actions, QWidget* parent = nullptr);

    void setValues(const OptionsValues& values);
    OptionsValues values() const;

    void FormShow();
    void tbHidePeriodChange();
    void tbUpdIntChange();
    void btnBrowseChimeClick();
    void btnBrowseAlarmClick();
    void btnHelpClick();
    void btnSetClick();
    // Asks whether the system keeps the clock synchronised, and says so on the time page once
    // it answers; the page works the same without an answer.
    void askClockSync(IClockSync* sync);

    // The sound chooser's filter: what the player plays, and what users expect to find.
    static QString soundFilter();

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* page(const QString& caption, const char* name);
    QSpinBox* timeField(QWidget* parent, const char* name, int max, int x, const QString& unit);
    void browseSound(QString& file, QLabel* label);

    TimePageActions& m_actions;
    QTabWidget* m_pages = nullptr;
    QRadioButton* m_rb12hr = nullptr;
    QRadioButton* m_rb24hr = nullptr;
    QSlider* m_tbHidePeriod = nullptr;
    QLabel* m_lbHide = nullptr;
    QSlider* m_tbUpdInt = nullptr;
    QLabel* m_lbUpdInt = nullptr;
    QComboBox* m_cbDrv = nullptr;
    QButtonGroup* m_chime = nullptr;
    QLabel* m_lbChimeFile = nullptr;
    QButtonGroup* m_alarm = nullptr;
    QLabel* m_lbAlarmFile = nullptr;
    QCheckBox* m_cbNotificationOnly = nullptr;
    QCheckBox* m_cbTaskIcon = nullptr;
    QRadioButton* m_rbIdle = nullptr;
    QRadioButton* m_rbNormal = nullptr;
    QSpinBox* m_seHr = nullptr;
    QSpinBox* m_seMin = nullptr;
    QSpinBox* m_seSec = nullptr;
    QLabel* m_lbSync = nullptr;
    QString m_chimeFile;
    QString m_alarmFile;
};
