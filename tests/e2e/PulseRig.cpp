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
    e.insert("HOME", dir);
    e.insert("XDG_RUNTIME_DIR", dir);
    e.insert("XDG_CONFIG_HOME", dir + "/config");
    e.insert("PULSE_SERVER", server());
    e.remove("DISPLAY");
    e.remove("DBUS_SESSION_BUS_ADDRESS");
    return e;
}

bool PulseRig::start()
{
    if (!m_dir.isValid())
        return false;
    m_server.setProcessEnvironment(env());
    m_server.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    // No start-up script (-n): only the modules named here; anonymous clients on our socket.
    m_server.start(
        "pulseaudio",
        {"-n", "--daemonize=no", "--exit-idle-time=-1", "--system=false", "--use-pid-file=false",
         "--disable-shm=true", "--log-level=error", "-L", "module-null-sink sink_name=null", "-L",
         "module-native-protocol-unix auth-anonymous=1 socket=" + m_dir.path() + "/native"});
    if (!m_server.waitForStarted(5000))
        return false;
    for (int i = 0; i < 100; ++i) {
        QProcess info;
        info.setProcessEnvironment(env());
        info.start("pactl", {"info"});
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
    p.start("pactl", {"list", "sink-inputs"});
    p.waitForFinished(5000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

bool PulseRig::startRecording()
{
    m_recorder.setProcessEnvironment(env());
    // Straight into a file: a pipe nobody reads while the test waits would fill, and what the
    // recorder then holds back is lost when it is stopped.
    m_recorder.setStandardOutputFile(m_dir.path() + "/recording.raw");
    // A short latency: the recorder otherwise holds back seconds of sound.
    m_recorder.start("parec", {"--latency-msec=20", "-d", "null.monitor", "--raw", "--format=s16le",
                               "--channels=1", "--rate=22050"});
    return m_recorder.waitForStarted(5000);
}

QByteArray PulseRig::stopRecording()
{
    m_recorder.terminate();
    m_recorder.waitForFinished(5000);
    QFile recording(m_dir.path() + "/recording.raw");
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
    static const QHash<QString, int> formats{{"wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16},
                                             {"flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_16},
                                             {"oga", SF_FORMAT_OGG | SF_FORMAT_VORBIS},
                                             {"opus", SF_FORMAT_OGG | SF_FORMAT_OPUS},
                                             {"mp3", SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III}};
    SF_INFO info{0, 48000, 1, formats.value(QFileInfo(path).suffix()), 0, 0};
    SNDFILE* file = sf_open(QFile::encodeName(path).constData(), SFM_WRITE, &info);
    std::vector<float> tone(static_cast<size_t>(48 * milliseconds));
    for (size_t i = 0; i < tone.size(); ++i)
        tone[i] = float(0.4 * std::sin(2 * M_PI * 440 * double(i) / 48000));
    const bool written = file && sf_writef_float(file, tone.data(), sf_count_t(tone.size())) ==
                                     sf_count_t(tone.size());
    return file && sf_close(file) == 0 && written;
}
