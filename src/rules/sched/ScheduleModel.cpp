#include "rules/sched/ScheduleModel.h"

#include "rules/sched/GridTexts.h"
#include "rules/sched/ScheduleEntry.h"
#include "rules/sched/ScheduleList.h"

#include <algorithm>

namespace {
constexpr int Columns = 4;
} // namespace

ScheduleModel::ScheduleModel(const ScheduleList& list, QObject* parent)
    : QAbstractTableModel(parent), m_list(list)
{
}

int ScheduleModel::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid())
        return 0;
    return std::max(m_list.count(), 1);
}

int ScheduleModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : Columns;
}

QVariant ScheduleModel::data(const QModelIndex& index, int role) const
{
    // A reader reaching the empty list's one row hears what it stands for, not a blank.
    if (role == Qt::AccessibleTextRole && index.isValid() && m_list.count() == 0)
        return tr("No items");
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= m_list.count())
        return QVariant();
    const QString line = m_list.at(index.row());
    switch (index.column()) {
    case 0:
        return GridTexts::timeText(line);
    case 1:
        return GridTexts::dateText(line, m_locale);
    case 2:
        return GridTexts::typeText(ScheduleEntry::typeCode(line), m_locale);
    case 3:
        return GridTexts::detailText(line);
    default:
        return QVariant();
    }
}

QVariant ScheduleModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 ||
        section >= Columns)
        return QVariant();
    return GridTexts::headers().at(section);
}

void ScheduleModel::refresh()
{
    beginResetModel();
    endResetModel();
}
