#pragma once

#include "platform/linux/SoundPlayerProcess.h"
#include "ports/ISound.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

class QThread;

// System beep and asynchronous sound files. Files are played by the clock's player program, in
// a process of its own, so no audio system is ever loaded here and none can stall or crash the
// clock. A file that cannot be played beeps instead, without a message.
class QtSound : public QObject, public ISound {
    Q_OBJECT
public:
    using Beeper = std::function<void()>;

    explicit QtSound(QObject* parent = nullptr);
    // Tests replace the beep and the player command (the file is appended to it).
    QtSound(Beeper beeper, QStringList playerCommand, SoundPlayerProcess::Limits limits = {},
            QObject* parent = nullptr);
    ~QtSound() override;

    void beep() override;
    // A new sound replaces one still playing.
    void playAsync(const QString& file) override;

    // The player for a clock run from programDir: installed, in the clock's libexec folder;
    // in a build tree, beside the clock.
    static QString playerProgram(const QString& programDir);

signals:
    // A player run has ended: the file played, or the beep has been given instead.
    void finished(bool played);

private:
    Beeper m_beeper;
    // Players are started from a thread made before the clock lowers its own priority, so the
    // sound does not stutter at idle priority.
    QThread* m_thread = nullptr;
    SoundPlayerProcess* m_player = nullptr;
    // The beep is the sound theme's bell, else the X bell. It has a player of its own, so a
    // beep never cuts a sound file short.
    SoundPlayerProcess* m_bell = nullptr;
};
