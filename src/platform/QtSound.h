#pragma once

#include "platform/ISound.h"

#include <QObject>
#include <QString>

#include <functional>

class QAudioOutput;
class QMediaPlayer;

// System beep and asynchronous sound files. A file that cannot be played beeps instead,
// without a message; nothing here waits for the sound.
class QtSound : public QObject, public ISound {
    Q_OBJECT
public:
    using Beeper = std::function<void()>;
    using DeviceCheck = std::function<bool()>;

    explicit QtSound(QObject* parent = nullptr);
    // Tests replace the beep and the question whether an audio output exists.
    QtSound(Beeper beeper, DeviceCheck hasAudioOutput, QObject* parent = nullptr);
    ~QtSound() override;

    void beep() override;
    // A new sound replaces one still playing.
    void playAsync(const QString& file) override;

    // True once a player has been made (only a file that could be played makes one).
    bool hasPlayer() const { return m_player != nullptr; }

private:
    void ensurePlayer();
    void failed();

    Beeper m_beeper;
    DeviceCheck m_hasAudioOutput;
    QMediaPlayer* m_player = nullptr;
    QAudioOutput* m_output = nullptr;
    // The current file has not yet failed; a failure beeps once.
    bool m_awaitingResult = false;
};
