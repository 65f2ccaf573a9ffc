#pragma once

#include <QDialog>

#include <memory>

struct ClockReading;
class QTableView;
class Schedule;
class ScheduleModel;
class TSchedEditFrm;

// The scheduler list: every schedule item in a grid, with Add, Change and Delete applied to
// the running schedule at once. The grid follows every change of the schedule, also those
// made from outside while it is open.
class TSchedMain : public QDialog {
    Q_OBJECT
public:
    TSchedMain(Schedule& schedule, const ClockReading& clock, QWidget* parent = nullptr);
    ~TSchedMain() override;

    // Header, then one row per line; an empty list shows one empty row.
    void refreshGrid();
    // The list index of the selected row (0 for the first item).
    int selectedIndex() const;
    void selectIndex(int index);

    // An editor preset for Add, or loaded with the selected line for Change; null when there
    // is nothing to change.
    std::unique_ptr<TSchedEditFrm> createEditor(bool change);
    // Stores what an editor closed with OK holds: a changed line replaces its original.
    void applyEditor(const TSchedEditFrm& editor);

public slots:
    void btnAddClick();
    void btnChangeClick();
    void btnDeleteClick();
    void btnHelpClick();

private:
    void btnEditClick(bool change);

    Schedule& m_schedule;
    const ClockReading& m_clock;
    ScheduleModel* m_model = nullptr;
    QTableView* m_sgSchedule = nullptr;
};
