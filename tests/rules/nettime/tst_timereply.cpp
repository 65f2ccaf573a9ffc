#include "rules/nettime/TimeReply.h"

#include <QTest>

namespace {

QDateTime utc(const char* text)
{
    QDateTime t = QDateTime::fromString(QLatin1String(text), Qt::ISODateWithMs);
    t.setTimeSpec(Qt::UTC);
    return t;
}

} // namespace

class TestTimeReply : public QObject {
    Q_OBJECT
private slots:
    void bytesToTime_data();
    void bytesToTime();
    void correction_data();
    void correction();
    void report_data();
    void report();
};

void TestTimeReply::bytesToTime_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QDateTime>("time");
    QTest::newRow("2020") << QByteArray("\xE1\xB7\x10\x70", 4) << utc("2020-01-01T12:34:56");
    // Read as signed this would be before 1900.
    QTest::newRow("top bit set") << QByteArray("\xFF\xFF\xFF\xFF", 4) << utc("2036-02-07T06:28:15");
    QTest::newRow("1970 exactly") << QByteArray("\x83\xAA\x7E\x80", 4)
                                  << utc("1970-01-01T00:00:00");
    // Read in the build's era: a count that wrapped is a time before the build, refused as such.
    QTest::newRow("0 is 1900") << QByteArray(4, '\0') << utc("1900-01-01T00:00:00");
    QTest::newRow("1968") << QByteArray("\x80\x00\x00\x00", 4) << utc("1968-01-20T03:14:08");
}

void TestTimeReply::bytesToTime()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QDateTime, time);
    const auto* raw = reinterpret_cast<const quint8*>(bytes.constData());
    const qint64 seconds = TimeReply::unixSeconds(TimeReply::decode(raw));
    QCOMPARE(seconds, time.toSecsSinceEpoch());
    QCOMPARE(TimeReply::plausible(seconds), time.date().year() > 2024);
}

void TestTimeReply::correction_data()
{
    QTest::addColumn<QDateTime>("clock");
    QTest::addColumn<QDateTime>("server");
    QTest::addColumn<QDateTime>("set"); // date and time of day set
    QTest::addColumn<qint64>("ahead");

    QTest::newRow("slow") << utc("2020-01-01T12:34:51") << utc("2020-01-01T12:34:56")
                          << utc("2020-01-01T12:34:56") << qint64(5);
    QTest::newRow("fast") << utc("2020-01-01T12:35:01") << utc("2020-01-01T12:34:56")
                          << utc("2020-01-01T12:34:56") << qint64(-5);
    QTest::newRow("equal") << utc("2020-01-01T12:34:56") << utc("2020-01-01T12:34:56")
                           << utc("2020-01-01T12:34:56") << qint64(0);
    // The clock's fraction of a second does not count.
    QTest::newRow("milliseconds") << utc("2020-01-01T12:34:55.900") << utc("2020-01-01T12:34:56")
                                  << utc("2020-01-01T12:34:56") << qint64(1);
    // Across midnight the server's date is taken: a few seconds, not almost a day.
    QTest::newRow("slow across midnight")
        << utc("2020-01-01T23:59:58") << utc("2020-01-02T00:00:03") << utc("2020-01-02T00:00:03")
        << qint64(5);
    QTest::newRow("fast across midnight")
        << utc("2020-01-02T00:00:03") << utc("2020-01-01T23:59:58") << utc("2020-01-01T23:59:58")
        << qint64(-5);
    QTest::newRow("across year end") << utc("2019-12-31T23:59:59") << utc("2020-01-01T00:00:01")
                                     << utc("2020-01-01T00:00:01") << qint64(2);
    // 12 hours apart is no longer a neighbouring time: the clock keeps its date.
    QTest::newRow("12 hours across midnight")
        << utc("2020-01-01T18:00:00") << utc("2020-01-02T06:00:00") << utc("2020-01-01T06:00:00")
        << qint64(-43200);
    QTest::newRow("11:59:59 across midnight")
        << utc("2020-01-01T18:00:00") << utc("2020-01-02T05:59:59") << utc("2020-01-02T05:59:59")
        << qint64(43199);
    // A clock years out keeps its date and takes the time of day only.
    QTest::newRow("clock years out") << utc("2000-01-03T08:59:57") << utc("2020-01-01T12:34:56")
                                     << utc("2000-01-03T12:34:56") << qint64(12899);
    QTest::newRow("over the wrap") << utc("2036-02-07T06:28:14") << utc("2036-02-07T06:28:17")
                                   << utc("2036-02-07T06:28:17") << qint64(3);
    // Summer time: 00:59:58 local is 23:59:58 UTC of the day before.
    QDateTime localClock(QDate(2020, 7, 1), QTime(0, 59, 58), Qt::LocalTime);
    QTest::newRow("local reading")
        << localClock << utc("2020-07-01T00:00:03") << utc("2020-07-01T00:00:03") << qint64(5);
}

void TestTimeReply::correction()
{
    QFETCH(QDateTime, clock);
    QFETCH(QDateTime, server);
    QFETCH(QDateTime, set);
    QFETCH(qint64, ahead);
    const TimeReply::Correction c = TimeReply::correction(clock, server.toSecsSinceEpoch());
    QCOMPARE(c.date, set.date());
    QCOMPARE(QTime(c.hour, c.minute, c.second), set.time());
    QCOMPARE(c.ahead, ahead);
}

void TestTimeReply::report_data()
{
    QTest::addColumn<bool>("set");
    QTest::addColumn<qint64>("ahead");
    QTest::addColumn<QString>("text");
    QTest::newRow("set, slow") << true << qint64(5) << "Clock was 5 seconds slow";
    QTest::newRow("set, fast") << true << qint64(-5) << "Clock was 5 seconds fast";
    QTest::newRow("refused, slow") << false << qint64(5) << "Clock is 5 seconds slow";
    QTest::newRow("refused, fast") << false << qint64(-86399) << "Clock is 86399 seconds fast";
    QTest::newRow("set, correct") << true << qint64(0) << "Clock is correct";
    QTest::newRow("refused, correct") << false << qint64(0) << "Clock is correct";
}

void TestTimeReply::report()
{
    QFETCH(bool, set);
    QFETCH(qint64, ahead);
    QFETCH(QString, text);
    QCOMPARE(TimeReply::report(set, ahead), text);
}

QTEST_GUILESS_MAIN(TestTimeReply)
#include "tst_timereply.moc"
