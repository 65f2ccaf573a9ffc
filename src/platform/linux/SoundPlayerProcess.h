#pragma once

#include <QObject>
#include <QStringList>

class QProcess;
class QTimer;

// Runs the sound player program for one file at a time and tells whether the sound played.
// A player that does not start playing within `startLimitMs`, or overruns the length it
// announced, is killed. Every run ends in exactly one `ended`, except a run replaced by the
// next one, which ends silently. The player ends by itself when the thread that started it
// ends, and plays no longer than `longestMs`.
class SoundPlayerProcess : public QObject {
    Q_OBJECT
public:
    struct Limits {
        int startLimitMs = 5000;
        int endSlackMs = 3000;
        int longestMs = 15 * 60 * 1000;
    };

    // `command` is the program and its leading arguments; the file is appended.
    SoundPlayerProcess(QStringList command, Limits limits, QObject* parent = nullptr);
    ~SoundPlayerProcess() override;

    void play(const QString& file);

signals:
    void ended(bool played);

private:
    void readOutput();
    void timedOut();
    void finish(bool played);
    void discard();

    QStringList m_command;
    Limits m_limits;
    QProcess* m_process = nullptr;
    QTimer* m_timer = nullptr;
    QByteArray m_output;
    bool m_playing = false;
    bool m_timedOut = false;
};
