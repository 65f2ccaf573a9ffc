#include "E2eRig.h"

#include "windows/components/DigitStrip.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

namespace {

// The four glyphs of "HH MM" inside the panel: displays at x 6 and 46, glyphs 3 and 19 in,
// 11 down.
const QList<QPoint> Glyphs = {{9, 11}, {25, 11}, {49, 11}, {65, 11}};

bool showsDigit(const QImage& panel, QPoint at, int digit)
{
    static const QImage strip = DigitStrip::make().convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < DigitStrip::CellHeight; ++y)
        for (int x = 0; x < DigitStrip::CellWidth; ++x)
            if ((panel.pixel(at.x() + x, at.y() + y) | 0xFF000000) !=
                (strip.pixel(digit * DigitStrip::CellWidth + x, y) | 0xFF000000))
                return false;
    return true;
}

bool showsAt(const QImage& image, QPoint panel, const QList<int>& digits)
{
    if (panel.x() + 187 > image.width() || panel.y() + 53 > image.height())
        return false;
    for (int i = 0; i < 4; ++i)
        if (!showsDigit(image, panel + Glyphs[i], digits[i]))
            return false;
    return true;
}

// Whether a panel showing `digits` is anywhere in the image: the compositor decides where.
bool shows(const QImage& image, const QList<int>& digits)
{
    for (int y = 0; y + 53 <= image.height(); ++y)
        for (int x = 0; x + 187 <= image.width(); ++x)
            if (showsAt(image, {x, y}, digits))
                return true;
    return false;
}

// A headless Wayland compositor with Xwayland, in its own runtime folder, ended with the test.
class Weston {
public:
    ~Weston()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.terminate();
            if (!m_process.waitForFinished(5000))
                m_process.kill();
            m_process.waitForFinished(3000);
        }
    }

    // Empty when it runs; otherwise why not. With `xwayland` it also serves X11 clients.
    // It paints into memory (pixman) and lets a test take screenshots (--debug).
    QString start(bool xwayland)
    {
        if (QStandardPaths::findExecutable("weston").isEmpty())
            return "weston is not installed";
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_RUNTIME_DIR", runtimeDir());
        env.remove("DISPLAY");
        env.remove("WAYLAND_DISPLAY");
        m_process.setProcessEnvironment(env);
        m_process.setProcessChannelMode(QProcess::MergedChannels);
        QStringList args = {"--backend=headless-backend.so",
                            "--use-pixman",
                            "--debug",
                            "--socket=" + socket(),
                            "--width=800",
                            "--height=600",
                            "--idle-time=0",
                            "--log=" + logPath()};
        if (xwayland)
            args << "--xwayland";
        m_process.start("weston", args);
        if (!m_process.waitForStarted(5000))
            return "weston did not start: " + m_process.errorString();
        // Ready once its socket is there; with Xwayland, once it names the X display.
        static const QRegularExpression listening("xserver listening on display (:\\d+)");
        E2eRig::pollUntil(
            [&] {
                m_display = listening.match(QString::fromUtf8(log())).captured(1);
                const bool ready =
                    xwayland ? !m_display.isEmpty() : QFile::exists(runtimeDir() + "/" + socket());
                return ready || m_process.state() == QProcess::NotRunning;
            },
            10000);
        if (m_process.state() == QProcess::NotRunning)
            return "weston ended at once: " + QString::fromUtf8(log().right(600)) +
                   QString::fromUtf8(m_process.readAll().right(600));
        return {};
    }

    // The whole output as the compositor painted it.
    QImage screenshot()
    {
        QTemporaryDir dir;
        QProcess shooter;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_RUNTIME_DIR", runtimeDir());
        env.insert("WAYLAND_DISPLAY", socket());
        shooter.setProcessEnvironment(env);
        shooter.setWorkingDirectory(dir.path());
        shooter.start("weston-screenshooter", {});
        shooter.waitForFinished(10000);
        const QStringList shots = QDir(dir.path()).entryList({"*.png"});
        return shots.isEmpty()
                   ? QImage()
                   : QImage(dir.filePath(shots.first())).convertToFormat(QImage::Format_RGB32);
    }

    QString display() const { return m_display; }
    QString socket() const { return "wayland-horolux"; }
    QString runtimeDir() const { return m_runtime.path(); }
    QByteArray log() const
    {
        QFile f(logPath());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

private:
    QString logPath() const { return m_runtime.path() + "/weston.log"; }

    QTemporaryDir m_runtime; // 0700, as Wayland wants its runtime folder
    QProcess m_process;
    QString m_display;
};

} // namespace

class TestE2eWayland : public QObject {
    Q_OBJECT
private slots:
    void panelShowsAndTicks_data();
    void panelShowsAndTicks();
};

void TestE2eWayland::panelShowsAndTicks_data()
{
    QTest::addColumn<bool>("xwayland");
    // With X11 offered beside Wayland the program must choose X11 by itself (nothing here
    // tells it to), so its panel is an Xwayland window that can be placed and found by title.
    QTest::newRow("through Xwayland") << true;
    // Without X11 it runs as a Wayland client and still shows the time.
    QTest::newRow("Wayland only") << false;
}

void TestE2eWayland::panelShowsAndTicks()
{
    QFETCH(bool, xwayland);
    Weston weston;
    const QString why = weston.start(xwayland);
    if (!why.isEmpty())
        QSKIP(qPrintable("no Wayland compositor to test under: " + why));
    QVERIFY2(!xwayland || !weston.display().isEmpty(),
             qPrintable(QStringLiteral(
                            "weston runs but offers no Xwayland display (is the xwayland package "
                            "installed?): ") +
                        QString::fromUtf8(weston.log().right(800))));

    E2eRig rig; // after the compositor, so the clock ends before it does
    rig.useDisplay(weston.display());
    if (!xwayland)
        rig.setEnv("DISPLAY", QString());
    // The panel draws in software. Under the sanitizers, Qt is kept from loading the graphics
    // driver's buffer integration: the driver is unloaded before the leak check, whose reports
    // about it then name no library that a suppression could match.
    if (!xwayland && qEnvironmentVariableIsSet("ASAN_OPTIONS"))
        rig.setEnv("QT_WAYLAND_CLIENT_BUFFER_INTEGRATION", "none");
    rig.setEnv("WAYLAND_DISPLAY", weston.socket());
    rig.setEnv("XDG_RUNTIME_DIR", weston.runtimeDir());
    rig.setEnv("XDG_SESSION_TYPE", "wayland");
    rig.setEnv("QT_QPA_PLATFORM", QString());
    QVERIFY(rig.startClock("2000-01-03 08:59:56"));

    QString w;
    if (xwayland) {
        w = rig.waitForWindow(15000);
        QVERIFY2(!w.isEmpty(), qPrintable(rig.clockOutput()));
        QVERIFY(rig.x("xwininfo", {"-id", w}).contains("Map State: IsViewable"));
        QCOMPARE(rig.geometry(w).size(), QSize(187, 53));
    }

    // Through Xwayland the panel's own pixels are read back from the X server; in both cases
    // the compositor's output must show it too: 08:59, then 09:00.
    const QString file = rig.home() + "/panel.png";
    auto waitFor = [&](const QList<int>& digits) {
        QImage shot;
        QImage panel;
        const bool seen = E2eRig::pollUntil(
            [&] {
                if (xwayland) {
                    rig.x("import", {"-window", w, file});
                    panel = QImage(file).convertToFormat(QImage::Format_RGB32);
                    if (!showsAt(panel, {0, 0}, digits))
                        return false;
                }
                shot = weston.screenshot();
                return shows(shot, digits);
            },
            10000);
        if (!seen)
            shot.save(rig.home() + "/last-output.png");
        return seen;
    };
    QVERIFY2(waitFor({0, 8, 5, 9}), qPrintable("08:59 not shown " + rig.clockOutput()));
    QVERIFY2(waitFor({0, 9, 0, 0}), "09:00 not shown");
    QVERIFY(rig.clockRunning());
    QCOMPARE(rig.terminate(), 0);
}

QTEST_MAIN(TestE2eWayland)
#include "tst_e2e_wayland.moc"
