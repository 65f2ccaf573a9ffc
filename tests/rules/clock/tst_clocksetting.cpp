#include "doubles/FakeClock.h"
#include "doubles/FakeClockSetter.h"
#include "rules/clock/ClockSetting.h"

#include <QTest>

namespace {

// "L 2000-01-03 00:00:05.000 w0": L for local, U for UTC; w is the day of week.
QString describe(const FakeClockSetter::Call& c)
{
    const SystemTimeRecord& r = c.record;
    return QString::asprintf("%c %04u-%02u-%02u %02u:%02u:%02u.%03u w%u", c.local ? 'L' : 'U',
                             r.wYear, r.wMonth, r.wDay, r.wHour, r.wMinute, r.wSecond,
                             r.wMilliseconds, r.wDayOfWeek);
}

} // namespace

class TestClockSetting : public QObject {
    Q_OBJECT

private slots:
    void localTimeOfDay_data();
    void localTimeOfDay();
    void dateReadAtEachCall();
    void utcDateTime_data();
    void utcDateTime();
    void refusedFields_data();
    void refusedFields();
    void refusalPassedOn();
};

void TestClockSetting::localTimeOfDay_data()
{
    QTest::addColumn<QDateTime>("now");
    QTest::addColumn<int>("hour");
    QTest::addColumn<int>("minute");
    QTest::addColumn<int>("second");
    QTest::addColumn<QString>("record");

    // The date never moves: back almost a day, forward almost a day.
    QTest::newRow("00:00:05 at 23:59:50") << QDateTime(QDate(2000, 1, 3), QTime(23, 59, 50)) << 0
                                          << 0 << 5 << "L 2000-01-03 00:00:05.000 w0";
    QTest::newRow("23:59:59 just after midnight")
        << QDateTime(QDate(2000, 1, 4), QTime(0, 0, 3)) << 23 << 59 << 59
        << "L 2000-01-04 23:59:59.000 w0";
    // The clock's own milliseconds and weekday (a Wednesday) never leak into the record.
    QTest::newRow("milliseconds and weekday zero")
        << QDateTime(QDate(2000, 1, 5), QTime(14, 30, 12, 750)) << 14 << 30 << 0
        << "L 2000-01-05 14:30:00.000 w0";
    QTest::newRow("leap day") << QDateTime(QDate(2024, 2, 29), QTime(8, 0)) << 7 << 15 << 30
                              << "L 2024-02-29 07:15:30.000 w0";
}

void TestClockSetting::localTimeOfDay()
{
    QFETCH(QDateTime, now);
    QFETCH(int, hour);
    QFETCH(int, minute);
    QFETCH(int, second);
    QFETCH(QString, record);
    FakeClock clock;
    clock.current = now;
    FakeClockSetter setter;
    QVERIFY(ClockSetting::SetLocalTimeOfDay(setter, clock, quint16(hour), quint16(minute),
                                            quint16(second)));
    QCOMPARE(setter.calls.size(), 1);
    QCOMPARE(describe(setter.calls[0]), record);
}

// A dialog left open across midnight sets the new day's date.
void TestClockSetting::dateReadAtEachCall()
{
    FakeClock clock;
    clock.current = QDateTime(QDate(2000, 1, 3), QTime(23, 59, 58));
    FakeClockSetter setter;
    QVERIFY(ClockSetting::SetLocalTimeOfDay(setter, clock, 12, 0, 0));
    clock.current = clock.current.addSecs(4);
    QVERIFY(ClockSetting::SetLocalTimeOfDay(setter, clock, 12, 0, 0));
    QCOMPARE(setter.calls.size(), 2);
    QCOMPARE(describe(setter.calls[0]), "L 2000-01-03 12:00:00.000 w0");
    QCOMPARE(describe(setter.calls[1]), "L 2000-01-04 12:00:00.000 w0");
}

void TestClockSetting::utcDateTime_data()
{
    QTest::addColumn<QList<int>>("fields"); // year, month, day, hour, minute, second
    QTest::addColumn<QString>("record");
    QTest::newRow("ordinary") << QList<int>{2000, 1, 3, 9, 0, 0} << "U 2000-01-03 09:00:00.000 w0";
    QTest::newRow("leap day") << QList<int>{2024, 2, 29, 23, 59, 59}
                              << "U 2024-02-29 23:59:59.000 w0";
}

void TestClockSetting::utcDateTime()
{
    QFETCH(QList<int>, fields);
    QFETCH(QString, record);
    FakeClockSetter setter;
    QVERIFY(ClockSetting::SetUtcDateTime(setter, quint16(fields[0]), quint16(fields[1]),
                                         quint16(fields[2]), quint16(fields[3]), quint16(fields[4]),
                                         quint16(fields[5])));
    QCOMPARE(setter.calls.size(), 1);
    QCOMPARE(describe(setter.calls[0]), record);
}

void TestClockSetting::refusedFields_data()
{
    QTest::addColumn<bool>("local");
    QTest::addColumn<QList<int>>("fields"); // local: hour, minute, second; UTC: all six
    QTest::newRow("local hour 24") << true << QList<int>{24, 0, 0};
    QTest::newRow("local minute 60") << true << QList<int>{12, 60, 0};
    QTest::newRow("local second 60") << true << QList<int>{12, 0, 60};
    QTest::newRow("local hour wrapped") << true << QList<int>{65535, 0, 0};
    QTest::newRow("year 0") << false << QList<int>{0, 1, 1, 0, 0, 0};
    QTest::newRow("month 0") << false << QList<int>{2000, 0, 1, 0, 0, 0};
    QTest::newRow("month 13") << false << QList<int>{2000, 13, 1, 0, 0, 0};
    QTest::newRow("day 0") << false << QList<int>{2000, 1, 0, 0, 0, 0};
    QTest::newRow("31 April") << false << QList<int>{2000, 4, 31, 0, 0, 0};
    QTest::newRow("29 February, no leap year") << false << QList<int>{2023, 2, 29, 0, 0, 0};
    QTest::newRow("29 February 1900") << false << QList<int>{1900, 2, 29, 0, 0, 0};
    QTest::newRow("hour 24") << false << QList<int>{2000, 1, 1, 24, 0, 0};
    QTest::newRow("minute 60") << false << QList<int>{2000, 1, 1, 23, 60, 0};
    QTest::newRow("second 60") << false << QList<int>{2000, 1, 1, 23, 59, 60};
}

// Never a wrong time: the platform is not even asked.
void TestClockSetting::refusedFields()
{
    QFETCH(bool, local);
    QFETCH(QList<int>, fields);
    FakeClock clock;
    FakeClockSetter setter;
    const bool ok = local ? ClockSetting::SetLocalTimeOfDay(setter, clock, quint16(fields[0]),
                                                            quint16(fields[1]), quint16(fields[2]))
                          : ClockSetting::SetUtcDateTime(
                                setter, quint16(fields[0]), quint16(fields[1]), quint16(fields[2]),
                                quint16(fields[3]), quint16(fields[4]), quint16(fields[5]));
    QVERIFY(!ok);
    QVERIFY(setter.calls.isEmpty());
}

void TestClockSetting::refusalPassedOn()
{
    FakeClock clock;
    FakeClockSetter setter;
    setter.result = false;
    QVERIFY(!ClockSetting::SetLocalTimeOfDay(setter, clock, 1, 2, 3));
    QVERIFY(!ClockSetting::SetUtcDateTime(setter, 2000, 1, 1, 1, 2, 3));
    QCOMPARE(setter.calls.size(), 2);
}

QTEST_GUILESS_MAIN(TestClockSetting)
#include "tst_clocksetting.moc"
