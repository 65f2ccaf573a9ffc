#include "E2eRig.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>

#include <functional>

#include <csignal>
#include <unistd.h>

E2eRig::E2eRig()
{
    QDir().mkpath(m_home.path() + "/config");
    QDir().mkpath(m_home.path() + "/data");
    // Its own runtime folder: one copy runs per user, and rigs run side by side.
    QDir().mkdir(m_home.path() + "/run");
    QFile::setPermissions(m_home.path() + "/run",
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

E2eRig::~E2eRig()
{
    if (m_clock.state() != QProcess::NotRunning) {
        // The program itself, not only faketime above it: a copy left running would hold
        // its display's lock when the display number is used again.
        killHard();
        m_clock.kill();
        m_clock.waitForFinished(3000);
    }
    for (QProcess* helper : m_helpers) {
        helper->terminate();
        if (!helper->waitForFinished(3000))
            helper->kill();
        delete helper;
    }
    if (m_xvfb.state() != QProcess::NotRunning) {
        m_xvfb.terminate();
        m_xvfb.waitForFinished(3000);
    }
    // A faketime that was killed leaves its shared-memory files behind, and a later faketime
    // given the same pid cannot start ("sem_open: File exists").
    for (qint64 pid : std::as_const(m_fakeTimePids)) {
        QFile::remove(QString("/dev/shm/faketime_shm_%1").arg(pid));
        QFile::remove(QString("/dev/shm/sem.faketime_sem_%1").arg(pid));
    }
}

bool E2eRig::startX(int width, int height)
{
    // Xvfb picks a free display and tells us its number.
    // -noreset: a server that resets when its last client goes refuses connections meanwhile,
    // so a copy started right after one was killed could not connect.
    m_xvfb.start("Xvfb", {"-displayfd", "1", "-noreset", "-screen", "0",
                          QString("%1x%2x24").arg(width).arg(height), "-nolisten", "tcp"});
    if (!m_xvfb.waitForStarted(5000))
        return false;
    QByteArray number;
    for (int i = 0; i < 100 && !number.contains('\n'); ++i) {
        m_xvfb.waitForReadyRead(100);
        number += m_xvfb.readAllStandardOutput();
    }
    if (!number.contains('\n'))
        return false;
    m_display = ":" + QString::fromLatin1(number.trimmed());
    return true;
}

void E2eRig::stopX()
{
    m_xvfb.kill();
    m_xvfb.waitForFinished(3000);
}

QProcessEnvironment E2eRig::env() const
{
    QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
    e.insert("DISPLAY", m_display);
    e.insert("HOME", m_home.path());
    e.insert("XDG_CONFIG_HOME", m_home.path() + "/config");
    e.insert("XDG_DATA_HOME", m_home.path() + "/data");
    e.insert("XDG_RUNTIME_DIR", m_home.path() + "/run");
    e.insert("QT_QPA_PLATFORM", "xcb");
    e.remove("WAYLAND_DISPLAY");
    e.insert("FAKETIME_DONT_FAKE_MONOTONIC", "1");
    // Every sound asked for is told on standard error, one line each, in Qt's plain form.
    e.insert("QT_LOGGING_RULES", "horolux.sound.info=true");
    e.remove("QT_MESSAGE_PATTERN");
    // A sanitizer build must accept faketime's preloaded library in front of its runtime.
    const QString asan = e.value("ASAN_OPTIONS");
    e.insert("ASAN_OPTIONS",
             (asan.isEmpty() ? QString() : asan + ":") + "verify_asan_link_order=0");
    for (auto it = m_extraEnv.cbegin(); it != m_extraEnv.cend(); ++it) {
        if (it.value().isNull())
            e.remove(it.key());
        else
            e.insert(it.key(), it.value());
    }
    return e;
}

bool E2eRig::startClock(const QString& fakeTime, const QStringList& arguments)
{
    QStringList args = arguments;
    // HOROLUX_E2E_BIN runs the same test against another build of the program.
    QString program = qEnvironmentVariable("HOROLUX_E2E_BIN", HOROLUX_BIN);
    if (!fakeTime.isEmpty()) {
        args = QStringList{fakeTime, program} + args;
        program = "faketime";
    }
    if (::geteuid() == 0) {
        // Tests run as root: the program must not be able to set the clock.
        args = QStringList{"--bounding-set=-sys_time", "--inh-caps=-sys_time", program} + args;
        program = "setpriv";
    }
    m_clock.setProcessEnvironment(env());
    m_clock.setProcessChannelMode(QProcess::MergedChannels);
    m_clock.start(program, args);
    const bool started = m_clock.waitForStarted(5000);
    // setpriv becomes faketime, which names its files after its own pid.
    if (started && !fakeTime.isEmpty())
        m_fakeTimePids.append(m_clock.processId());
    return started;
}

int E2eRig::runAnotherCopy(qint64* elapsedMs, const QString& display, QString* output)
{
    QProcess copy;
    QProcessEnvironment e = env();
    if (!display.isEmpty())
        e.insert("DISPLAY", display);
    copy.setProcessEnvironment(e);
    copy.setProcessChannelMode(QProcess::MergedChannels);
    QElapsedTimer timer;
    timer.start();
    copy.start(m_clock.program(), m_clock.arguments());
    const bool ended = copy.waitForFinished(20000);
    if (elapsedMs)
        *elapsedMs = timer.elapsed();
    if (output)
        *output = QString::fromLocal8Bit(copy.readAll());
    if (!ended) {
        copy.kill();
        copy.waitForFinished(3000);
        return -2;
    }
    return copy.exitStatus() == QProcess::NormalExit ? copy.exitCode() : -1;
}

QString E2eRig::x(const QString& program, const QStringList& args, int* status)
{
    QProcess p;
    p.setProcessEnvironment(env());
    p.start(program, args);
    p.waitForFinished(15000);
    if (status)
        *status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    return QString::fromUtf8(p.readAllStandardOutput());
}

bool E2eRig::colonLit(const QImage& shot, const QPoint& panel)
{
    for (int y = 9; y < 34; ++y)
        for (int x = 43; x <= 45; ++x)
            if (qBlue(shot.pixel(panel.x() + x, panel.y() + y)) > 128)
                return true;
    return false;
}

bool E2eRig::pollUntil(const std::function<bool()>& ready, int timeoutMs)
{
    for (int waited = 0; waited < timeoutMs; waited += 100) {
        if (ready())
            return true;
        QThread::msleep(100);
    }
    return ready();
}

bool E2eRig::startWindowManager()
{
    auto* wm = new QProcess;
    m_helpers << wm;
    wm->setProcessEnvironment(env());
    wm->setStandardOutputFile(QProcess::nullDevice());
    wm->setStandardErrorFile(QProcess::nullDevice()); // notes about its menu files
    wm->start("openbox", {"--sm-disable"});
    if (!wm->waitForStarted(5000))
        return false;
    // The manager announces itself on the root window once it has taken over the screen.
    return pollUntil(
        [&] {
            return x("xprop", {"-root", "_NET_SUPPORTING_WM_CHECK"}).contains("window id");
        },
        10000);
}

bool E2eRig::startTray()
{
    // A tray started while the window manager is still settling in sometimes never shows its
    // panel: such a one is replaced.
    for (int attempt = 0; attempt < 3; ++attempt) {
        auto* tray = new QProcess;
        m_helpers << tray;
        tray->setProcessEnvironment(env());
        tray->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        tray->start("trayer", {"--edge", "bottom", "--align", "right", "--widthtype", "request",
                               "--heighttype", "pixel", "--height", "24", "--SetDockType", "true"});
        if (!tray->waitForStarted(5000))
            return false;
        if (pollUntil([&] { return !visibleWindows("panel").isEmpty(); }, 10000))
            return true;
        tray->kill();
        tray->waitForFinished(3000);
    }
    return false;
}

bool E2eRig::showWindowTitled(const QString& title)
{
    auto* window = new QProcess;
    m_helpers << window;
    window->setProcessEnvironment(env());
    window->start("xmessage", {"-title", title, title});
    if (!window->waitForStarted(5000))
        return false;
    return pollUntil([&] { return !visibleWindows(title).isEmpty(); }, 10000);
}

QRect E2eRig::trayIcon(int timeoutMs)
{
    // The empty tray is 2 pixels wide; it grows by one square for the icon.
    QRect area;
    pollUntil(
        [&] {
            const QStringList panels = visibleWindows("panel");
            area = panels.isEmpty() ? QRect() : geometry(panels.first());
            return area.width() >= area.height() && !area.isEmpty();
        },
        timeoutMs);
    return area.width() >= area.height() && !area.isEmpty() ? area : QRect();
}

QStringList E2eRig::visibleWindows(const QString& title)
{
    return x("xdotool", {"search", "--onlyvisible", "--name", "^" + title + "$"})
        .split('\n', Qt::SkipEmptyParts);
}

QString E2eRig::waitForWindow(int timeoutMs)
{
    for (int waited = 0; waited < timeoutMs; waited += 100) {
        const QString ids = x("xdotool", {"search", "--onlyvisible", "--name", "^Horolux$"});
        if (!ids.trimmed().isEmpty())
            return ids.split('\n').first().trimmed();
        if (m_clock.state() == QProcess::NotRunning)
            return {};
        QThread::msleep(100);
    }
    return {};
}

QRect E2eRig::geometry(const QString& window)
{
    const QString out = x("xdotool", {"getwindowgeometry", "--shell", window});
    QRect r;
    for (const QString& line : out.split('\n')) {
        const int v = line.section('=', 1).toInt();
        if (line.startsWith("X="))
            r.moveLeft(v);
        else if (line.startsWith("Y="))
            r.moveTop(v);
        else if (line.startsWith("WIDTH="))
            r.setWidth(v);
        else if (line.startsWith("HEIGHT="))
            r.setHeight(v);
    }
    return r;
}

QString E2eRig::property(const QString& window, const QString& name)
{
    return x("xprop", {"-id", window, name}).trimmed();
}

QImage E2eRig::screenshot()
{
    const QString file = m_home.path() + "/shot.png";
    x("import", {"-window", "root", file});
    return QImage(file).convertToFormat(QImage::Format_RGB32);
}

qint64 E2eRig::clockPid() const
{
    // Under setpriv and faketime the program is the deepest descendant.
    qint64 pid = m_clock.processId();
    for (int depth = 0; depth < 3; ++depth) {
        QFile children(QString("/proc/%1/task/%1/children").arg(pid));
        if (!children.open(QIODevice::ReadOnly))
            break;
        const QByteArray list = children.readAll().trimmed();
        if (list.isEmpty())
            break;
        pid = list.split(' ').first().toLongLong();
    }
    return pid;
}

QString E2eRig::startAnotherDisplay()
{
    auto* xvfb = new QProcess;
    m_helpers << xvfb;
    xvfb->start("Xvfb",
                {"-displayfd", "1", "-noreset", "-screen", "0", "640x480x24", "-nolisten", "tcp"});
    QByteArray number;
    for (int i = 0; i < 100 && !number.contains('\n'); ++i) {
        xvfb->waitForReadyRead(100);
        number += xvfb->readAllStandardOutput();
    }
    return number.contains('\n') ? ":" + QString::fromLatin1(number.trimmed()) : QString();
}

int E2eRig::waitForEnd(int timeoutMs)
{
    if (!m_clock.waitForFinished(timeoutMs))
        return -2;
    return m_clock.exitStatus() == QProcess::NormalExit ? m_clock.exitCode() : -1;
}

QList<qint64> E2eRig::ourProcesses() const
{
    const QByteArray home = "HOME=" + QFile::encodeName(m_home.path()) + '\0';
    QList<qint64> found;
    for (const QString& entry : QDir("/proc").entryList(QDir::Dirs)) {
        bool number = false;
        const qint64 pid = entry.toLongLong(&number);
        if (!number)
            continue;
        const QString exe = QFile::symLinkTarget(QString("/proc/%1/exe").arg(pid));
        if (!exe.endsWith("/horolux") && !exe.endsWith("/horolux-play"))
            continue;
        QFile environment(QString("/proc/%1/environ").arg(pid));
        if (environment.open(QIODevice::ReadOnly) && environment.readAll().contains(home))
            found << pid;
    }
    return found;
}

// A clock that has already ended has no pid, and kill(0) would signal the whole process group:
// the test runner with it.
static void signalClock(qint64 pid, int signal)
{
    if (pid > 0)
        ::kill(static_cast<pid_t>(pid), signal);
}

int E2eRig::terminate()
{
    signalClock(clockPid(), SIGTERM);
    if (!m_clock.waitForFinished(10000))
        return -2;
    return m_clock.exitStatus() == QProcess::NormalExit ? m_clock.exitCode() : -1;
}

bool E2eRig::killHard()
{
    signalClock(clockPid(), SIGKILL);
    return m_clock.waitForFinished(10000);
}

void E2eRig::writeSettings(const QByteArray& values)
{
    QDir().mkpath(m_home.path() + "/config/horolux");
    QFile f(settingsPath());
    f.open(QIODevice::WriteOnly);
    f.write("REGEDIT4\n\n" + values);
}

QByteArray E2eRig::readFile(const QString& path) const
{
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

void E2eRig::readOutput()
{
    while (m_clock.waitForReadyRead(0)) {
    }
    m_output += m_clock.readAll();
}

QString E2eRig::clockOutput()
{
    readOutput();
    const QString unread = QString::fromLocal8Bit(m_output.mid(m_outputShown));
    m_outputShown = m_output.size();
    return unread;
}

QStringList E2eRig::sounds()
{
    readOutput();
    QStringList found;
    for (const QByteArray& line : m_output.split('\n'))
        if (line.startsWith("horolux.sound: "))
            found << QString::fromUtf8(line.mid(15));
    return found;
}
