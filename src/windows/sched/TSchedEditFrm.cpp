#include "windows/sched/TSchedEditFrm.h"
#include "windows/ui/DialogFlags.h"

#include "windows/ui/DialogButtons.h"
#include "windows/ui/HelpSystem.h"
#include "windows/ui/ModalSeam.h"

#include <QAbstractItemView>
#include <QButtonGroup>
#include <QCalendarWidget>
#include <QComboBox>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSpinBox>
#include <QStackedWidget>
#include <QToolButton>

#include <algorithm>

namespace {

const char* const kOptionNames[] = {"rbToday", "rbDate", "rbDaily", "rbWeekly", "rbSun", "rbMon",
                                    "rbTue",   "rbWed",  "rbThu",   "rbFri",    "rbSat"};
const char* const kOptionCaptions[] = {QT_TRANSLATE_NOOP("TSchedEditFrm", "Today"),
                                       QT_TRANSLATE_NOOP("TSchedEditFrm", "On date:"),
                                       QT_TRANSLATE_NOOP("TSchedEditFrm", "Daily from date:"),
                                       QT_TRANSLATE_NOOP("TSchedEditFrm", "Weekly from date:"),
                                       QT_TRANSLATE_NOOP("TSchedEditFrm", "Each Sunday"),
                                       QT_TRANSLATE_NOOP("TSchedEditFrm", "Each Monday"),
                                       QT_TRANSLATE_NOOP("TSchedEditFrm", "Each Tuesday"),
                                       QT_TRANSLATE_NOOP("TSchedEditFrm", "Each Wednesday"),
                                       QT_TRANSLATE_NOOP("TSchedEditFrm", "Each Thursday"),
                                       QT_TRANSLATE_NOOP("TSchedEditFrm", "Each Friday"),
                                       QT_TRANSLATE_NOOP("TSchedEditFrm", "Each Saturday")};

QLabel* addLabel(QWidget* parent, const QString& text, int x, int y, int w)
{
    auto* label = new QLabel(text, parent);
    label->setGeometry(x, y, w, 16);
    return label;
}

// Where the fields beside a column of captions begin: at `left`, or further right when a
// caption (a long translation) needs it, so no caption ever runs into its field.
int fieldsLeft(const QList<QLabel*>& captions, int left)
{
    constexpr int gap = 6;
    for (const QLabel* caption : captions)
        left = std::max(left, caption->x() + caption->sizeHint().width() + gap);
    for (QLabel* caption : captions)
        caption->resize(left - gap - caption->x(), caption->height());
    return left;
}

} // namespace

TSchedEditFrm::TSchedEditFrm(DayNumber today, QWidget* parent)
    : QDialog(parent, FixedDialogFlags), m_today(today)
{
    setObjectName(QStringLiteral("SchedEditFrm"));
    setWindowTitle(tr("Add Scheduler Item"));
    setFixedSize(392, 433);

    buildWhenGroup();
    buildWhatGroup();

    // OK calls this class's accept(), which may refuse the item and keep the dialog open.
    const DialogButtons buttons = DialogButtons::add(this, 142, 402, 83, tr("&OK"));
    m_btnOK = buttons.ok;
    connect(buttons.help, &QPushButton::clicked, this, &TSchedEditFrm::btnHelpClick);

    // Time, "Today", "On date:", the date group, the other options, then the "What:" group.
    QList<QWidget*> chain{m_seHr,
                          m_seMin,
                          m_dateOptions->button(EditorRules::Today),
                          m_dateOptions->button(EditorRules::OnDate),
                          findChild<QWidget*>(QStringLiteral("btnDn")),
                          findChild<QWidget*>(QStringLiteral("btnUp")),
                          m_calendar};
    for (int option = EditorRules::DailyFrom; option <= EditorRules::EachSaturday; ++option)
        chain.append(m_dateOptions->button(option));
    chain << m_cbActivity << m_mmText << m_edProgName
          << findChild<QWidget*>(QStringLiteral("btnBrowseProgram")) << m_edParams << m_edStartDir
          << findChild<QWidget*>(QStringLiteral("Button1")) << m_rbNormal << m_rbMinimized
          << m_rbMaximized << buttons.ok << buttons.cancel << buttons.help;
    for (qsizetype i = 1; i < chain.size(); ++i)
        setTabOrder(chain.at(i - 1), chain.at(i));

    setCalendarDate(DayNumbers::toDate(m_today));
    m_seHr->setFocus();

    if (QScreen* s = screen())
        move(s->availableGeometry().center() - rect().center());
}

void TSchedEditFrm::buildWhenGroup()
{
    auto* group1 = new QGroupBox(tr("When:"), this);
    group1->setObjectName(QStringLiteral("GroupBox1"));
    group1->setGeometry(8, 4, 376, 248);

    const int timeLeft = fieldsLeft({addLabel(group1, tr("At time:"), 12, 24, 52)}, 68);
    m_seHr = new QSpinBox(group1);
    m_seHr->setObjectName(QStringLiteral("seHr"));
    m_seHr->setRange(0, 23);
    m_seHr->setGeometry(timeLeft, 20, 48, 22);
    addLabel(group1, tr("h"), timeLeft + 52, 23, 10);
    m_seMin = new QSpinBox(group1);
    m_seMin->setObjectName(QStringLiteral("seMin"));
    m_seMin->setRange(0, 59);
    m_seMin->setGeometry(timeLeft + 66, 20, 48, 22);
    addLabel(group1, tr("m"), timeLeft + 118, 23, 14);
    // Both fields sit in "When:", which screen readers would give each as its name.
    m_seHr->setAccessibleName(tr("Hours"));
    m_seMin->setAccessibleName(tr("Minutes"));

    m_dateOptions = new QButtonGroup(this);
    m_dateOptions->setExclusive(true);
    for (int option = EditorRules::Today; option <= EditorRules::EachSaturday; ++option) {
        auto* rb = new QRadioButton(tr(kOptionCaptions[option]), group1);
        rb->setObjectName(QLatin1String(kOptionNames[option]));
        rb->setGeometry(12, 50 + option * 17, 144, 17);
        m_dateOptions->addButton(rb, option);
    }
    m_dateOptions->button(EditorRules::Today)->setChecked(true);
    connect(m_dateOptions, &QButtonGroup::buttonClicked, this, &TSchedEditFrm::rbClick);

    auto* group2 = new QGroupBox(tr("Date:"), group1);
    group2->setObjectName(QStringLiteral("GroupBox2"));
    group2->setGeometry(160, 46, 206, 194);

    auto* btnDn = new QToolButton(group2);
    btnDn->setObjectName(QStringLiteral("btnDn"));
    btnDn->setArrowType(Qt::LeftArrow);
    btnDn->setToolTip(tr("Previous month"));
    // Without names of their own both arrows would be read out as their group's title.
    btnDn->setAccessibleName(btnDn->toolTip());
    btnDn->setGeometry(8, 20, 22, 22);
    m_lbMthYr = new QLabel(group2);
    m_lbMthYr->setObjectName(QStringLiteral("lbMthYr"));
    m_lbMthYr->setAlignment(Qt::AlignCenter);
    m_lbMthYr->setGeometry(32, 22, 142, 18);
    auto* btnUp = new QToolButton(group2);
    btnUp->setObjectName(QStringLiteral("btnUp"));
    btnUp->setArrowType(Qt::RightArrow);
    btnUp->setToolTip(tr("Next month"));
    btnUp->setAccessibleName(btnUp->toolTip());
    btnUp->setGeometry(176, 20, 22, 22);
    connect(btnDn, &QToolButton::clicked, this, &TSchedEditFrm::btnDnClick);
    connect(btnUp, &QToolButton::clicked, this, &TSchedEditFrm::btnUpClick);

    m_calendar = new QCalendarWidget(group2);
    m_calendar->setObjectName(QStringLiteral("Calendar"));
    // Weeks begin where the user's calendar begins them: Monday in most of Europe.
    m_calendar->setFirstDayOfWeek(QLocale().firstDayOfWeek());
    m_calendar->setGridVisible(false);
    m_calendar->setNavigationBarVisible(false);
    m_calendar->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    m_calendar->setHorizontalHeaderFormat(QCalendarWidget::SingleLetterDayNames);
    // Only dates a schedule line can hold.
    m_calendar->setDateRange(EditorRules::minDate(), EditorRules::maxDate());
    QPalette face = m_calendar->palette();
    face.setColor(QPalette::Base, face.color(QPalette::Button));
    m_calendar->setPalette(face);
    m_calendar->setGeometry(8, 46, 190, 140);
    if (auto* days = m_calendar->findChild<QAbstractItemView*>())
        days->setAccessibleName(tr("Calendar"));
    connect(m_calendar, &QCalendarWidget::selectionChanged, this, &TSchedEditFrm::CalendarChange);
}

void TSchedEditFrm::buildWhatGroup()
{
    auto* group3 = new QGroupBox(tr("What:"), this);
    group3->setObjectName(QStringLiteral("GroupBox3"));
    group3->setGeometry(8, 256, 376, 140);

    QLabel* activity = addLabel(group3, tr("Activity:"), 12, 24, 56);
    m_cbActivity = new QComboBox(group3);
    activity->setBuddy(m_cbActivity);
    m_cbActivity->setObjectName(QStringLiteral("cbActivity"));
    m_cbActivity->addItems({tr("Reminder"), tr("Run program")});
    const int activityLeft = fieldsLeft({activity}, 72);
    m_cbActivity->setGeometry(activityLeft, 20, 212 - activityLeft, 24);
    m_cbActivity->view()->setAccessibleName(tr("Activity"));
    connect(m_cbActivity, &QComboBox::currentIndexChanged, this, &TSchedEditFrm::cbActivityChange);

    m_nbWhat = new QStackedWidget(group3);
    m_nbWhat->setObjectName(QStringLiteral("nbWhat"));
    m_nbWhat->setGeometry(8, 48, 360, 88);

    auto* pageReminder = new QWidget;
    pageReminder->setObjectName(QStringLiteral("Reminder"));
    QLabel* textLabel = addLabel(pageReminder, tr("Text:"), 4, 4, 50);
    m_mmText = new QPlainTextEdit(pageReminder);
    textLabel->setBuddy(m_mmText);
    m_mmText->setObjectName(QStringLiteral("mmText"));
    m_mmText->setTabChangesFocus(true);
    const int textLeft = fieldsLeft({textLabel}, 60);
    m_mmText->setGeometry(textLeft, 2, 300 - textLeft, 80);
    // Enter confirms the dialog instead of starting a new line.
    m_mmText->installEventFilter(this);
    m_nbWhat->addWidget(pageReminder);

    auto* pageRun = new QWidget;
    pageRun->setObjectName(QStringLiteral("Run program"));
    QLabel* program = addLabel(pageRun, tr("Program:"), 4, 3, 74);
    m_edProgName = new QLineEdit(pageRun);
    program->setBuddy(m_edProgName);
    m_edProgName->setObjectName(QStringLiteral("edProgName"));
    m_edProgName->setGeometry(78, 0, 240, 21);
    auto* btnBrowseProgram = new QPushButton(QStringLiteral("..."), pageRun);
    btnBrowseProgram->setObjectName(QStringLiteral("btnBrowseProgram"));
    btnBrowseProgram->setAccessibleName(tr("Browse for program"));
    btnBrowseProgram->setGeometry(322, 0, 26, 21);
    connect(btnBrowseProgram, &QPushButton::clicked, this, &TSchedEditFrm::btnBrowseProgramClick);

    QLabel* params = addLabel(pageRun, tr("Parameters:"), 4, 25, 74);
    m_edParams = new QLineEdit(pageRun);
    params->setBuddy(m_edParams);
    m_edParams->setObjectName(QStringLiteral("edParams"));
    m_edParams->setGeometry(78, 22, 240, 21);

    QLabel* startDir = addLabel(pageRun, tr("Start Dir:"), 4, 47, 74);
    m_edStartDir = new QLineEdit(pageRun);
    startDir->setBuddy(m_edStartDir);
    m_edStartDir->setObjectName(QStringLiteral("edStartDir"));
    m_edStartDir->setGeometry(78, 44, 240, 21);
    auto* button1 = new QPushButton(QStringLiteral("..."), pageRun);
    button1->setObjectName(QStringLiteral("Button1"));
    button1->setAccessibleName(tr("Browse for start folder"));
    button1->setGeometry(322, 44, 26, 21);
    connect(button1, &QPushButton::clicked, this, &TSchedEditFrm::Button1Click);

    QLabel* state = addLabel(pageRun, tr("State:"), 4, 69, 74);
    m_rbNormal = new QRadioButton(tr("Normal"), pageRun);
    m_rbNormal->setObjectName(QStringLiteral("rbNormal"));
    m_rbNormal->setGeometry(78, 66, 80, 20);
    m_rbNormal->setChecked(true);
    m_rbMinimized = new QRadioButton(tr("Minimized"), pageRun);
    m_rbMinimized->setObjectName(QStringLiteral("rbMinimized"));
    m_rbMinimized->setGeometry(160, 66, 90, 20);
    m_rbMaximized = new QRadioButton(tr("Maximized"), pageRun);
    m_rbMaximized->setObjectName(QStringLiteral("rbMaximized"));
    m_rbMaximized->setGeometry(254, 66, 94, 20);
    // The fields begin after the widest caption, so a long translation never runs into them,
    // and end before the browse buttons at 322; the window states share what is left.
    const int left = fieldsLeft({program, params, startDir, state}, 78);
    for (QLineEdit* field : {m_edProgName, m_edParams, m_edStartDir})
        field->setGeometry(left, field->y(), 318 - left, field->height());
    const QList<QRadioButton*> states{m_rbNormal, m_rbMinimized, m_rbMaximized};
    int spare = 348 - left - 6;
    for (const QRadioButton* rb : states)
        spare -= rb->sizeHint().width();
    int x = left;
    for (QRadioButton* rb : states) {
        const int width = rb->sizeHint().width() + std::max(0, spare) / 3;
        rb->setGeometry(x, rb->y(), width, rb->height());
        x += width + 3;
    }
    m_nbWhat->addWidget(pageRun);

    m_nbWhat->setCurrentIndex(0);
}

void TSchedEditFrm::presetAdd(int hour, int minute)
{
    m_originalLine.clear();
    m_seHr->setValue(hour);
    m_seMin->setValue(minute);
    m_cbActivity->setCurrentIndex(0);
    setCalendarDate(DayNumbers::toDate(m_today));
}

void TSchedEditFrm::loadLine(const QString& line)
{
    m_originalLine = line;
    const EditorRules::EditorValues v = EditorRules::valuesFromLine(line);
    m_seHr->setValue(v.hour);
    m_seMin->setValue(v.minute);
    selectOption(v.option);
    m_cbActivity->setCurrentIndex(v.runProgram ? 1 : 0);
    if (v.runProgram) {
        m_edProgName->setText(v.program);
        m_edParams->setText(v.parameters);
        m_edStartDir->setText(v.startDir);
        if (v.showState == EditorRules::ShowMinimized)
            m_rbMinimized->setChecked(true);
        else if (v.showState == EditorRules::ShowMaximized)
            m_rbMaximized->setChecked(true);
        else
            m_rbNormal->setChecked(true);
    } else {
        m_mmText->setPlainText(v.text);
    }
    setCalendarDate(DayNumbers::toDate(v.date));
}

void TSchedEditFrm::setCalendarDate(const QDate& date)
{
    m_calendar->setSelectedDate(date);
    // The selection signal stays quiet when the date does not change.
    CalendarChange();
}

QDate TSchedEditFrm::calendarDate() const
{
    return m_calendar->selectedDate();
}

void TSchedEditFrm::selectOption(int option)
{
    QAbstractButton* rb = m_dateOptions->button(option);
    if (!rb)
        return;
    rb->setChecked(true);
    rbClick(rb);
}

int TSchedEditFrm::selectedOption() const
{
    return m_dateOptions->checkedId();
}

EditorRules::EditorValues TSchedEditFrm::values() const
{
    EditorRules::EditorValues v;
    v.hour = EditorRules::spinValue(m_seHr->cleanText(), m_seHr->minimum(), m_seHr->maximum());
    v.minute = EditorRules::spinValue(m_seMin->cleanText(), m_seMin->minimum(), m_seMin->maximum());
    v.date = DayNumbers::fromDate(m_calendar->selectedDate());
    v.option = selectedOption();
    v.runProgram = m_cbActivity->currentIndex() == 1;
    v.text = m_mmText->toPlainText();
    v.program = m_edProgName->text();
    v.parameters = m_edParams->text();
    v.startDir = m_edStartDir->text();
    v.showState = m_rbMinimized->isChecked()   ? EditorRules::ShowMinimized
                  : m_rbMaximized->isChecked() ? EditorRules::ShowMaximized
                                               : EditorRules::ShowNormal;
    return v;
}

QString TSchedEditFrm::buildLine() const
{
    return EditorRules::buildLine(values(), m_today);
}

void TSchedEditFrm::rbClick(QAbstractButton* sender)
{
    const int option = m_dateOptions->id(sender);
    if (option == EditorRules::Today)
        setCalendarDate(DayNumbers::toDate(m_today));
    // A disabled calendar keeps its date; it still supplies it on OK.
    m_calendar->setEnabled(option == EditorRules::OnDate || option == EditorRules::WeeklyFrom);
}

void TSchedEditFrm::CalendarChange()
{
    m_lbMthYr->setText(EditorRules::monthYearLabel(m_calendar->selectedDate(), QLocale()));
}

void TSchedEditFrm::btnDnClick()
{
    setCalendarDate(EditorRules::stepMonth(calendarDate(), -1));
}

void TSchedEditFrm::btnUpClick()
{
    setCalendarDate(EditorRules::stepMonth(calendarDate(), 1));
}

void TSchedEditFrm::cbActivityChange()
{
    m_nbWhat->setCurrentIndex(m_cbActivity->currentIndex());
}

void TSchedEditFrm::btnBrowseProgramClick()
{
    const QString current = m_edProgName->text();
    const QString start = current.isEmpty() ? QString() : QFileInfo(current).absolutePath();
    const QString chosen =
        ModalSeam::chooseFile(this, tr("Choose program"), start, tr("Programs (*);;All files (*)"));
    if (!chosen.isEmpty())
        m_edProgName->setText(chosen);
}

void TSchedEditFrm::Button1Click()
{
    const QString chosen =
        ModalSeam::chooseFolder(this, tr("Choose a start directory"), m_edStartDir->text());
    if (!chosen.isEmpty())
        m_edStartDir->setText(chosen);
}

void TSchedEditFrm::btnHelpClick()
{
    // The topics are named after the English title and activity, whatever the language shown.
    const QString caption = m_originalLine.isEmpty() ? QStringLiteral("Add Scheduler Item")
                                                     : QStringLiteral("Modify Scheduler Item");
    HelpSystem::showTopic(EditorRules::helpTopic(caption, m_nbWhat->currentWidget()->objectName()));
}

void TSchedEditFrm::accept()
{
    // Storing what the launcher cannot start would only fail later, every time it comes due.
    const EditorRules::Refusal refusal = EditorRules::runItemRefusal(values());
    if (!refusal.field.isEmpty()) {
        ModalSeam::warning(this, QCoreApplication::applicationName(), refusal.message);
        QLineEdit* edit = refusal.field == QLatin1String("Program")      ? m_edProgName
                          : refusal.field == QLatin1String("Parameters") ? m_edParams
                                                                         : m_edStartDir;
        edit->setFocus();
        return;
    }
    QDialog::accept();
}

bool TSchedEditFrm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_mmText && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            m_btnOK->click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
