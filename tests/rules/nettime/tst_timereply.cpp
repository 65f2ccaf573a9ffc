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
    void decide_data();
    void decide();
    void texts_data();
    void texts();
    void question();
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

void TestTimeReply::decide_data()
{
    QTest::addColumn<QDateTime>("clock");
    QTest::addColumn<QDateTime>("reply"); // the whole second the server names
    QTest::addColumn<int>("roundTrip");
    QTest::addColumn<bool>("byHand");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QDateTime>("server");
    QTest::addColumn<qint64>("ahead");
    using D = TimeReply::Decision;

    // The reply names the second it is in: its middle is taken, or a correct clock would be
    // set back half a second each time.
    QTest::newRow("half a second")
        << utc("2030-01-01T12:34:56.000") << utc("2030-01-01T12:34:56") << 0 << false
        << int(D::Correct) << utc("2030-01-01T12:34:56.500") << qint64(500);
    QTest::newRow("1000 ms") << utc("2030-01-01T12:34:55.500") << utc("2030-01-01T12:34:56") << 0
                             << false << int(D::Set) << utc("2030-01-01T12:34:56.500")
                             << qint64(1000);
    QTest::newRow("half the round trip")
        << utc("2030-01-01T12:34:56.000") << utc("2030-01-01T12:34:56") << 1200 << false
        << int(D::Set) << utc("2030-01-01T12:34:57.100") << qint64(1100);
    QTest::newRow("round trip too long")
        << utc("2030-01-01T12:34:56.000") << utc("2030-01-01T12:34:56") << 3001 << false
        << int(D::TooSlow) << utc("2030-01-01T12:34:58.000") << qint64(2000);
    // 1000 s is the most a reply may step the clock unasked.
    QTest::newRow("limit") << utc("2030-01-01T12:18:16.500") << utc("2030-01-01T12:34:56") << 0
                           << false << int(D::Set) << utc("2030-01-01T12:34:56.500")
                           << qint64(1000000);
    QTest::newRow("past the limit, fast")
        << utc("2030-01-01T12:51:36.501") << utc("2030-01-01T12:34:56") << 0 << false
        << int(D::Refuse) << utc("2030-01-01T12:34:56.500") << qint64(-1000001);
    // A clock on another day is offered the server's whole date, not its time of day only.
    QTest::newRow("20 h slow, by hand")
        << utc("2029-12-31T16:34:56.500") << utc("2030-01-01T12:34:56") << 0 << true << int(D::Ask)
        << utc("2030-01-01T12:34:56.500") << qint64(72000000);
}

void TestTimeReply::decide()
{
    QFETCH(QDateTime, clock);
    QFETCH(QDateTime, reply);
    QFETCH(int, roundTrip);
    QFETCH(bool, byHand);
    const quint32 value = quint32(reply.toSecsSinceEpoch() + TimeReply::SecondsBefore1970);
    const TimeReply::Decision d =
        TimeReply::decide(clock.toMSecsSinceEpoch(), value, quint32(roundTrip), byHand);
    QTEST(int(d.kind), "kind");
    QTEST(QDateTime::fromMSecsSinceEpoch(d.serverMs, Qt::UTC), "server");
    QTEST(d.aheadMs, "ahead");
}

void TestTimeReply::texts_data()
{
    QTest::addColumn<QString>("kind"); // which text
    QTest::addColumn<bool>("set");
    QTest::addColumn<qint64>("ahead"); // ms
    QTest::addColumn<QString>("text");
    QTest::newRow("set, slow") << "report" << true << qint64(5000) << "Clock was 5 seconds slow";
    QTest::newRow("set, fast") << "report" << true << qint64(-5000) << "Clock was 5 seconds fast";
    QTest::newRow("refused, slow")
        << "report" << false << qint64(5499) << "Clock is 5 seconds slow";
    QTest::newRow("rounded") << "report" << true << qint64(-1500) << "Clock was 2 seconds fast";
    QTest::newRow("under a second") << "report" << true << qint64(-999) << "Clock is correct";
    QTest::newRow("last of a day")
        << "report" << false << qint64(-86399499) << "Clock is 86399 seconds fast";
    // From a day on, days to seconds: the seconds alone would not say it, nor fit the line.
    QTest::newRow("a day") << "report" << true << qint64(86399500)
                           << "Clock was 1 d 0 h 0 min 0 s slow";
    QTest::newRow("days") << "report" << true << qint64(183845000)
                          << "Clock was 2 d 3 h 4 min 5 s slow";
    QTest::newRow("not set, ahead")
        << "notSet" << false << qint64(1000001) << "Server 16 min 40 s ahead, not set";
    QTest::newRow("not set, behind")
        << "notSet" << false << qint64(-72000000) << "Server 20 h 0 min 0 s behind, not set";
}

void TestTimeReply::texts()
{
    QFETCH(QString, kind);
    QFETCH(bool, set);
    QFETCH(qint64, ahead);
    QTEST(kind == "report" ? TimeReply::report(set, ahead) : TimeReply::notSet(ahead), "text");
}

// Both times in full, in local time (London in tests), and the difference.
void TestTimeReply::question()
{
    QCOMPARE(TimeReply::question(utc("2029-12-31T16:34:56.400"), utc("2030-07-01T12:34:57.500"),
                                 qint64(15710401100)),
             "The time server's time is far from the clock's.\n\n"
             "Clock: Monday, 31 December 2029 16:34:56\n"
             "Server: Monday, 1 July 2030 13:34:57\n"
             "The clock is 181 d 20 h 0 min 1 s slow.\n\n"
             "Set the clock to the server's time?");
}

QTEST_GUILESS_MAIN(TestTimeReply)
#include "tst_timereply.moc"
