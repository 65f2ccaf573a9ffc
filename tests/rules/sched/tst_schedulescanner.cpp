#include "core/ClockReading.h"
#include "rules/sched/Schedule.h"
#include "rules/sched/ScheduleEntry.h"
#include "rules/sched/ScheduleScanner.h"

#include <QTest>

#include <functional>

// The slices the scan reads and writes.
struct ScanState {
    Schedule schedule;
    ClockReading clock;
};

using ScheduleEntry::FormatScheduleEntry;

namespace {

constexpr DayNumber D = 36526; // Saturday, 1 January 2000

// Records what the scan asks for; a hook lets a test run code inside a firing, as a nested tick
// would while the program pumps events.
class RecordingActions : public ScanActions {
public:
    QStringList fired;
    QStringList warnings;
    QList<QStringList> saves;
    bool result = true;
    std::function<void(const QString&)> onFire;
    std::function<void()> onWarning;
    ScanState* state = nullptr;

    bool FireScheduleItem(const QString& detail) override
    {
        fired << detail;
        if (onFire)
            onFire(detail);
        return result;
    }
    void ShowWarning(const QString& text) override
    {
        warnings << text;
        if (onWarning)
            onWarning();
    }
    // Keeps what a save would write.
    void SaveSchedule() override
    {
        saves << state->schedule.lines();
        savedFile = state->schedule.list().format();
    }
    QByteArray savedFile;
    void ReportSetAside(int count) override { setAsideReports << count; }
    QList<int> setAsideReports;
    bool closing() const override { return isClosing; }
    bool isClosing = false;
};

void setNow(ScanState& state, DayNumber day, int hour, int minute)
{
    state.clock.TodayDate = day;
    state.clock.CurrentHour = quint16(hour);
    state.clock.CurrentMinute = quint16(minute);
}

void fill(ScanState& state, const QStringList& lines)
{
    for (const QString& line : lines)
        QVERIFY(state.schedule.add(line));
}

} // namespace

class TestScheduleScanner : public QObject {
    Q_OBJECT

private slots:
    void workedExample();
    void oneShotAtItsMinute();
    void missedItems_data();
    void missedItems();
    void weeklyCatchesUp();
    void eachWeekdayFiresOnItsDay();
    void unknownTypeIsDropped();
    void failedRunItemWarnsAndStays();
    void longDetailKeptWhenRecurring();
    void nestedScanInsideFiring();
    void listEmptiedInsideFiring();
    void cursorFollowsChanges_data();
    void cursorFollowsChanges();
    void endingProgramFinishesTheItemInHand();
    void pastTheLastDate_data();
    void pastTheLastDate();
};

// Three lines over two days, checking the list and the cursor after every scan.
void TestScheduleScanner::workedExample()
{
    const QString X = FormatScheduleEntry(7, 30, D, 1, "Reminder:X");
    const QString Y = FormatScheduleEntry(7, 30, D + 1, 0, "Reminder:Y");
    const QString Z = FormatScheduleEntry(8, 15, D, 0, "Reminder:Z");
    const QString X1 = FormatScheduleEntry(7, 30, D + 1, 1, "Reminder:X");
    const QString X2 = FormatScheduleEntry(7, 30, D + 2, 1, "Reminder:X");
    ScanState state;
    RecordingActions actions;
    actions.state = &state;
    fill(state, {Z, Y, X});
    QCOMPARE(state.schedule.lines(), QStringList({X, Y, Z}));
    state.schedule.resetCursor();

    setNow(state, D, 7, 29);
    ScheduleScanner::CheckSchedule(state.schedule, state.clock, actions);
    QVERIFY(actions.fired.isEmpty());
    QCOMPARE(state.schedule.cursor(), 0);

    setNow(state, D, 7, 30);
    ScheduleScanner::CheckSchedule(state.schedule, state.clock, actions);
    QCOMPARE(actions.fired, QStringList({"Reminder:X"}));
    QCOMPARE(actions.saves, QList<QStringList>({{Y, X1, Z}}));
    QCOMPARE(state.schedule.lines(), QStringList({Y, X1, Z}));
    QCOMPARE(state.schedule.cursor(), 2);

    for (int minute = 31; minute < 60 + 15; ++minute) {
        setNow(state, D, 7 + minute / 60, minute % 60);
        ScheduleScanner::CheckSchedule(state.schedule, state.clock, actions);
        QCOMPARE(state.schedule.cursor(), 2);
    }
    QCOMPARE(actions.fired.size(), 1);

    setNow(state, D, 8, 15);
    ScheduleScanner::CheckSchedule(state.schedule, state.clock, actions);
    QCOMPARE(actions.fired, QStringList({"Reminder:X", "Reminder:Z"}));
    QCOMPARE(state.schedule.lines(), QStringList({Y, X1}));
    QCOMPARE(state.schedule.cursor(), 2);

    // Next day: the clock update puts the cursor back to the start.
    state.schedule.resetCursor();
    setNow(state, D + 1, 7, 30);
    ScheduleScanner::CheckSchedule(state.schedule, state.clock, actions);
    QCOMPARE(actions.fired, QStringList({"Reminder:X", "Reminder:Z", "Reminder:Y", "Reminder:X"}));
    QCOMPARE(state.schedule.lines(), QStringList({X2}));
    QCOMPARE(state.schedule.cursor(), 1);
    QCOMPARE(actions.saves.size(), 4);
    QVERIFY(actions.warnings.isEmpty());
}

void TestScheduleScanner::oneShotAtItsMinute()
{
    ScanState state;
    RecordingActions actions;
    actions.state = &state;
    fill(state, {FormatScheduleEntry(9, 0, D, 0, "Reminder:nine")});
    setNow(state, D, 8, 59);
    ScheduleScanner::CheckSchedule(state.schedule, state.clock, actions);
    QVERIFY(actions.fired.isEmpty());
    QVERIFY(actions.saves.isEmpty());
    setNow(state, D, 9, 0);
    ScheduleScanner::CheckSchedule(state.schedule, state.clock, actions);
    QCOMPARE(actions.fired, QStringList({"Reminder:nine"}));
    QCOMPARE(state.schedule.count(), 0);
    QCOMPARE(actions.saves, QList<QStringList>({QStringList()}));
}

void TestScheduleScanner::missedItems_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("today");
    QTest::addColumn<int>("hour");
    QTest::addColumn<int>("minute");
    QTest::addColumn<bool>("performed");
    QTest::addColumn<QString>("after"); // the list afterwards, one line or empty

    QTest::newRow("one-shot earlier today, program started later")
        << FormatScheduleEntry(9, 0, D, 0, "Reminder:a") << D << 10 << 30 << true << "";
    // Dated yesterday at 23:00: it waits for 23:00 today.
    QTest::newRow("one-shot yesterday, before its time")
        << FormatScheduleEntry(23, 0, D - 1, 0, "Reminder:a") << D << 10 << 30 << false
        << FormatScheduleEntry(23, 0, D - 1, 0, "Reminder:a");
    QTest::newRow("one-shot yesterday, at its time")
        << FormatScheduleEntry(23, 0, D - 1, 0, "Reminder:a") << D << 23 << 0 << true << "";
    QTest::newRow("daily three days ago moves to tomorrow")
        << FormatScheduleEntry(9, 0, D - 3, 1, "Reminder:d") << D << 10 << 0 << true
        << FormatScheduleEntry(9, 0, D + 1, 1, "Reminder:d");
    // D + 4 is a Wednesday; the Monday item dated D + 2 was missed.
    QTest::newRow("EachMonday on a Wednesday moves on silently")
        << FormatScheduleEntry(9, 0, D + 2, 4, "Reminder:m") << D + 4 << 10 << 0 << false
        << FormatScheduleEntry(9, 0, D + 9, 4, "Reminder:m");
    QTest::newRow("future date is stepped over")
        << FormatScheduleEntry(9, 0, D + 1, 0, "Reminder:f") << D << 10 << 0 << false
        << FormatScheduleEntry(9, 0, D + 1, 0, "Reminder:f");
}

void TestScheduleScanner::missedItems()
{
    QFETCH(QString, line);
    QFETCH(int, today);
    QFETCH(int, hour);
    QFETCH(int, minute);
    QFETCH(bool, performed);
    QFETCH(QString, after);
    ScanState state;
    RecordingActions actions;
    actions.state = &state;
    fill(state, {line});
    setNow(state, today, hour, minute);
    ScheduleScanner::CheckSchedule(state.schedule, state.clock, actions);
    QCOMPARE(actions.fired.size(), performed ? 1 : 0);
    QCOMPARE(state.schedule.lines(), after.isEmpty() ? QStringList() : QStringList({after}));
    QVERIFY(actions.warnings.isEmpty());
}

// A weekly item missed by three weeks fires once for every missed step in the same scan,
// because each re-added line sorts back in at the cursor.
void TestScheduleScanner::weeklyCatchesUp()
{
    ScanState state;
    RecordingActions actions;
    actions.state = &state;
    fill(state, {FormatScheduleEntry(9, 0, D - 21, 2, "Reminder:w"),
                 FormatScheduleEntry(12, 0, D, 0, "Reminder:noon")});
    setNow(state, D, 10, 0);
    ScheduleScanner::CheckSchedule(state.schedule, state.clock, actions);
    QCOMPARE(actions.fired, QStringList(4, "Reminder:w"));
    QCOMPARE(actions.saves.size(), 4);
    QCOMPARE(actions.saves.at(0).first(), FormatScheduleEntry(9, 0, D - 14, 2, "Reminder:w"));
    QCOMPARE(state.schedule.lines(),
             QStringList({FormatScheduleEntry(9, 0, D + 7, 2, "Reminder:w"),
                          FormatScheduleEntry(12, 0, D, 0, "Reminder:noon")}));
    QCOMPARE(state.schedule.cursor(), 1);
}

void TestScheduleScanner::eachWeekdayFiresOnItsDay()
{
    ScanState state;
    RecordingActions actions;
    actions.state = &state;
    // D + 2 is a Monday.
    fill(state, {FormatScheduleEntry(9, 0, D + 2, 4, "Reminder:mon")});
    setNow(state, D + 2, 9, 0);
    ScheduleScanner::CheckSchedule(state.schedule, state.clock, actions);
    QCOMPARE(actions.fired, QStringList({"Reminder:mon"}));
    QCOMPARE(state.schedule.lines(),
             QStringList({FormatScheduleEntry(9, 0, D + 9, 4, "Reminder:mon")}));
}

void TestScheduleScanner::unknownTypeIsDropped()
{
    ScanState state;
    RecordingActions actions;
    actions.state = &state;
    fill(state, {FormatScheduleEntry(9, 0, D, 10, "Reminder:x"),
                 FormatScheduleEntry(9, 0, D, 99, "Run:y,,,1")});
    setNow(state, D, 9, 0);
    ScheduleScanner::CheckSchedule(state.schedule, state.clock, actions);
    QVERIFY(actions.fired.isEmpty());
    QVERIFY(actions.warnings.isEmpty());
    QCOMPARE(state.schedule.count(), 0);
    QCOMPARE(actions.saves.size(), 2);
}

void TestScheduleScanner::failedRunItemWarnsAndStays()
{
    ScanState state;
    RecordingActions actions;
    actions.state = &state;
    actions.result = false;
    const QString detail = "Run:/no/such/program,,,1";
    fill(state, {FormatScheduleEntry(6, 0, D, 1, detail),
                 FormatScheduleEntry(6, 0, D, 0, "Run:/gone,,,1")});
    setNow(state, D, 6, 0);
    ScheduleScanner::CheckSchedule(state.schedule, state.clock, actions);
    QCOMPARE(actions.warnings, QStringList({"Scheduler item Run:/gone,,,1 failed.",
                                            "Scheduler item Run:/no/such/program,,,1 failed."}));
    // The daily one stays for tomorrow, the one-shot is gone; both were saved.
    QCOMPARE(state.schedule.lines(), QStringList({FormatScheduleEntry(6, 0, D + 1, 1, detail)}));
    QCOMPARE(actions.saves.size(), 2);
}

// The firing sees at most 999 characters, but a recurring line must not lose the rest.
void TestScheduleScanner::longDetailKeptWhenRecurring()
{
    ScanState state;
    RecordingActions actions;
    actions.state = &state;
    const QString detail = "Reminder:" + QString(3000, u'a');
    fill(state, {FormatScheduleEntry(6, 0, D, 1, detail)});
    setNow(state, D, 6, 0);
    ScheduleScanner::CheckSchedule(state.schedule, state.clock, actions);
    QCOMPARE(actions.fired.size(), 1);
    QCOMPARE(actions.fired.first(), detail.left(999));
    QCOMPARE(state.schedule.lines(), QStringList({FormatScheduleEntry(6, 0, D + 1, 1, detail)}));
}

// A tick handled during the firing's pause starts a nested scan on the same list and cursor.
// Every due item must be performed exactly once and nothing read out of range.
void TestScheduleScanner::nestedScanInsideFiring()
{
    ScanState state;
    RecordingActions actions;
    actions.state = &state;
    fill(state, {FormatScheduleEntry(9, 0, D, 0, "Reminder:a"),
                 FormatScheduleEntry(9, 0, D, 0, "Reminder:b"),
                 FormatScheduleEntry(9, 1, D, 1, "Reminder:c"),
                 FormatScheduleEntry(9, 5, D, 0, "Reminder:later")});
    int depth = 0;
    actions.onFire = [&](const QString&) {
        if (depth > 0)
            return;
        ++depth;
        setNow(state, D, 9, 1);
        ScheduleScanner::CheckSchedule(state.schedule, state.clock, actions);
        --depth;
    };
    setNow(state, D, 9, 0);
    ScheduleScanner::CheckSchedule(state.schedule, state.clock, actions);
    QCOMPARE(actions.fired, QStringList({"Reminder:a", "Reminder:b", "Reminder:c"}));
    QCOMPARE(state.schedule.lines(),
             QStringList({FormatScheduleEntry(9, 1, D + 1, 1, "Reminder:c"),
                          FormatScheduleEntry(9, 5, D, 0, "Reminder:later")}));
    QCOMPARE(state.schedule.cursor(), 1);
}

void TestScheduleScanner::listEmptiedInsideFiring()
{
    ScanState state;
    RecordingActions actions;
    actions.state = &state;
    fill(state, {FormatScheduleEntry(9, 0, D, 1, "Reminder:a"),
                 FormatScheduleEntry(9, 0, D, 1, "Reminder:b")});
    actions.onFire = [&](const QString&) {
        while (state.schedule.removeAt(0)) {
        }
    };
    setNow(state, D, 9, 0);
    ScheduleScanner::CheckSchedule(state.schedule, state.clock, actions);
    QCOMPARE(actions.fired.size(), 1);
    // The re-added daily line is all that is left.
    QCOMPARE(state.schedule.count(), 1);
    QCOMPARE(actions.saves.size(), 1);
}

// Every way of adding or removing moves the scan's place by one rule. After the 10:00 scan the
// place is on the 11:00 item, the two lines before it being for tomorrow. An item accepted
// for a time that has come must fire at the next scan, not a day late; removing a line before
// the place must not make the scan skip the 11:00 item.
void TestScheduleScanner::cursorFollowsChanges_data()
{
    QTest::addColumn<QString>("added");
    QTest::addColumn<int>("removedAt");
    QTest::addColumn<int>("cursor");
    QTest::addColumn<QStringList>("fired"); // by the 11:00 scan

    const QStringList eleven{"Reminder:eleven"};
    QTest::newRow("added before, its time come")
        << "08303652600Reminder:now" << -1 << 1 << QStringList{"Reminder:now", "Reminder:eleven"};
    QTest::newRow("added at") << "10003652600Reminder:ten" << -1 << 2
                              << QStringList{"Reminder:ten", "Reminder:eleven"};
    QTest::newRow("added after") << "11303652600Reminder:half past" << -1 << 2 << eleven;
    QTest::newRow("added before, for tomorrow") << "08303652700Reminder:later" << -1 << 1 << eleven;
    QTest::newRow("held already") << "08003652700REMINDER:TOMORROW 8" << -1 << 2 << eleven;
    QTest::newRow("removed before") << "" << 0 << 1 << eleven;
    QTest::newRow("removed at") << "" << 2 << 2 << QStringList{};
    QTest::newRow("removed after") << "" << 3 << 2 << eleven;
}

void TestScheduleScanner::cursorFollowsChanges()
{
    QFETCH(QString, added);
    QFETCH(int, removedAt);
    ScanState state;
    RecordingActions actions;
    actions.state = &state;
    fill(state, {FormatScheduleEntry(8, 0, D + 1, 0, "Reminder:tomorrow 8"),
                 FormatScheduleEntry(9, 0, D + 1, 0, "Reminder:tomorrow 9"),
                 FormatScheduleEntry(11, 0, D, 0, "Reminder:eleven"),
                 FormatScheduleEntry(12, 0, D, 0, "Reminder:noon")});
    setNow(state, D, 10, 0);
    ScheduleScanner::CheckSchedule(state.schedule, state.clock, actions);
    QCOMPARE(state.schedule.cursor(), 2);

    if (!added.isEmpty())
        state.schedule.add(added);
    if (removedAt >= 0)
        QVERIFY(state.schedule.removeAt(removedAt));
    QTEST(state.schedule.cursor(), "cursor");
    setNow(state, D, 11, 0);
    ScheduleScanner::CheckSchedule(state.schedule, state.clock, actions);
    QTEST(actions.fired, "fired");
}

// The program ends while the failure box of one item is open: that item is still put back
// and saved, but the reminder after it is not used up unseen.
void TestScheduleScanner::endingProgramFinishesTheItemInHand()
{
    ScanState state;
    RecordingActions actions;
    actions.state = &state;
    actions.result = false;
    const QString run = FormatScheduleEntry(8, 30, D - 1, 1, "Run:/no/such/program,,,1");
    const QString reminder = FormatScheduleEntry(9, 0, D, 0, "Reminder:after");
    fill(state, {run, reminder});
    actions.onWarning = [&] { actions.isClosing = true; };
    setNow(state, D, 9, 0);
    ScheduleScanner::CheckSchedule(state.schedule, state.clock, actions);
    QCOMPARE(actions.fired, QStringList{"Run:/no/such/program,,,1"});
    const QStringList expected{FormatScheduleEntry(8, 30, D + 1, 1, "Run:/no/such/program,,,1"),
                               reminder};
    QCOMPARE(state.schedule.lines(), expected);
    QCOMPARE(actions.saves.last(), expected);
}

// Day 99999 (13 October 2173, a Wednesday) is the last date a line can hold. A recurring item
// whose next date lies beyond it once came back as a line that read as another item (a daily
// 23:59 item became a one-shot of 1927); it must leave the schedule unchanged, set aside.
void TestScheduleScanner::pastTheLastDate_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<int>("today");
    QTest::addColumn<int>("now"); // hour * 100 + minute
    QTest::addColumn<QStringList>("fired");
    QTest::addColumn<QStringList>("left");
    QTest::addColumn<QByteArray>("setAside");

    QTest::newRow("daily on the last day")
        << QStringList{"23599999901Run:/bin/true,,,1"} << 99999 << 2359
        << QStringList{"Run:/bin/true,,,1"} << QStringList{}
        << QByteArray("23599999901Run:/bin/true,,,1\r\n");
    QTest::newRow("daily the day before")
        << QStringList{"23599999801Reminder:d"} << 99998 << 2359 << QStringList{"Reminder:d"}
        << QStringList{"23599999901Reminder:d"} << QByteArray();
    QTest::newRow("weekly on the last day")
        << QStringList{"12009999902Reminder:w"} << 99999 << 1200 << QStringList{"Reminder:w"}
        << QStringList{} << QByteArray("12009999902Reminder:w\r\n");
    QTest::newRow("weekly moving onto the last day")
        << QStringList{"12009999202Reminder:w"} << 99992 << 1200 << QStringList{"Reminder:w"}
        << QStringList{"12009999902Reminder:w"} << QByteArray();
    QTest::newRow("weekly one day too late")
        << QStringList{"12009999302Reminder:w"} << 99993 << 1200 << QStringList{"Reminder:w"}
        << QStringList{} << QByteArray("12009999302Reminder:w\r\n");
    QTest::newRow("each Wednesday on its day")
        << QStringList{"12009999906Reminder:wed"} << 99999 << 1200 << QStringList{"Reminder:wed"}
        << QStringList{} << QByteArray("12009999906Reminder:wed\r\n");
    QTest::newRow("each Monday on a Wednesday")
        << QStringList{"12009999904Reminder:mon"} << 99999 << 1200 << QStringList{} << QStringList{}
        << QByteArray("12009999904Reminder:mon\r\n");
    QTest::newRow("daily missed, the clock past the last day")
        << QStringList{"08009999001Reminder:d"} << 100000 << 900 << QStringList{"Reminder:d"}
        << QStringList{} << QByteArray("08009999001Reminder:d\r\n");
    QTest::newRow("one-shot on the last day")
        << QStringList{"23599999900Reminder:o"} << 99999 << 2359 << QStringList{"Reminder:o"}
        << QStringList{} << QByteArray();
    // Kept as it stood, byte for byte.
    QTest::newRow("daily, a path beyond ASCII")
        << QStringList{QStringLiteral("12009999901Run:/opt/caf\u00e9,-x,,1")} << 99999 << 1200
        << QStringList{QStringLiteral("Run:/opt/caf\u00e9,-x,,1")} << QStringList{}
        << QByteArray("12009999901Run:/opt/caf\xc3\xa9,-x,,1\r\n");
    QTest::newRow("two set aside, one kept")
        << QStringList{"12009999901Reminder:a", "12009999902Reminder:b", "13009999901Reminder:c"}
        << 99999 << 1200 << QStringList{"Reminder:a", "Reminder:b"}
        << QStringList{"13009999901Reminder:c"}
        << QByteArray("12009999901Reminder:a\r\n12009999902Reminder:b\r\n");
}

void TestScheduleScanner::pastTheLastDate()
{
    QFETCH(QStringList, lines);
    QFETCH(int, today);
    QFETCH(int, now);
    QFETCH(QStringList, fired);
    QFETCH(QStringList, left);
    QFETCH(QByteArray, setAside);

    ScanState state;
    RecordingActions actions;
    actions.state = &state;
    fill(state, lines);
    setNow(state, today, now / 100, now % 100);
    ScheduleScanner::CheckSchedule(state.schedule, state.clock, actions);

    QCOMPARE(actions.fired, fired);
    QVERIFY(actions.warnings.isEmpty());
    QCOMPARE(state.schedule.lines(), left);
    QByteArray file;
    for (const QString& line : left)
        file += line.toUtf8() + "\r\n";
    QCOMPARE(actions.savedFile, file);
    QByteArray keptAside;
    for (const QByteArray& line : state.schedule.list().setAsideLines())
        keptAside += line + "\r\n";
    QCOMPARE(keptAside, setAside);
    const int count = int(setAside.count('\n'));
    QCOMPARE(actions.setAsideReports, count ? QList<int>{count} : QList<int>{});
}

QTEST_APPLESS_MAIN(TestScheduleScanner)
#include "tst_schedulescanner.moc"
