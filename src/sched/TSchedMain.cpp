#include "sched/TSchedMain.h"
#include "ui/DialogFlags.h"

#include "app/MainState.h"
#include "sched/GridTexts.h"
#include "sched/TSchedEditFrm.h"
#include "ui/HelpSystem.h"

#include <QHeaderView>
#include <QLocale>
#include <QPushButton>
#include <QScreen>
#include <QTableWidget>

#include <algorithm>

namespace {
const int kColumnWidths[] = {36, 50, 61, 206};
} // namespace

TSchedMain::TSchedMain(MainState& state, QWidget* parent)
    : QDialog(parent, NoCloseDialogFlags),
      m_state(state)
{
    setObjectName(QStringLiteral("SchedMain"));
    setWindowTitle(QStringLiteral("Scheduler"));
    setFixedSize(472, 229);

    m_sgSchedule = new QTableWidget(2, 4, this);
    m_sgSchedule->setObjectName(QStringLiteral("sgSchedule"));
    m_sgSchedule->setGeometry(8, 8, 370, 213);
    m_sgSchedule->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_sgSchedule->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_sgSchedule->setSelectionMode(QAbstractItemView::SingleSelection);
    m_sgSchedule->setWordWrap(false);
    // The narrow columns and 16-pixel rows are sized for a small font.
    QFont small = m_sgSchedule->font();
    small.setPixelSize(11);
    m_sgSchedule->setFont(small);
    m_sgSchedule->verticalHeader()->hide();
    m_sgSchedule->verticalHeader()->setMinimumSectionSize(0);
    m_sgSchedule->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_sgSchedule->verticalHeader()->setDefaultSectionSize(16);
    m_sgSchedule->horizontalHeader()->setHighlightSections(false);
    m_sgSchedule->horizontalHeader()->setStretchLastSection(true);
    for (int column = 0; column < 4; ++column)
        m_sgSchedule->setColumnWidth(column, kColumnWidths[column]);
    m_sgSchedule->setHorizontalHeaderLabels(GridTexts::headers());
    m_sgSchedule->setRowCount(1);

    struct ButtonDef {
        const char* name;
        const char* caption;
        void (TSchedMain::*slot)();
    };
    const ButtonDef buttons[] = {
        {"btnAdd", "&Add", &TSchedMain::btnAddClick},
        {"btnChange", "&Change", &TSchedMain::btnChangeClick},
        {"btnDelete", "&Delete", &TSchedMain::btnDeleteClick},
        {"btnOK", "&OK", nullptr},
        {"btnCancel", "Cancel", nullptr},
        {"btnHelp", "&Help", &TSchedMain::btnHelpClick},
    };
    int y = 8;
    for (const ButtonDef& def : buttons) {
        auto* button = new QPushButton(QString::fromLatin1(def.caption), this);
        button->setObjectName(QLatin1String(def.name));
        button->setAutoDefault(false);
        button->setGeometry(388, y, 76, 25);
        y += (def.slot == &TSchedMain::btnDeleteClick) ? 45 : 33;
        if (def.slot)
            connect(button, &QPushButton::clicked, this, def.slot);
    }
    connect(findChild<QPushButton*>(QStringLiteral("btnOK")), &QPushButton::clicked, this,
            &QDialog::accept);
    connect(findChild<QPushButton*>(QStringLiteral("btnCancel")), &QPushButton::clicked, this,
            &QDialog::reject);

    refreshGrid();
    selectIndex(0);
    // A double click on an item changes it, as the Change button does.
    connect(m_sgSchedule, &QTableWidget::cellDoubleClicked, this, &TSchedMain::btnChangeClick);

    if (QScreen* s = screen())
        move(s->availableGeometry().center() - rect().center());
}

TSchedMain::~TSchedMain() = default;

void TSchedMain::refreshGrid()
{
    const int count = m_state.ScheduleList.count();
    if (count == 0) {
        m_sgSchedule->setRowCount(1);
        for (int column = 0; column < 4; ++column)
            m_sgSchedule->setItem(0, column, new QTableWidgetItem);
        return;
    }
    m_sgSchedule->setRowCount(count);
    const QLocale locale;
    for (int row = 0; row < count; ++row) {
        const QStringList texts = GridTexts::rowTexts(m_state.ScheduleList.at(row), locale);
        for (int column = 0; column < 4; ++column)
            m_sgSchedule->setItem(row, column, new QTableWidgetItem(texts.at(column)));
    }
    // The widths are minimums: a wider font or a longer month name must not cut a cell.
    for (int column = 0; column < 3; ++column) {
        m_sgSchedule->resizeColumnToContents(column);
        if (m_sgSchedule->columnWidth(column) < kColumnWidths[column])
            m_sgSchedule->setColumnWidth(column, kColumnWidths[column]);
    }
}

int TSchedMain::selectedIndex() const
{
    const int row = m_sgSchedule->currentRow();
    return row < 0 ? 0 : row;
}

void TSchedMain::selectIndex(int index)
{
    m_sgSchedule->setCurrentCell(std::clamp(index, 0, m_sgSchedule->rowCount() - 1), 0);
}

std::unique_ptr<TSchedEditFrm> TSchedMain::createEditor(bool change)
{
    const int index = selectedIndex();
    if (change && index >= m_state.ScheduleList.count())
        return nullptr;
    auto editor = std::make_unique<TSchedEditFrm>(m_state.TodayDate, this);
    if (change) {
        editor->setWindowTitle(QStringLiteral("Modify Scheduler Item"));
        editor->loadLine(m_state.ScheduleList.at(index));
    } else {
        editor->setWindowTitle(QStringLiteral("Add Scheduler Item"));
        editor->presetAdd(m_state.CurrentHour, m_state.CurrentMinute);
    }
    return editor;
}

void TSchedMain::applyEditor(const TSchedEditFrm& editor)
{
    const QString original = editor.originalLine();
    if (!original.isEmpty()) {
        // Find the original again rather than trusting the row: the list may have changed
        // while the editor was open, and the wrong item must never be replaced.
        const QStringList lines = m_state.ScheduleList.lines();
        const int index = static_cast<int>(lines.indexOf(original));
        if (index >= 0)
            m_state.ScheduleList.removeAt(index);
    }
    const QString line = editor.buildLine();
    m_state.ScheduleList.add(line);
    refreshGrid();
    // The new or changed item may have moved: keep it selected where it now stands.
    const int at = static_cast<int>(m_state.ScheduleList.lines().indexOf(line));
    if (at >= 0)
        selectIndex(at);
}

void TSchedMain::btnAddClick()
{
    btnEditClick(false);
}

void TSchedMain::btnChangeClick()
{
    btnEditClick(true);
}

void TSchedMain::btnEditClick(bool change)
{
    std::unique_ptr<TSchedEditFrm> editor = createEditor(change);
    if (!editor)
        return;
    if (editor->exec() == QDialog::Accepted)
        applyEditor(*editor);
}

void TSchedMain::btnDeleteClick()
{
    const int index = selectedIndex();
    if (index >= m_state.ScheduleList.count())
        return;
    m_state.ScheduleList.removeAt(index);
    refreshGrid();
}

void TSchedMain::btnHelpClick()
{
    HelpSystem::showTopic(QStringLiteral("Scheduler"));
}
