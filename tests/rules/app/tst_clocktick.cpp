#include "doubles/FakeSound.h"
#include "rules/app/ClockTick.h"
#include "rules/app/MainState.h"
#include "rules/sched/Schedule.h"

#include <QTest>

namespace {

class FakeFace : public ClockFace {
public:
    int formatWidth = -1, hours = -1, minutes = -1;
    QString date, tip;
    bool colon = false;
    int shows = 0;

    void setHoursFormatWidth(int w) override { formatWidth = w; }
    void setHoursValue(int v) override { hours = v; }
    void setMinutesValue(int v) override { minutes = v; }
    QString dateLine() const override { return date; }
    void setDateLine(const QString& t) override { date = t; }
    void setColon(bool shown) override { colon = shown; }
    void setTrayTip(const QString& t) override { tip = t; }
    void showAndRaise() override { ++shows; }
};

class FakeWork : public TickWork {
public:
    int samples = 0, scans = 0, timeUpdates = 0;
    bool windowPresent = true;
    std::function<void()> onScan;

    void UpdateStatus() override { ++samples; }
    void CheckSchedule() override
    {
        ++scans;
        if (onScan)
            onScan();
    }
    bool connectionWindowPresent(const QString&) override { return windowPresent; }
    void BeginTimeUpdate() override { ++timeUpdates; }
};

QDateTime at(const QString& text)
{
    return QDateTime::fromString(text, Qt::ISODate);
}

struct Rig {
    MainState state;
    Schedule schedule;
    FakeFace face;
    FakeWork work;
    FakeSound sound;
    ClockTick tick{state.tick, state.clock, state.settings, schedule, face, work, sound};
    // The scan's place as if `n` lines for later dates had been stepped over.
    void stepOver(int n)
    {
        for (int i = 0; i < n; ++i) {
            schedule.add(QStringLiteral("12009999900Reminder:%1").arg(i));
            schedule.stepOver();
        }
    }
    // Start-up's part: the first update, then the greeting.
    void start(const QDateTime& t)
    {
        tick.UpdateTime(t);
        face.date = "Good morning ";
        schedule.setStartupComplete();
    }
};

} // namespace

class TestClockTick : public QObject {
    Q_OBJECT
private slots:
    void hourForms_data();
    void hourForms();
    void colonBlinksFromTheFirstTick();
    void chimesOnceOnTheHour_data();
    void chimesOnceOnTheHour();
    void chimesEveryRealHourOnce_data();
    void chimesEveryRealHourOnce();
    void forcedRedrawChimesAgain();
    void statusLineCountdown();
    void midnightRewritesDateAndResetsCursor();
    void sampleCountdown();
    void noSamplesWithIntervalZero();
    void scanHeldBackUntilStartupAndWhileSuspended();
    void nestedTickDoesNotRepeatMinuteSteps();
    void automaticUpdateConditions_data();
    void automaticUpdateConditions();
    void hiddenPanelReturnsOnTheNthTick();
    void tipCarriesTimeAndDateLine();
    void timeFormatWithoutSeconds_data();
    void timeFormatWithoutSeconds();
};

void TestClockTick::hourForms_data()
{
    QTest::addColumn<int>("hour");
    QTest::addColumn<int>("h12");
    QTest::addColumn<int>("h24");
    QTest::newRow("00") << 0 << 12 << 0;
    QTest::newRow("09") << 9 << 9 << 9;
    QTest::newRow("12") << 12 << 12 << 12;
    QTest::newRow("13") << 13 << 1 << 13;
    QTest::newRow("23") << 23 << 11 << 23;
}

void TestClockTick::hourForms()
{
    QFETCH(int, hour);
    QTEST(ClockTick::displayHour(hour, true), "h12");
    QTEST(ClockTick::displayHour(hour, false), "h24");
    Rig r;
    r.state.settings.Use12Hour = true;
    r.tick.SetDisplayFormat(true);
    QCOMPARE(r.face.formatWidth, 0);
    r.tick.UpdateTime(QDateTime(QDate(2000, 1, 3), QTime(hour, 7)));
    QTEST(r.face.hours, "h12");
    QCOMPARE(r.face.minutes, 7);
    r.tick.SetDisplayFormat(false);
    QCOMPARE(r.face.formatWidth, 2);
}

void TestClockTick::colonBlinksFromTheFirstTick()
{
    Rig r;
    r.start(at("2000-01-03T10:00:30"));
    QCOMPARE(r.face.colon, false);
    QList<bool> seen;
    for (int i = 1; i <= 4; ++i) {
        r.tick.TimerTimer(at("2000-01-03T10:00:30").addSecs(i));
        seen << r.face.colon;
    }
    QCOMPARE(seen, QList<bool>({true, false, true, false}));
}

void TestClockTick::chimesOnceOnTheHour_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QStringList>("events");
    QTest::newRow("off") << 0 << QStringList();
    QTest::newRow("beep") << 1 << QStringList({"beep"});
    QTest::newRow("sound") << 2 << QStringList({"play /snd/chime.wav"});
    QTest::newRow("unknown mode is silent") << 7 << QStringList();
}

void TestClockTick::chimesOnceOnTheHour()
{
    QFETCH(int, mode);
    Rig r;
    r.state.settings.ChimeMode = mode;
    r.state.settings.ChimeSound = "/snd/chime.wav";
    const QDateTime t0 = at("2000-01-03T13:59:55");
    r.start(t0);
    for (int i = 1; i <= 70; ++i)
        r.tick.TimerTimer(t0.addSecs(i));
    QTEST(r.sound.calls, "events");
}

void TestClockTick::chimesEveryRealHourOnce_data()
{
    // Stretches of ticks a second apart, given in UTC; between two stretches the system clock
    // is set. The chimes are listed by the local time they sounded at.
    QTest::addColumn<QStringList>("stretches");
    QTest::addColumn<QStringList>("chimes");
    QTest::newRow("summer time ends: 01:00 twice")
        << QStringList{"2000-10-28T23:59:50Z 2000-10-29T02:00:10Z"}
        << QStringList{"01:00 BST", "01:00 GMT", "02:00 GMT"};
    QTest::newRow("summer time starts: no 01:00")
        << QStringList{"2000-03-26T00:59:50Z 2000-03-26T01:00:10Z"} << QStringList{"02:00 BST"};
    QTest::newRow("set back half an hour")
        << QStringList{"2000-01-03T14:59:58Z 2000-01-03T15:00:05Z",
                       "2000-01-03T14:30:00Z 2000-01-03T15:00:05Z"}
        << QStringList{"15:00 GMT"};
    // 14:00 sounded in neither stretch before, so it does now; 15:00 already did.
    QTest::newRow("set back two hours") << QStringList{"2000-01-03T14:59:58Z 2000-01-03T15:00:05Z",
                                                       "2000-01-03T13:10:00Z 2000-01-03T16:00:05Z"}
                                        << QStringList{"15:00 GMT", "14:00 GMT", "16:00 GMT"};
    QTest::newRow("set forward by hours")
        << QStringList{"2000-01-03T14:59:58Z 2000-01-03T15:00:02Z",
                       "2000-01-03T18:00:00Z 2000-01-03T18:00:03Z"}
        << QStringList{"15:00 GMT", "18:00 GMT"};
}

void TestClockTick::chimesEveryRealHourOnce()
{
    QFETCH(QStringList, stretches);
    QFETCH(QStringList, chimes);
    Rig r;
    r.state.settings.ChimeMode = 1;
    QStringList heard;
    bool started = false;
    for (const QString& stretch : stretches) {
        const QDateTime from = at(stretch.section(' ', 0, 0)).toLocalTime();
        const QDateTime to = at(stretch.section(' ', 1, 1)).toLocalTime();
        for (QDateTime t = from; t <= to; t = t.addSecs(1)) {
            const qsizetype before = r.sound.calls.size();
            if (started) {
                r.tick.TimerTimer(t);
            } else {
                r.start(t);
                started = true;
            }
            if (r.sound.calls.size() != before)
                heard << t.toString("hh:mm t");
        }
    }
    QCOMPARE(heard, chimes);
}

void TestClockTick::forcedRedrawChimesAgain()
{
    Rig r;
    r.state.settings.ChimeMode = 1;
    r.start(at("2000-01-03T09:00:10"));
    QCOMPARE(r.sound.calls.size(), 1); // started during minute 0
    r.state.tick.LastMinuteShown = TickState::ForceMinuteSteps;
    r.tick.TimerTimer(at("2000-01-03T09:00:11"));
    QCOMPARE(r.sound.calls.size(), 2);
}

void TestClockTick::statusLineCountdown()
{
    Rig r;
    const QDateTime t0 = at("2000-01-03T10:00:00");
    r.start(t0);
    int tick = 0;
    auto run = [&](int n) {
        for (int i = 0; i < n; ++i)
            r.tick.TimerTimer(t0.addSecs(++tick));
    };
    run(9);
    QCOMPARE(r.face.date, "Good morning ");
    r.stepOver(5);
    QCOMPARE(r.schedule.cursor(), 5);
    run(1); // the tenth tick brings the date back and resets the scan cursor
    QCOMPARE(r.face.date, "Monday, 3 January 2000");
    QCOMPARE(r.schedule.cursor(), 0);

    r.face.date = "first";
    r.state.tick.DateLineCountdown = 20;
    run(10);
    r.face.date = "second";
    r.state.tick.DateLineCountdown = 20;
    run(19);
    QCOMPARE(r.face.date, "second");
    run(1);
    QCOMPARE(r.face.date, "Monday, 3 January 2000");
}

void TestClockTick::midnightRewritesDateAndResetsCursor()
{
    Rig r;
    r.start(at("2000-01-03T23:59:58"));
    r.face.date = "status";
    r.state.tick.DateLineCountdown = 20;
    r.stepOver(3);
    r.tick.TimerTimer(at("2000-01-03T23:59:59"));
    QCOMPARE(r.face.date, "status");
    r.tick.TimerTimer(at("2000-01-04T00:00:00"));
    QCOMPARE(r.face.date, "Tuesday, 4 January 2000");
    QCOMPARE(r.schedule.cursor(), 0);
    QCOMPARE(r.state.clock.TodayDate, 36529);
    QCOMPARE(r.face.tip, "00:00 Tuesday, 4 January 2000"); // the new date, at once
}

void TestClockTick::sampleCountdown()
{
    Rig r;
    r.state.settings.UpdateInterval = 5;
    r.state.tick.SampleCountdown = 5;
    const QDateTime t0 = at("2000-01-03T10:00:00");
    r.start(t0);
    QList<int> sampledAt;
    for (int i = 1; i <= 20; ++i) {
        const int before = r.work.samples;
        if (i == 13) // 3 ticks remain of the running countdown
            r.state.settings.UpdateInterval = 2;
        r.tick.TimerTimer(t0.addSecs(i));
        if (r.work.samples != before)
            sampledAt << i;
    }
    QCOMPARE(sampledAt, QList<int>({5, 10, 15, 17, 19}));
}

void TestClockTick::noSamplesWithIntervalZero()
{
    for (int interval : {0, -3}) {
        Rig r;
        r.state.settings.UpdateInterval = interval;
        r.state.tick.SampleCountdown = interval;
        for (int i = 1; i <= 100; ++i)
            r.tick.TimerTimer(at("2000-01-03T10:00:00").addSecs(i));
        QCOMPARE(r.work.samples, 0);
    }
}

void TestClockTick::scanHeldBackUntilStartupAndWhileSuspended()
{
    Rig r;
    r.tick.UpdateTime(at("2000-01-03T10:00:00"));
    QCOMPARE(r.work.scans, 0); // start-up's own update never scans
    r.schedule.setStartupComplete();
    r.schedule.setSuspended(true);
    r.tick.TimerTimer(at("2000-01-03T10:01:00"));
    QCOMPARE(r.work.scans, 0);
    r.schedule.setSuspended(false);
    r.tick.TimerTimer(at("2000-01-03T10:01:30"));
    QCOMPARE(r.work.scans, 0); // same minute: not made up for
    r.tick.TimerTimer(at("2000-01-03T10:02:00"));
    QCOMPARE(r.work.scans, 1);
}

void TestClockTick::nestedTickDoesNotRepeatMinuteSteps()
{
    Rig r;
    r.state.settings.ChimeMode = 1;
    r.start(at("2000-01-03T10:59:59"));
    // The scan pumps messages: a tick arriving meanwhile must find the minute done.
    int nested = 0;
    r.work.onScan = [&] {
        if (nested++ == 0)
            r.tick.TimerTimer(at("2000-01-03T11:00:01"));
    };
    r.tick.TimerTimer(at("2000-01-03T11:00:00"));
    QCOMPARE(r.work.scans, 1);
    QCOMPARE(r.sound.calls.size(), 1);
}

void TestClockTick::automaticUpdateConditions_data()
{
    QTest::addColumn<bool>("armed");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("host");
    QTest::addColumn<bool>("present");
    QTest::addColumn<int>("starts");
    QTest::newRow("all hold") << true << "Connected"
                              << "time.host" << true << 2;
    QTest::newRow("not armed") << false << "Connected"
                               << "time.host" << true << 0;
    QTest::newRow("no title") << true << ""
                              << "time.host" << true << 0;
    QTest::newRow("no host") << true << "Connected"
                             << "" << true << 0;
    QTest::newRow("no window") << true << "Connected"
                               << "time.host" << false << 0;
}

void TestClockTick::automaticUpdateConditions()
{
    QFETCH(bool, armed);
    Rig r;
    r.start(at("2000-01-03T10:00:30"));
    r.state.settings.AutoUpdate = armed;
    r.state.settings.InternetWindowTitle =
        QTest::currentDataTag() == QByteArray("no title") ? QString() : "Connected";
    QFETCH(QString, host);
    QFETCH(bool, present);
    r.state.settings.TimeServerHost = host;
    r.work.windowPresent = present;
    for (int i = 1; i <= 120; ++i) // two minute changes
        r.tick.TimerTimer(at("2000-01-03T10:00:30").addSecs(i));
    QTEST(r.work.timeUpdates, "starts");
}

void TestClockTick::hiddenPanelReturnsOnTheNthTick()
{
    Rig r;
    r.start(at("2000-01-03T10:00:00"));
    r.state.tick.HideCountdown = 4;
    QList<int> shownAt;
    for (int i = 1; i <= 10; ++i) {
        const int before = r.face.shows;
        r.tick.TimerTimer(at("2000-01-03T10:00:00").addSecs(i));
        if (r.face.shows != before)
            shownAt << i;
    }
    QCOMPARE(shownAt, QList<int>({4}));
    r.state.tick.HideCountdown = -1; // indefinite: never reaches 0
    for (int i = 0; i < 100; ++i)
        r.tick.TimerTimer(at("2000-01-03T10:01:00").addSecs(i));
    QCOMPARE(r.face.shows, 1);
}

// The tip is hours and minutes in the user's format: the C locale's short format has
// seconds, which showed as a frozen ":00".
void TestClockTick::tipCarriesTimeAndDateLine()
{
    Rig r;
    r.start(at("2000-01-03T10:20:59"));
    r.tick.TimerTimer(at("2000-01-03T10:21:00"));
    QCOMPARE(r.face.tip, "10:21 Good morning ");
    r.face.date = QString(300, 'x');
    r.tick.TimerTimer(at("2000-01-03T13:05:00"));
    QCOMPARE(r.face.tip, ("13:05 " + QString(300, 'x')).left(255));
}

void TestClockTick::timeFormatWithoutSeconds_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("expected");
    QTest::newRow("C") << "HH:mm:ss"
                       << "HH:mm";
    QTest::newRow("seconds and milliseconds") << "HH:mm:ss.zzz"
                                              << "HH:mm";
    QTest::newRow("12-hour, mark after") << "h:mm:ss AP"
                                         << "h:mm AP";
    QTest::newRow("mark before, dots") << "AP h.mm.ss"
                                       << "AP h.mm";
    QTest::newRow("time zone kept") << "H:mm:ss t"
                                    << "H:mm t";
    QTest::newRow("no seconds: unchanged") << "h:mm AP"
                                           << "h:mm AP";
    QTest::newRow("quoted letters are text") << "HH'h'mm:ss 'so'"
                                             << "HH'h'mm 'so'";
}

void TestClockTick::timeFormatWithoutSeconds()
{
    QFETCH(QString, format);
    QTEST(ClockTick::withoutSeconds(format), "expected");
}

QTEST_APPLESS_MAIN(TestClockTick)
#include "tst_clocktick.moc"
