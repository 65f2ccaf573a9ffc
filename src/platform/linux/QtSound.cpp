#include "platform/linux/QtSound.h"
#include "platform/linux/SoundTheme.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QThread>

#include <utility>

QtSound::QtSound(QObject* parent)
    : QtSound([] { QApplication::beep(); }, {playerProgram(QCoreApplication::applicationDirPath())},
              {}, parent)
{
}

QtSound::QtSound(Beeper beeper, QStringList playerCommand, SoundPlayerProcess::Limits limits,
                 QObject* parent)
    : QObject(parent), m_beeper(std::move(beeper))
{
    m_thread = new QThread;
    m_thread->setObjectName(QStringLiteral("sound"));
    m_bell = new SoundPlayerProcess(playerCommand, limits);
    m_player = new SoundPlayerProcess(std::move(playerCommand), limits);
    m_player->moveToThread(m_thread);
    m_bell->moveToThread(m_thread);
    connect(m_bell, &SoundPlayerProcess::ended, this, [this](bool played) {
        if (!played && m_beeper)
            m_beeper();
    });
    connect(m_player, &SoundPlayerProcess::ended, this, [this](bool played) {
        if (!played)
            beep();
        emit finished(played);
    });
    m_thread->start();
}

QtSound::~QtSound()
{
    // A sound still playing stops with the clock.
    m_player->disconnect(this);
    m_bell->disconnect(this);
    // Waits for the deletion: a deletion merely queued may find the thread's loop already told
    // to quit, and is then dropped with the player and its process.
    QMetaObject::invokeMethod(
        m_player, [p = m_player] { delete p; }, Qt::BlockingQueuedConnection);
    QMetaObject::invokeMethod(
        m_bell, [b = m_bell] { delete b; }, Qt::BlockingQueuedConnection);
    m_thread->quit();
    m_thread->wait();
    delete m_thread;
}

QString QtSound::playerProgram(const QString& programDir)
{
    const QDir dir(programDir);
    const QString installed =
        QDir::cleanPath(dir.filePath(QStringLiteral(HOROLUX_PLAYER_FROM_BIN "/horolux-play")));
    if (QFileInfo(installed).isExecutable())
        return installed;
    return dir.filePath(QStringLiteral("horolux-play"));
}

namespace {
// End-to-end tests cannot hear: with QT_LOGGING_RULES="horolux.sound.info=true" every sound
// asked for is told on standard error, "horolux.sound: beep" or "horolux.sound: play FILE".
Q_LOGGING_CATEGORY(lcSound, "horolux.sound", QtWarningMsg)
} // namespace

void QtSound::beep()
{
    qCInfo(lcSound, "beep");
    // Desktops with a sound server often silence the X bell, but play the theme's bell.
    if (const QString bell = SoundTheme::find(QStringLiteral("bell")); !bell.isEmpty())
        QMetaObject::invokeMethod(m_bell, [b = m_bell, bell] { b->play(bell); });
    else if (m_beeper)
        m_beeper();
}

void QtSound::playAsync(const QString& file)
{
    qCInfo(lcSound).noquote() << "play" << file;
    const QFileInfo info(file);
    if (file.isEmpty() || !info.isFile() || !info.isReadable()) {
        beep();
        return;
    }
    QMetaObject::invokeMethod(m_player,
                              [p = m_player, path = info.absoluteFilePath()] { p->play(path); });
}
