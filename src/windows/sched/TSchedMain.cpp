#include "windows/sched/TSchedMain.h"
#include "windows/ui/DialogFlags.h"

#include "core/ClockReading.h"
#include "rules/sched/GridTexts.h"
#include "rules/sched/Schedule.h"
#include "rules/sched/ScheduleEntry.h"
#include "rules/sched/ScheduleModel.h"
#include "windows/sched/TSchedEditFrm.h"
#include "windows/ui/DialogButtons.h"
#include "windows/ui/HelpSystem.h"

#include <QHeaderView>
#include <QLocale>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTableView>

#include <algorithm>
#include <cmath>

namespace {

const int kColumnWidths[] = {36, 50, 61, 206};

// Every digit of a sample text replaced by the font's widest digit.
QString withWidestDigits(QString text, const QFontMetricsF& metrics)
{
    QChar widest = u'0';
    for (char16_t d = u'1'; d <= u'9'; ++d) {
        if (metrics.horizontalAdvance(QChar(d)) > metrics.horizontalAdvance(widest))
            widest = QChar(d);
    }
    for (QChar& c : text) {
        if (c.isDigit())
            c = widest;
    }
    return text;
}

// The widest text each of the first three columns can ever show (every month, every type,
// the widest digits), so that no cell is cut whatever the list holds, without measuring the
// rows themselves.
QStringList widestCellTexts(const QFontMetricsF& metrics)
{
    const QLocale locale;
    QStringList widest(3);
    auto keep = [&](int column, const QString& text) {
        const QString sample = withWidestDigits(text, metrics);
        if (metrics.horizontalAdvance(sample) > metrics.horizontalAdvance(widest[column]))
            widest[column] = sample;
    };
    for (int month = 1; month <= 12; ++month) {
        const QString line = ScheduleEntry::FormatScheduleEntry(
            0, 0, DayNumbers::fromDate(QDate(2000, month, 28)), 0, QString());
        keep(0, GridTexts::timeText(line));
        keep(1, GridTexts::dateText(line, locale));
    }
    for (int code = 0; code <= 10; ++code)
        keep(2, GridTexts::typeText(code, locale));
    return widest;
}

// The designed widths are minimums: a wider font or a longer month name must not cut a cell.
void sizeColumns(QTableView* view)
{
    const QFontMetricsF metrics(view->font());
    // A cell's text margin on either side and the grid line, as the view lays a cell out.
    const int frame =
        2 * (view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1) + 1;
    const QStringList widest = widestCellTexts(metrics);
    for (int column = 0; column < 4; ++column) {
        int width = kColumnWidths[column];
        if (column < widest.size()) {
            const int needed = int(std::ceil(metrics.horizontalAdvance(widest[column])));
            width = std::max(width, needed + frame);
        }
        view->setColumnWidth(column, width);
    }
}

} // namespace

TSchedMain::TSchedMain(Schedule& schedule, const ClockReading& clock, QWidget* parent)
    : QDialog(parent, NoCloseDialogFlags), m_schedule(schedule), m_clock(clock)
{
    setObjectName(QStringLiteral("SchedMain"));
    setWindowTitle(tr("Scheduler"));
    setFixedSize(472, 229);

    // A view over the running list: cell texts are made only for the rows on screen, so a
    // long schedule opens and deletes as quickly as a short one.
    m_model = new ScheduleModel(m_schedule.list(), this);
    m_sgSchedule = new QTableView(this);
    m_sgSchedule->setModel(m_model);
    m_sgSchedule->setObjectName(QStringLiteral("sgSchedule"));
    m_sgSchedule->setAccessibleName(tr("Scheduled items"));
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
    sizeColumns(m_sgSchedule);

    struct ButtonDef {
        const char* name;
        const char* caption;
        void (TSchedMain::*slot)();
    };
    const ButtonDef buttons[] = {
        {"btnAdd", QT_TRANSLATE_NOOP("TSchedMain", "&Add"), &TSchedMain::btnAddClick},
        {"btnChange", QT_TRANSLATE_NOOP("TSchedMain", "&Change"), &TSchedMain::btnChangeClick},
        {"btnDelete", QT_TRANSLATE_NOOP("TSchedMain", "&Delete"), &TSchedMain::btnDeleteClick},
        {"btnOK", QT_TRANSLATE_NOOP("TSchedMain", "&OK"), nullptr},
        {"btnCancel", QT_TRANSLATE_NOOP("TSchedMain", "Cancel"), nullptr},
        {"btnHelp", QT_TRANSLATE_NOOP("TSchedMain", "&Help"), &TSchedMain::btnHelpClick},
    };
    int y = 8;
    for (const ButtonDef& def : buttons) {
        auto* button = new QPushButton(tr(def.caption), this);
        button->setObjectName(QLatin1String(def.name));
        button->setAutoDefault(false);
        button->setGeometry(388, y, 76, 25);
        y += (def.slot == &TSchedMain::btnDeleteClick) ? 45 : 33;
        if (def.slot)
            connect(button, &QPushButton::clicked, this, def.slot);
    }
    DialogButtons::widenToCaptions(this);
    connect(findChild<QPushButton*>(QStringLiteral("btnOK")), &QPushButton::clicked, this,
            &QDialog::accept);
    connect(findChild<QPushButton*>(QStringLiteral("btnCancel")), &QPushButton::clicked, this,
            &QDialog::reject);

    refreshGrid();
    selectIndex(0);
    connect(&m_schedule, &Schedule::changed, this, &TSchedMain::refreshGrid);
    // A double click on an item changes it, as the Change button does.
    connect(m_sgSchedule, &QAbstractItemView::doubleClicked, this, &TSchedMain::btnChangeClick);

    if (QScreen* s = screen())
        move(s->availableGeometry().center() - rect().center());
}

TSchedMain::~TSchedMain() = default;

void TSchedMain::refreshGrid()
{
    // The selection stays on the same row, as far as the list still reaches.
    const int selected = selectedIndex();
    m_model->refresh();
    selectIndex(selected);
}

int TSchedMain::selectedIndex() const
{
    const int row = m_sgSchedule->currentIndex().row();
    return row < 0 ? 0 : row;
}

void TSchedMain::selectIndex(int index)
{
    const int row = std::clamp(index, 0, m_model->rowCount() - 1);
    m_sgSchedule->setCurrentIndex(m_model->index(row, 0));
}

std::unique_ptr<TSchedEditFrm> TSchedMain::createEditor(bool change)
{
    const int index = selectedIndex();
    if (change && index >= m_schedule.count())
        return nullptr;
    auto editor = std::make_unique<TSchedEditFrm>(m_clock.TodayDate, this);
    if (change) {
        editor->setWindowTitle(tr("Modify Scheduler Item"));
        editor->loadLine(m_schedule.at(index));
    } else {
        editor->setWindowTitle(tr("Add Scheduler Item"));
        editor->presetAdd(m_clock.CurrentHour, m_clock.CurrentMinute);
    }
    return editor;
}

void TSchedMain::applyEditor(const TSchedEditFrm& editor)
{
    const QString original = editor.originalLine();
    if (!original.isEmpty()) {
        // Found again rather than trusting the row: the schedule may have changed while the
        // editor was open, and the wrong item must never be replaced.
        m_schedule.remove(original);
    }
    const QString line = editor.buildLine();
    m_schedule.add(line);
    // The new or changed item may have moved: keep it selected where it now stands.
    const int at = m_schedule.list().indexOf(line);
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
    m_schedule.removeAt(index);
}

void TSchedMain::btnHelpClick()
{
    HelpSystem::showTopic(QStringLiteral("Scheduler"));
}
