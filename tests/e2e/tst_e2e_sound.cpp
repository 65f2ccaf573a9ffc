#include "E2eRig.h"
#include "PulseRig.h"

#include "windows/components/DigitStrip.h"

#include <QElapsedTimer>
#include <QTest>
#include <QThread>

#include <functional>

namespace {

const QByteArray SettingsKey = "[HKEY_CURRENT_USER\\Software\\Quillfern\\Horolux\\1.0\\Settings]\n";
const QPoint Window(10, 160); // the designed place

// True when the digit cell at `x` of the face (y 9, 2 pixels down) shows `digit`.
bool showsDigit(const QImage& shot, int x, int digit)
{
    static const QImage strip = DigitStrip::make().convertToFormat(QImage::Format_RGB32);
    const QPoint at = Window + QPoint(x, 9 + 2);
    for (int y = 0; y < DigitStrip::CellHeight; ++y)
        for (int dx = 0; dx < DigitStrip::CellWidth; ++dx)
            if ((shot.pixel(at.x() + dx, at.y() + y) | 0xFF000000) !=
                (strip.pixel(digit * DigitStrip::CellWidth + dx, y) | 0xFF000000))
                return false;
    return true;
}

bool showsFourteenHundred(const QImage& shot)
{
    return showsDigit(shot, 6 + 3, 1) && showsDigit(shot, 6 + 19, 4) &&
           showsDigit(shot, 46 + 3, 0) && showsDigit(shot, 46 + 19, 0);
}

} // namespace

class TestE2eSound : public QObject {
    Q_OBJECT
private slots:
    void chimeFileKeepsTheClockRunning_data();
    void chimeFileKeepsTheClockRunning();
};

void TestE2eSound::chimeFileKeepsTheClockRunning_data()
{
    QTest::addColumn<bool>("serverUp");
    QTest::newRow("sound server") << true;
    QTest::newRow("no sound server") << false;
}

// A chime file played at the hour while a sound server is reachable once froze the face for
// good and made the clock deaf to SIGTERM. The face must go on while the file plays, and
// without a server the chime falls back to the beep.
void TestE2eSound::chimeFileKeepsTheClockRunning()
{
    QFETCH(bool, serverUp);
    PulseRig pulse;
    E2eRig rig;
    QVERIFY(rig.startX());
    const QString chime = rig.home() + "/chime.wav";
    QVERIFY(PulseRig::writeTone(chime, 1500));
    rig.writeSettings(SettingsKey + "\"Chime\"=dword:00000002\n\"ChimeSound\"=\"" + chime.toUtf8() +
                      "\"\n");
    if (serverUp) {
        QVERIFY(pulse.start());
        QVERIFY(pulse.startRecording());
    }
    rig.setEnv("PULSE_SERVER",
               pulse.server()); // without the server: a socket nobody made

    QVERIFY(rig.startClock("2000-01-03 13:59:56"));
    const QString w = rig.waitForWindow();
    QVERIFY2(!w.isEmpty(), qPrintable(rig.clockOutput()));
    QVERIFY(E2eRig::pollUntil([&] { return !rig.sounds().isEmpty(); }, 10000));
    QCOMPARE(rig.sounds().first(), "play " + chime);
    if (serverUp)
        QVERIFY(
            E2eRig::pollUntil([&] { return pulse.sinkInputs().contains("horolux-play"); }, 5000));

    // The face shows the new hour and the colon keeps blinking while the sound plays.
    QVERIFY(E2eRig::pollUntil([&] { return showsFourteenHundred(rig.screenshot()); }, 3000));
    bool lit = false, dark = false;
    for (int i = 0; i < 12 && !(lit && dark); ++i) {
        (E2eRig::colonLit(rig.screenshot(), Window) ? lit : dark) = true;
        QThread::msleep(250);
    }
    QVERIFY(lit && dark);

    if (serverUp) {
        QVERIFY(E2eRig::pollUntil([&] { return pulse.sinkInputs().trimmed().isEmpty(); }, 10000));
        QThread::msleep(300);
        // 1.5 s of the tone is 33075 samples, most of them loud.
        const int loud = PulseRig::loudSamples(pulse.stopRecording());
        QVERIFY2(loud > 20000, qPrintable(QString::number(loud)));
        QCOMPARE(rig.sounds(), QStringList{"play " + chime});
    } else {
        QVERIFY(E2eRig::pollUntil([&] { return rig.sounds().size() == 2; }, 8000));
        QCOMPARE(rig.sounds(), (QStringList{"play " + chime, "beep"}));
    }
    QCOMPARE(rig.terminate(), 0);
}

QTEST_MAIN(TestE2eSound)
#include "tst_e2e_sound.moc"
