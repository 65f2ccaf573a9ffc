#pragma once

#include <QAbstractTableModel>
#include <QLocale>

class ScheduleList;

// The scheduler list's grid as a view over the schedule: one row per line with the columns
// "Time", "Date", "Type" and "Detail", texts made when a cell is shown. An empty list shows one
// empty row, read out as "No items".
class ScheduleModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit ScheduleModel(const ScheduleList& list, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // The list may have changed in any way since it was last shown: show it afresh.
    void refresh();

private:
    const ScheduleList& m_list;
    const QLocale m_locale;
};
