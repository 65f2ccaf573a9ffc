#include "doubles/FakePlatform.h"

#include "core/ClockReading.h"
#include "ports/Platform.h"
#include "rules/sched/Schedule.h"
#include "rules/sched/ScheduleEntry.h"
#include "rules/settings/SettingsInForce.h"
#include "windows/sched/SchedulerUi.h"
#include "windows/sched/TAlarmFrm.h"
#include "windows/sched/TReminderFrm.h"
#include "windows/sched/TSchedEditFrm.h"
#include "windows/sched/TSchedMain.h"
#include "windows/ui/ModalSeam.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTableView>
#include <QTest>
#include <QTextEdit>
#include <QTimer>

#include <functional>
#include <memory>
#include <stdexcept>

// The slices the scheduler's windows read and write.
struct WindowState {
    std::shared_ptr<Schedule> sched = std::make_shared<Schedule>();
    ClockReading clock;
    SettingsInForce settings;
};

namespace {

// Wednesday 5 January 2000.
constexpr DayNumber kWednesday = 36530;

template <class T> T* shownWindow()
{
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* t = qobject_cast<T*>(w); t && t->isVisible())
            return t;
    }
    return nullptr;
}

// Runs `act` on the dialog of type T once its exec() has shown it.
template <class T> void whenShown(std::function<void(T*)> act)
{
    QTimer::singleShot(0, [act] {
        if (T* dialog = shownWindow<T>())
            act(dialog);
        else
            whenShown<T>(act);
    });
}

template <class T> T* child(QObject* parent, const char* name)
{
    T* found = parent->findChild<T*>(QLatin1String(name));
    if (!found)
        qFatal("no child %s", name);
    return found;
}

QList<TAlarmFrm*> alarms()
{
    QList<TAlarmFrm*> out;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* a = qobject_cast<TAlarmFrm*>(w))
            out << a;
    }
    return out;
}

QStringList gridRow(QTableView* grid, int row)
{
    QStringList cells;
    const QAbstractItemModel* model = grid->model();
    for (int column = 0; column < model->columnCount(); ++column)
        cells << model->data(model->index(row, column)).toString();
    return cells;
}

int gridRows(QTableView* grid)
{
    return grid->model()->rowCount();
}

} // namespace

class TestSchedWindows : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void editorLoadsRunItem();
    void editorOpensOneShotOnDate();
    void dateOptionsEnableCalendar_data();
    void dateOptionsEnableCalendar();
    void monthButtonsStep();
    void editorRefusesWhatCannotRun_data();
    void editorRefusesWhatCannotRun();
    void enterInEditorTextConfirms();

    void emptyListShowsOneEmptyRow();
    void deletingOnlyItemLeavesEmptyRow();
    void changedItemMovesToItsSortedRow();
    void addGoesThroughModalEditor();
    void deleteKeepsSelectedRow_data();
    void deleteKeepsSelectedRow();
    void longNamesFitTheirColumns_data();
    void longNamesFitTheirColumns();

    void firesReminder_data();
    void firesReminder();
    void firesRunAndUnknownItems();
    void reminderFreesItselfOnClose();
    void schedulerCommandSuspendsScan();
    void suspensionEndsWhenSaveThrows();
    void quickReminderStoresOneLine();

private:
    WindowState m_state;
    FakeSound m_sound;
    FakeLauncher m_launcher;
    FakeClock m_clock;
    Platform m_platform;
};

void TestSchedWindows::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
    m_platform.sound = &m_sound;
    m_platform.launcher = &m_launcher;
    m_platform.clock = &m_clock;
}

void TestSchedWindows::cleanup()
{
    qDeleteAll(alarms());
}

void TestSchedWindows::init()
{
    ModalSeam::clearQueues();
    ModalSeam::shownMessages().clear();
    m_state = WindowState();
    m_state.clock.TodayDate = kWednesday;
    m_sound.calls.clear();
    m_launcher.calls.clear();
    m_launcher.result = true;
    m_clock.slept = 0;
}

void TestSchedWindows::editorLoadsRunItem()
{
    const QString line = "09053652600Run:notepad.exe,readme.txt,/tmp,3";
    TSchedEditFrm editor(kWednesday);
    editor.loadLine(line);

    QCOMPARE(child<QLineEdit>(&editor, "edProgName")->text(), "notepad.exe");
    QCOMPARE(child<QLineEdit>(&editor, "edParams")->text(), "readme.txt");
    QCOMPARE(child<QLineEdit>(&editor, "edStartDir")->text(), "/tmp");
    QVERIFY(child<QRadioButton>(&editor, "rbMaximized")->isChecked());
    QCOMPARE(child<QComboBox>(&editor, "cbActivity")->currentText(), "Run program");
    QCOMPARE(child<QStackedWidget>(&editor, "nbWhat")->currentWidget()->objectName(),
             "Run program");
    QCOMPARE(child<QSpinBox>(&editor, "seHr")->value(), 9);
    QCOMPARE(child<QSpinBox>(&editor, "seMin")->value(), 5);
    QCOMPARE(editor.calendarDate(), QDate(2000, 1, 1));
    QCOMPARE(child<QLabel>(&editor, "lbMthYr")->text(), "January 2000");
    // Unchanged, it stores the same line again.
    QCOMPARE(editor.buildLine(), line);
}

void TestSchedWindows::editorOpensOneShotOnDate()
{
    TSchedEditFrm editor(kWednesday);
    editor.loadLine("18003653100Reminder:Call: home");
    QVERIFY(child<QRadioButton>(&editor, "rbDate")->isChecked());
    QVERIFY(child<QCalendarWidget>(&editor, "Calendar")->isEnabled());
    QCOMPARE(editor.calendarDate(), QDate(2000, 1, 6));
    QCOMPARE(child<QPlainTextEdit>(&editor, "mmText")->toPlainText(), "Call: home");
    QCOMPARE(child<QComboBox>(&editor, "cbActivity")->currentText(), "Reminder");
}

void TestSchedWindows::dateOptionsEnableCalendar_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<QDate>("date"); // what the calendar holds after the click
    const QDate chosen(2000, 2, 10);
    const QDate today(2000, 1, 5);
    QTest::newRow("Today resets the date") << "rbToday" << false << today;
    QTest::newRow("On date") << "rbDate" << true << chosen;
    QTest::newRow("Daily keeps its date") << "rbDaily" << false << chosen;
    QTest::newRow("Weekly") << "rbWeekly" << true << chosen;
    QTest::newRow("Each Sunday") << "rbSun" << false << chosen;
    QTest::newRow("Each Saturday") << "rbSat" << false << chosen;
}

void TestSchedWindows::dateOptionsEnableCalendar()
{
    QFETCH(QString, option);
    QFETCH(bool, enabled);
    QFETCH(QDate, date);

    TSchedEditFrm editor(kWednesday);
    editor.presetAdd(8, 0);
    auto* calendar = child<QCalendarWidget>(&editor, "Calendar");
    QVERIFY(calendar->isEnabled()); // live at opening, although "Today" is selected
    editor.setCalendarDate(QDate(2000, 2, 10));
    child<QRadioButton>(&editor, option.toLatin1().constData())->click();
    QCOMPARE(calendar->isEnabled(), enabled);
    QCOMPARE(editor.calendarDate(), date);
}

void TestSchedWindows::monthButtonsStep()
{
    TSchedEditFrm editor(kWednesday);
    auto* down = child<QAbstractButton>(&editor, "btnDn");
    auto* up = child<QAbstractButton>(&editor, "btnUp");
    auto* label = child<QLabel>(&editor, "lbMthYr");

    editor.setCalendarDate(QDate(2000, 1, 15));
    down->click();
    QCOMPARE(editor.calendarDate(), QDate(1999, 12, 15));
    QCOMPARE(label->text(), "December 1999");
    up->click();
    QCOMPARE(editor.calendarDate(), QDate(2000, 1, 15));
    QCOMPARE(label->text(), "January 2000");

    // A day the next month lacks lands on its last day, never on an invalid date.
    editor.setCalendarDate(QDate(2000, 3, 31));
    up->click();
    QCOMPARE(editor.calendarDate(), QDate(2000, 4, 30));
    QCOMPARE(label->text(), "April 2000");
}

void TestSchedWindows::editorRefusesWhatCannotRun_data()
{
    QTest::addColumn<QString>("edit");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("fixed");
    // A comma would split the stored fields and start the wrong program.
    QTest::newRow("comma in start dir") << "edStartDir"
                                        << "/tmp/a,b"
                                        << "Start Dir"
                                        << "/tmp";
    QTest::newRow("comma in program") << "edProgName"
                                      << "/bin/a,b"
                                      << "Program"
                                      << "/bin/true";
    // The launcher could never split these, so the item would fail every time.
    QTest::newRow("unpaired quote") << "edParams"
                                    << "p5 O'Brien"
                                    << "Parameters"
                                    << "p5 \"O'Brien\"";
    QTest::newRow("backslash before letter") << "edParams"
                                             << "C:\\Temp\\new"
                                             << "Parameters"
                                             << "'C:\\Temp\\new'";
}

void TestSchedWindows::editorRefusesWhatCannotRun()
{
    QFETCH(QString, edit);
    QFETCH(QString, text);
    QFETCH(QString, field);
    QFETCH(QString, fixed);
    TSchedEditFrm editor(kWednesday);
    editor.presetAdd(8, 0);
    child<QComboBox>(&editor, "cbActivity")->setCurrentIndex(1);
    child<QLineEdit>(&editor, "edProgName")->setText("/bin/true");
    auto* line = child<QLineEdit>(&editor, edit.toLatin1().constData());
    line->setText(text);
    editor.show();
    QVERIFY(QTest::qWaitForWindowActive(&editor));

    ModalSeam::queueMessageAnswer();
    child<QPushButton>(&editor, "btnOK")->click();
    QVERIFY(editor.isVisible());
    QCOMPARE(editor.result(), int(QDialog::Rejected));
    QCOMPARE(ModalSeam::shownMessages().size(), 1);
    QVERIFY(ModalSeam::shownMessages().first().startsWith("The " + field + " field "));
    QVERIFY(line->hasFocus());

    line->setText(fixed);
    child<QPushButton>(&editor, "btnOK")->click();
    QVERIFY(!editor.isVisible());
    QCOMPARE(editor.result(), int(QDialog::Accepted));
    QCOMPARE(ModalSeam::shownMessages().size(), 1);
}

void TestSchedWindows::enterInEditorTextConfirms()
{
    TSchedEditFrm editor(kWednesday);
    editor.presetAdd(8, 0);
    editor.show();
    auto* text = child<QPlainTextEdit>(&editor, "mmText");
    QTest::keyClicks(text, "Tea");
    QTest::keyClick(text, Qt::Key_Return);
    QCOMPARE(editor.result(), int(QDialog::Accepted));
    QCOMPARE(text->toPlainText(), "Tea");
}

void TestSchedWindows::emptyListShowsOneEmptyRow()
{
    TSchedMain dialog(*m_state.sched, m_state.clock);
    auto* grid = child<QTableView>(&dialog, "sgSchedule");
    QCOMPARE(gridRows(grid), 1);
    QCOMPARE(gridRow(grid, 0), QStringList({"", "", "", ""}));
    QCOMPARE(grid->model()->headerData(3, Qt::Horizontal).toString(), "Detail");

    dialog.btnDeleteClick();
    QCOMPARE(m_state.sched->count(), 0);
    QVERIFY(dialog.createEditor(true) == nullptr);
    QVERIFY(dialog.createEditor(false) != nullptr);

    // An item added from outside (the command line, the bus) shows at once.
    m_state.sched->add("09053652605Reminder:Call home");
    QCOMPARE(gridRow(grid, 0), QStringList({"09:05", "01Jan00", "Each Tue", "Reminder:Call home"}));
}

void TestSchedWindows::deletingOnlyItemLeavesEmptyRow()
{
    m_state.sched->add("09053652605Reminder:Call home");
    TSchedMain dialog(*m_state.sched, m_state.clock);
    auto* grid = child<QTableView>(&dialog, "sgSchedule");
    QCOMPARE(gridRow(grid, 0), QStringList({"09:05", "01Jan00", "Each Tue", "Reminder:Call home"}));

    dialog.btnDeleteClick();
    QCOMPARE(m_state.sched->count(), 0);
    QCOMPARE(gridRows(grid), 1);
    QCOMPARE(gridRow(grid, 0), QStringList({"", "", "", ""}));
}

void TestSchedWindows::changedItemMovesToItsSortedRow()
{
    m_state.sched->add("18003653000Reminder:evening");
    m_state.sched->add("12003653000Reminder:noon");
    TSchedMain dialog(*m_state.sched, m_state.clock);
    auto* grid = child<QTableView>(&dialog, "sgSchedule");
    dialog.selectIndex(1);
    {
        std::unique_ptr<TSchedEditFrm> editor = dialog.createEditor(true);
        QCOMPARE(editor->windowTitle(), "Modify Scheduler Item");
        child<QSpinBox>(editor.get(), "seHr")->setValue(7);
        dialog.applyEditor(*editor);
    }
    QCOMPARE(m_state.sched->lines(),
             QStringList({"07003653000Reminder:evening", "12003653000Reminder:noon"}));
    QCOMPARE(gridRows(grid), 2);
    QCOMPARE(gridRow(grid, 0).first(), "07:00");
}

void TestSchedWindows::addGoesThroughModalEditor()
{
    m_state.clock.CurrentHour = 14;
    m_state.clock.CurrentMinute = 7;
    TSchedMain dialog(*m_state.sched, m_state.clock);
    QString title;
    bool today = false;
    whenShown<TSchedEditFrm>([&](TSchedEditFrm* editor) {
        title = editor->windowTitle();
        today = child<QRadioButton>(editor, "rbToday")->isChecked();
        child<QPlainTextEdit>(editor, "mmText")->setPlainText("Tea");
        child<QPushButton>(editor, "btnOK")->click();
    });
    dialog.btnAddClick();
    QCOMPARE(title, "Add Scheduler Item");
    QVERIFY(today);
    QCOMPARE(m_state.sched->lines(), QStringList({"14073653000Reminder:Tea"}));
    QCOMPARE(gridRow(child<QTableView>(&dialog, "sgSchedule"), 0).at(1), "05Jan00");
}

void TestSchedWindows::deleteKeepsSelectedRow_data()
{
    QTest::addColumn<int>("selected");
    QTest::addColumn<QStringList>("left");
    QTest::addColumn<int>("selectedAfter");
    // The row stays where it was and shows the next item; after the last item the new last.
    QTest::newRow("first") << 0 << QStringList({"09003653000Reminder:b", "10003653000Reminder:c"})
                           << 0;
    QTest::newRow("middle") << 1 << QStringList({"08003653000Reminder:a", "10003653000Reminder:c"})
                            << 1;
    QTest::newRow("last") << 2 << QStringList({"08003653000Reminder:a", "09003653000Reminder:b"})
                          << 1;
}

void TestSchedWindows::deleteKeepsSelectedRow()
{
    QFETCH(int, selected);
    QFETCH(QStringList, left);
    QFETCH(int, selectedAfter);
    for (const char* line :
         {"08003653000Reminder:a", "09003653000Reminder:b", "10003653000Reminder:c"})
        m_state.sched->add(QString::fromLatin1(line));
    TSchedMain dialog(*m_state.sched, m_state.clock);
    dialog.show();
    auto* grid = child<QTableView>(&dialog, "sgSchedule");
    dialog.selectIndex(selected);
    dialog.btnDeleteClick();
    QCOMPARE(m_state.sched->lines(), left);
    QCOMPARE(gridRows(grid), 2);
    QCOMPARE(dialog.selectedIndex(), selectedAfter);
    QCOMPARE(grid->currentIndex().row(), selectedAfter);
    QCOMPARE(gridRow(grid, selectedAfter).at(3), left.at(selectedAfter).mid(11));

    // A second Delete takes the item now selected, not a remembered one.
    dialog.btnDeleteClick();
    QCOMPARE(m_state.sched->count(), 1);
    QVERIFY(!m_state.sched->lines().contains(left.at(selectedAfter)));
}

void TestSchedWindows::longNamesFitTheirColumns_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::newRow("English") << QLocale(QLocale::English, QLocale::UnitedKingdom);
    // Abbreviated months of up to eight letters ("marrask.").
    QTest::newRow("Finnish") << QLocale(QLocale::Finnish, QLocale::Finland);
    QTest::newRow("Russian") << QLocale(QLocale::Russian, QLocale::Russia);
    QTest::newRow("Vietnamese") << QLocale(QLocale::Vietnamese, QLocale::Vietnam);
}

// The grid's columns are sized once, for every text they can show; none may be cut, whichever
// month or type the list holds.
void TestSchedWindows::longNamesFitTheirColumns()
{
    QFETCH(QLocale, locale);
    const QLocale before;
    QLocale::setDefault(locale);
    // One item in every month of 2088 (28th) and one of every type code, also an unknown one.
    for (int month = 1; month <= 12; ++month) {
        m_state.sched->add(ScheduleEntry::FormatScheduleEntry(
            23, 58, DayNumbers::fromDate(QDate(2088, month, 28)), 0, "Reminder:m"));
    }
    for (int code = 0; code <= 10; ++code) {
        m_state.sched->add(ScheduleEntry::FormatScheduleEntry(8, 8, 36530, code, "Reminder:t"));
    }
    TSchedMain dialog(*m_state.sched, m_state.clock);
    dialog.show();
    auto* grid = child<QTableView>(&dialog, "sgSchedule");
    QCOMPARE(gridRows(grid), 23);
    for (int column = 0; column < 3; ++column) {
        // Sized to what its cells and header need, measured by the grid itself.
        const int width = grid->columnWidth(column);
        grid->resizeColumnToContents(column);
        QVERIFY2(grid->columnWidth(column) <= width,
                 qPrintable(QString("column %1 needs %2, has %3")
                                .arg(column)
                                .arg(grid->columnWidth(column))
                                .arg(width)));
    }
    QLocale::setDefault(before);
}

void TestSchedWindows::firesReminder_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QStringList>("sound");
    QTest::newRow("silent") << 0 << QStringList();
    QTest::newRow("beep") << 1 << QStringList({"beep"});
    QTest::newRow("sound file") << 2 << QStringList({"play /snd/alarm.wav"});
    QTest::newRow("other mode silent") << 3 << QStringList();
}

void TestSchedWindows::firesReminder()
{
    QFETCH(int, mode);
    QFETCH(QStringList, sound);

    m_state.settings.AlarmMode = mode;
    m_state.settings.AlarmSound = "/snd/alarm.wav";
    m_state.clock.CurrentHour = 9;
    m_state.clock.CurrentMinute = 5;
    QPointer<TAlarmFrm> alarm;
    {
        SchedulerUi ui(*m_state.sched, m_state.clock, m_state.settings, m_platform, nullptr);
        QVERIFY(ui.FireScheduleItem("reminder:Call: <b>home</b>", "Wed 05 Jan 2000"));
        QCOMPARE(alarms().size(), 1);
        alarm = alarms().first();
        QVERIFY(alarm->isVisible());
        QVERIFY(!alarm->isModal());
        QCOMPARE(child<QLabel>(alarm, "lbTime")->text(), " 9:05");
        QCOMPARE(child<QLabel>(alarm, "lbDate")->text(), "Wed 05 Jan 2000");
        QCOMPARE(child<QTextEdit>(alarm, "lbText")->toPlainText(), "Call: <b>home</b>");
        QCOMPARE(m_sound.calls, sound);
        QCOMPARE(m_clock.slept, 1000);

        // Each firing opens its own window.
        m_state.clock.CurrentHour = 14;
        m_state.clock.CurrentMinute = 30;
        QVERIFY(ui.FireScheduleItem("Reminder:again", QString()));
        QCOMPARE(alarms().size(), 2);
        QVERIFY(alarm);
    }
    // Pop-ups still open go with the program.
    QVERIFY(!alarm);
    QCOMPARE(alarms().size(), 0);
}

void TestSchedWindows::firesRunAndUnknownItems()
{
    SchedulerUi ui(*m_state.sched, m_state.clock, m_state.settings, m_platform, nullptr);
    QVERIFY(ui.FireScheduleItem("RUN:/usr/bin/xterm,-e top,/tmp,2", QString()));
    QCOMPARE(m_launcher.calls, QStringList({"/usr/bin/xterm|-e top|/tmp|2"}));
    QCOMPARE(m_clock.slept, 1000);

    m_launcher.result = false;
    QVERIFY(!ui.FireScheduleItem("Run:/nowhere,,,1", QString()));
    QCOMPARE(m_clock.slept, 2000);

    m_state.settings.AlarmMode = 1;
    QVERIFY(!ui.FireScheduleItem("Note:x", QString()));
    QVERIFY(!ui.FireScheduleItem(QString(), QString()));
    QCOMPARE(m_launcher.calls.size(), 2);
    QCOMPARE(m_clock.slept, 4000);
    QCOMPARE(alarms().size(), 0);
    QVERIFY(m_sound.calls.isEmpty());
}

void TestSchedWindows::reminderFreesItselfOnClose()
{
    SchedulerUi ui(*m_state.sched, m_state.clock, m_state.settings, m_platform, nullptr);
    ui.FireScheduleItem("Reminder:x", QString());
    ui.FireScheduleItem("Reminder:y", QString());
    QList<TAlarmFrm*> open = alarms();
    QCOMPARE(open.size(), 2);
    QPointer<TAlarmFrm> viaButton = open.at(0);
    QPointer<TAlarmFrm> viaTitleBar = open.at(1);
    child<QPushButton>(viaButton, "btnOK")->click();
    viaTitleBar->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!viaButton);
    QVERIFY(!viaTitleBar);
}

void TestSchedWindows::schedulerCommandSuspendsScan()
{
    SchedulerUi ui(*m_state.sched, m_state.clock, m_state.settings, m_platform, nullptr);
    int saves = 0;
    bool suspendedWhileOpen = false;
    whenShown<TSchedMain>([&](TSchedMain* dialog) {
        suspendedWhileOpen = m_state.sched->suspended();
        child<QPushButton>(dialog, "btnOK")->click();
    });
    ui.SchedItemClick([&] { ++saves; });
    QVERIFY(suspendedWhileOpen);
    QVERIFY(!m_state.sched->suspended());
    QCOMPARE(saves, 1);

    // Cancel keeps the running list's changes but writes nothing.
    m_state.sched->add("09053653000Reminder:x");
    whenShown<TSchedMain>([](TSchedMain* dialog) {
        dialog->btnDeleteClick();
        child<QPushButton>(dialog, "btnCancel")->click();
    });
    ui.SchedItemClick([&] { ++saves; });
    QCOMPARE(saves, 1);
    QCOMPARE(m_state.sched->count(), 0);
    QVERIFY(!m_state.sched->suspended());
}

// A scan left suspended would never fire anything again.
void TestSchedWindows::suspensionEndsWhenSaveThrows()
{
    SchedulerUi ui(*m_state.sched, m_state.clock, m_state.settings, m_platform, nullptr);
    whenShown<TSchedMain>([](TSchedMain* dialog) { dialog->accept(); });
    bool thrown = false;
    try {
        ui.SchedItemClick([] { throw std::runtime_error("disk full"); });
    } catch (const std::runtime_error&) {
        thrown = true;
    }
    QVERIFY(thrown);
    QVERIFY(!m_state.sched->suspended());
}

void TestSchedWindows::quickReminderStoresOneLine()
{
    m_state.clock.CurrentHour = 14;
    m_state.clock.CurrentMinute = 7;
    SchedulerUi ui(*m_state.sched, m_state.clock, m_state.settings, m_platform, nullptr);
    int presetHour = -1;
    int presetMinute = -1;
    whenShown<TReminderFrm>([&](TReminderFrm* dialog) {
        presetHour = dialog->hour();
        presetMinute = dialog->minute();
        child<QSpinBox>(dialog, "seMin")->setValue(30);
        child<QPlainTextEdit>(dialog, "mmText")->setPlainText("Tea\nnow");
        child<QPushButton>(dialog, "btnOK")->click();
    });
    int saves = 0;
    ui.ReminderItemClick([&] { ++saves; });
    QCOMPARE(presetHour, 14);
    QCOMPARE(presetMinute, 7);
    QCOMPARE(m_state.sched->lines(), QStringList({"14303653000Reminder:Tea now"}));
    QCOMPARE(saves, 1);
}

QTEST_MAIN(TestSchedWindows)
#include "tst_schedwindows.moc"
