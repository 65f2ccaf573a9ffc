#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

// A PulseAudio server of the test's own with one null sink ("null"), in its own runtime
// folder, so a real player can play into it and nothing is heard on the machine.
class PulseRig {
public:
    PulseRig();
    ~PulseRig();

    bool start();
    // The value for PULSE_SERVER.
    QString server() const { return "unix:" + m_dir.path() + "/native"; }
    // `pactl list sink-inputs`: the streams playing now.
    QString sinkInputs();
    // Records what the sink plays, as 16-bit mono at 22050 Hz.
    bool startRecording();
    QByteArray stopRecording();
    // Writes a loud 440 Hz tone in the type the name ends in: wav, flac, oga (Vorbis), opus
    // or mp3.
    static bool writeTone(const QString& path, int milliseconds);
    // How many recorded samples are louder than `threshold`.
    static int loudSamples(const QByteArray& recording, int threshold = 1000);

private:
    QProcessEnvironment env() const;

    QTemporaryDir m_dir;
    QProcess m_server;
    QProcess m_recorder;
};
