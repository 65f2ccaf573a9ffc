#include "platform/QtSound.h"

#include <QApplication>
#include <QAudioDevice>
#include <QAudioOutput>
#include <QFile>
#include <QFileInfo>
#include <QMediaDevices>
#include <QMediaPlayer>
#include <QUrl>

#include <utility>

QtSound::QtSound(QObject* parent)
    : QtSound([] { QApplication::beep(); },
              [] { return !QMediaDevices::defaultAudioOutput().isNull(); }, parent)
{
}

QtSound::QtSound(Beeper beeper, DeviceCheck hasAudioOutput, QObject* parent)
    : QObject(parent), m_beeper(std::move(beeper)), m_hasAudioOutput(std::move(hasAudioOutput))
{
}

QtSound::~QtSound() = default;

namespace {
// End-to-end tests cannot hear: with HOROLUX_SOUND_LOG set, every sound is also noted there.
void note(const QString& what)
{
    static const QString path = qEnvironmentVariable("HOROLUX_SOUND_LOG");
    if (path.isEmpty())
        return;
    QFile log(path);
    if (log.open(QIODevice::Append))
        log.write(what.toUtf8() + '\n');
}
} // namespace

void QtSound::beep()
{
    note(QStringLiteral("beep"));
    if (m_beeper)
        m_beeper();
}

void QtSound::failed()
{
    if (!m_awaitingResult)
        return;
    m_awaitingResult = false;
    beep();
}

void QtSound::ensurePlayer()
{
    if (m_player)
        return;
    // Made on first use and kept: a clock that never chimes with a file never loads the
    // multimedia back end.
    m_output = new QAudioOutput(this);
    m_player = new QMediaPlayer(this);
    m_player->setAudioOutput(m_output);
    connect(m_player, &QMediaPlayer::errorOccurred, this, [this] { failed(); });
    connect(m_player, &QMediaPlayer::mediaStatusChanged, this,
            [this](QMediaPlayer::MediaStatus status) {
                switch (status) {
                case QMediaPlayer::InvalidMedia:
                    failed();
                    break;
                case QMediaPlayer::BufferedMedia:
                    m_awaitingResult = false;
                    break;
                case QMediaPlayer::EndOfMedia:
                    m_awaitingResult = false;
                    // Let the back end drop the decoded file until the next sound.
                    m_player->setSource(QUrl());
                    break;
                default:
                    break;
                }
            });
}

void QtSound::playAsync(const QString& file)
{
    note(QStringLiteral("play ") + file);
    const QFileInfo info(file);
    if (file.isEmpty() || !info.isFile() || !info.isReadable()) {
        beep();
        return;
    }
    if (m_hasAudioOutput && !m_hasAudioOutput()) {
        beep();
        return;
    }
    ensurePlayer();
    if (!m_player->isAvailable()) { // no multimedia back end installed
        beep();
        return;
    }
    m_player->stop();
    // The same file again would otherwise be taken as no change and never reported.
    m_player->setSource(QUrl());
    m_awaitingResult = true;
    m_player->setSource(QUrl::fromLocalFile(info.absoluteFilePath()));
    // setSource can fail at once and report it synchronously.
    if (m_awaitingResult)
        m_player->play();
}
