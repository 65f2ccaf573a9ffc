#include "platform/linux/SoundPlayerProcess.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTimer>

#include <utility>

SoundPlayerProcess::SoundPlayerProcess(QStringList command, Limits limits, QObject* parent)
    : QObject(parent), m_command(std::move(command)), m_limits(limits), m_timer(new QTimer(this))
{
    m_timer->setSingleShot(true);
    connect(m_timer, &QTimer::timeout, this, &SoundPlayerProcess::timedOut);
}

SoundPlayerProcess::~SoundPlayerProcess()
{
    discard();
    // Reaped here rather than in QProcess's destructor, which complains about a live child.
    for (QProcess* process : findChildren<QProcess*>()) {
        process->kill();
        process->waitForFinished(1000);
    }
}

void SoundPlayerProcess::play(const QString& file)
{
    discard();
    m_output.clear();
    m_playing = false;
    m_timedOut = false;
    if (m_command.isEmpty()) {
        emit ended(false);
        return;
    }

    auto* process = new QProcess(this);
    m_process = process;
    process->setProgram(m_command.first());
    process->setArguments(m_command.mid(1) << file);
    process->setStandardInputFile(QProcess::nullDevice());
    // The player ends itself when its parent does and never plays past our limit, so it
    // cannot outlive a clock that dies without killing it.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOROLUX_PLAYER_PARENT"),
               QString::number(QCoreApplication::applicationPid()));
    env.insert(QStringLiteral("HOROLUX_PLAYER_LONGEST_MS"), QString::number(m_limits.longestMs));
    process->setProcessEnvironment(env);
    // The player's complaints belong in the clock's own error output.
    process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    connect(process, &QProcess::readyReadStandardOutput, this, &SoundPlayerProcess::readOutput);
    connect(process, &QProcess::finished, this, [this](int code, QProcess::ExitStatus status) {
        if (m_timedOut)
            finish(m_playing); // killed for overrunning: it was heard
        else
            finish(status == QProcess::NormalExit && code == 0);
    });
    connect(process, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        // No `finished` follows a program that never started.
        if (error == QProcess::FailedToStart)
            finish(false);
    });
    m_timer->start(m_limits.startLimitMs);
    process->start();
}

void SoundPlayerProcess::readOutput()
{
    m_output += m_process->readAllStandardOutput();
    qsizetype newline;
    while ((newline = m_output.indexOf('\n')) >= 0) {
        const QByteArray line = m_output.left(newline).trimmed();
        m_output.remove(0, newline + 1);
        if (m_playing || !line.startsWith("playing "))
            continue;
        bool ok = false;
        const qint64 lengthMs = line.mid(8).toLongLong(&ok);
        m_playing = true;
        const qint64 limit =
            ok && lengthMs >= 0 ? lengthMs + m_limits.endSlackMs : qint64(m_limits.longestMs);
        m_timer->start(int(qMin(limit, qint64(m_limits.longestMs))));
    }
}

void SoundPlayerProcess::timedOut()
{
    if (!m_process)
        return;
    m_timedOut = true;
    m_process->kill();
}

void SoundPlayerProcess::finish(bool played)
{
    if (!m_process)
        return;
    m_timer->stop();
    m_process->disconnect(this);
    m_process->deleteLater();
    m_process = nullptr;
    emit ended(played);
}

void SoundPlayerProcess::discard()
{
    m_timer->stop();
    if (!m_process)
        return;
    QProcess* process = std::exchange(m_process, nullptr);
    process->disconnect(this);
    if (process->state() == QProcess::NotRunning) {
        process->deleteLater();
        return;
    }
    // Killed at once; it is deleted once reaped, so deleting it never waits.
    connect(process, &QProcess::finished, process, &QObject::deleteLater);
    process->kill();
}
