#include "E2eRig.h"

#include "windows/components/DigitStrip.h"
#include "windows/perf/IndicatorPicture.h"

#include <QElapsedTimer>
#include <QTest>
#include <QThread>

namespace {

const QByteArray SettingsKey = "[HKEY_CURRENT_USER\\Software\\Quillfern\\Horolux\\1.0\\Settings]\n";
const QPoint Window(10, 160); // the designed place
const QRgb Black = qRgb(0, 0, 0);

// Digit cell positions on the screen: the hour display at (6, 9), minutes at (46, 9), each
// with glyphs at x 3 (tens) and 19 (units), 2 pixels down.
QPoint glyphAt(bool minutes, bool units)
{
    return Window + QPoint((minutes ? 46 : 6) + (units ? 19 : 3), 9 + 2);
}

// True when the 16 x 21 block at `at` is exactly cell `digit` of the strip
// (digit -1: all black).
bool showsDigit(const QImage& shot, QPoint at, int digit)
{
    static const QImage strip = DigitStrip::make().convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < DigitStrip::CellHeight; ++y)
        for (int x = 0; x < DigitStrip::CellWidth; ++x) {
            const QRgb want =
                digit < 0 ? Black : strip.pixel(digit * DigitStrip::CellWidth + x, y) | 0xFF000000;
            if ((shot.pixel(at.x() + x, at.y() + y) | 0xFF000000) != want)
                return false;
        }
    return true;
}

QString describe(const QImage& shot, QPoint at)
{
    QString s;
    for (int y = 0; y < DigitStrip::CellHeight; ++y) {
        for (int x = 0; x < DigitStrip::CellWidth; ++x)
            s += qGreen(shot.pixel(at.x() + x, at.y() + y)) > 128 ? '#' : '.';
        s += '\n';
    }
    return s;
}

struct Face {
    int h10, h1, m10, m1;
};

} // namespace

class TestE2eFace : public QObject {
    Q_OBJECT
private slots:
    void digitsColonAndBarsAcrossTheHour_data();
    void digitsColonAndBarsAcrossTheHour();

private:
    QImage waitFor(E2eRig& rig, const Face& f, int timeoutMs);
};

QImage TestE2eFace::waitFor(E2eRig& rig, const Face& f, int timeoutMs)
{
    QElapsedTimer t;
    t.start();
    QImage shot;
    do {
        shot = rig.screenshot();
        if (showsDigit(shot, glyphAt(false, false), f.h10) &&
            showsDigit(shot, glyphAt(false, true), f.h1) &&
            showsDigit(shot, glyphAt(true, false), f.m10) &&
            showsDigit(shot, glyphAt(true, true), f.m1))
            return shot;
        QThread::msleep(200);
    } while (t.elapsed() < timeoutMs);
    qWarning("hour tens:\n%s\nhour units:\n%s", qPrintable(describe(shot, glyphAt(false, false))),
             qPrintable(describe(shot, glyphAt(false, true))));
    return {};
}

void TestE2eFace::digitsColonAndBarsAcrossTheHour_data()
{
    QTest::addColumn<bool>("twelveHour");
    QTest::addColumn<QList<int>>("before"); // 13:59
    QTest::addColumn<QList<int>>("after");  // 14:00
    QTest::newRow("24-hour") << false << QList<int>{1, 3, 5, 9} << QList<int>{1, 4, 0, 0};
    // The 12-hour form has no leading zero: the tens place stays black.
    QTest::newRow("12-hour") << true << QList<int>{-1, 1, 5, 9} << QList<int>{-1, 2, 0, 0};
}

void TestE2eFace::digitsColonAndBarsAcrossTheHour()
{
    QFETCH(bool, twelveHour);
    QFETCH(QList<int>, before);
    QFETCH(QList<int>, after);
    E2eRig rig;
    QVERIFY(rig.startX());
    rig.writeSettings(SettingsKey + "\"Chime\"=dword:00000001\n\"12Hr Format\"=dword:0000000" +
                      (twelveHour ? "1" : "0") + "\n");
    QVERIFY(rig.startClock("2000-01-03 13:59:55"));
    const QString w = rig.waitForWindow();
    QVERIFY2(!w.isEmpty(), qPrintable(rig.clockOutput()));
    QCOMPARE(rig.geometry(w).topLeft(), Window);

    QImage shot = waitFor(rig, {before[0], before[1], before[2], before[3]}, 3000);
    QVERIFY2(!shot.isNull(), "13:59 not shown");
    QVERIFY(rig.sounds().isEmpty()); // no chime before the hour

    // The four bar labels stand pixel for pixel where the layout puts them.
    const QList<QPair<QString, QPoint>> bars = {
        {"DSK", {84, 12}}, {"CPU", {132, 12}}, {"MEM", {84, 24}}, {"PF", {132, 24}}};
    for (const auto& [label, pos] : bars) {
        const QImage picture = IndicatorPicture::make(label).convertToFormat(QImage::Format_RGB32);
        for (int y = 0; y < IndicatorPicture::Height; ++y)
            for (int x = 0; x < IndicatorPicture::LabelWidth; ++x)
                QCOMPARE(shot.pixel(Window + pos + QPoint(x, y)) | 0xFF000000,
                         picture.pixel(x, y) | 0xFF000000);
    }

    // The colon blinks: lit on some screenshots, dark on others.
    bool lit = false, dark = false;
    for (int i = 0; i < 12 && !(lit && dark); ++i) {
        (E2eRig::colonLit(rig.screenshot(), Window) ? lit : dark) = true;
        QThread::msleep(250);
    }
    QVERIFY(lit && dark);

    shot = waitFor(rig, {after[0], after[1], after[2], after[3]}, 10000);
    QVERIFY2(!shot.isNull(), "14:00 not shown");
    QThread::msleep(1500);                       // a few more ticks of minute 0
    QCOMPARE(rig.sounds(), QStringList{"beep"}); // the hourly chime, once
    QCOMPARE(rig.terminate(), 0);
}

QTEST_MAIN(TestE2eFace)
#include "tst_e2e_face.moc"
