#include "e2e/PulseRig.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QThread>
#include <QtEndian>

#include <sndfile.h>

#include <cmath>
#include <cstdlib>
#include <vector>

PulseRig::PulseRig() = default;

PulseRig::~PulseRig()
{
    for (QProcess* p : {&m_recorder, &m_server}) {
        if (p->state() == QProcess::NotRunning)
            continue;
        p->terminate();
        if (!p->waitForFinished(3000)) {
            p->kill();
            p->waitForFinished(3000);
        }
    }
}

QProcessEnvironment PulseRig::env() const
{
    QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
    const QString dir = m_dir.path();
    e.insert(QStringLiteral("HOME"), dir);
    e.insert(QStringLiteral("XDG_RUNTIME_DIR"), dir);
    e.insert(QStringLiteral("XDG_CONFIG_HOME"), dir + QStringLiteral("/config"));
    e.insert(QStringLiteral("PULSE_SERVER"), server());
    e.remove(QStringLiteral("DISPLAY"));
    e.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
    return e;
}

bool PulseRig::start()
{
    if (!m_dir.isValid())
        return false;
    m_server.setProcessEnvironment(env());
    m_server.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    // No start-up script (-n): only the modules named here; anonymous clients on our socket.
    m_server.start(QStringLiteral("pulseaudio"),
                   {QStringLiteral("-n"), QStringLiteral("--daemonize=no"),
                    QStringLiteral("--exit-idle-time=-1"), QStringLiteral("--system=false"),
                    QStringLiteral("--use-pid-file=false"), QStringLiteral("--disable-shm=true"),
                    QStringLiteral("--log-level=error"), QStringLiteral("-L"),
                    QStringLiteral("module-null-sink sink_name=null"), QStringLiteral("-L"),
                    QStringLiteral("module-native-protocol-unix auth-anonymous=1 socket=") +
                        m_dir.path() + QStringLiteral("/native")});
    if (!m_server.waitForStarted(5000))
        return false;
    for (int i = 0; i < 100; ++i) {
        QProcess info;
        info.setProcessEnvironment(env());
        info.start(QStringLiteral("pactl"), {QStringLiteral("info")});
        if (info.waitForFinished(5000) && info.exitStatus() == QProcess::NormalExit &&
            info.exitCode() == 0)
            return true;
        if (m_server.state() == QProcess::NotRunning)
            return false;
        QThread::msleep(100);
    }
    return false;
}

QString PulseRig::sinkInputs()
{
    QProcess p;
    p.setProcessEnvironment(env());
    p.start(QStringLiteral("pactl"), {QStringLiteral("list"), QStringLiteral("sink-inputs")});
    p.waitForFinished(5000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

bool PulseRig::startRecording()
{
    m_recorder.setProcessEnvironment(env());
    // Straight into a file: a pipe nobody reads while the test waits would fill, and what the
    // recorder then holds back is lost when it is stopped.
    m_recorder.setStandardOutputFile(m_dir.path() + QStringLiteral("/recording.raw"));
    // A short latency: the recorder otherwise holds back seconds of sound.
    m_recorder.start(QStringLiteral("parec"),
                     {QStringLiteral("--latency-msec=20"), QStringLiteral("-d"),
                      QStringLiteral("null.monitor"), QStringLiteral("--raw"),
                      QStringLiteral("--format=s16le"), QStringLiteral("--channels=1"),
                      QStringLiteral("--rate=22050")});
    return m_recorder.waitForStarted(5000);
}

QByteArray PulseRig::stopRecording()
{
    m_recorder.terminate();
    m_recorder.waitForFinished(5000);
    QFile recording(m_dir.path() + QStringLiteral("/recording.raw"));
    return recording.open(QIODevice::ReadOnly) ? recording.readAll() : QByteArray();
}

int PulseRig::loudSamples(const QByteArray& recording, int threshold)
{
    int loud = 0;
    for (qsizetype i = 0; i + 1 < recording.size(); i += 2)
        if (std::abs(qFromLittleEndian<qint16>(recording.constData() + i)) > threshold)
            ++loud;
    return loud;
}

bool PulseRig::writeTone(const QString& path, int milliseconds)
{
    static const QHash<QString, int> formats{
        {QStringLiteral("wav"), SF_FORMAT_WAV | SF_FORMAT_PCM_16},
        {QStringLiteral("flac"), SF_FORMAT_FLAC | SF_FORMAT_PCM_16},
        {QStringLiteral("oga"), SF_FORMAT_OGG | SF_FORMAT_VORBIS},
        {QStringLiteral("opus"), SF_FORMAT_OGG | SF_FORMAT_OPUS},
        {QStringLiteral("mp3"), SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III}};
    SF_INFO info{0, 48000, 1, formats.value(QFileInfo(path).suffix()), 0, 0};
    SNDFILE* file = sf_open(QFile::encodeName(path).constData(), SFM_WRITE, &info);
    std::vector<float> tone(static_cast<size_t>(48 * milliseconds));
    for (size_t i = 0; i < tone.size(); ++i)
        tone[i] = float(0.4 * std::sin(2 * M_PI * 440 * double(i) / 48000));
    const bool written = file && sf_writef_float(file, tone.data(), sf_count_t(tone.size())) ==
                                     sf_count_t(tone.size());
    return file && sf_close(file) == 0 && written;
}
