#pragma once

#include "platform/IClock.h"
#include "platform/ILauncher.h"
#include "platform/ISound.h"

#include <QStringList>

// Records what the scheduler asked of the sound; never plays anything.
class FakeSound : public ISound {
public:
    void beep() override { calls << QStringLiteral("beep"); }
    void playAsync(const QString& file) override { calls << QStringLiteral("play ") + file; }
    QStringList calls;
};

// Records programs instead of starting them.
class FakeLauncher : public ILauncher {
public:
    bool open(const QString& file, const QString& parameters, const QString& directory,
              int show) override
    {
        calls << QStringLiteral("%1|%2|%3|%4").arg(file, parameters, directory).arg(show);
        return result;
    }
    bool result = true;
    QStringList calls;
};

// A clock whose sleeps only add up.
class FakeClock : public IClock {
public:
    QDateTime now() const override { return QDateTime(QDate(2000, 1, 5), QTime(9, 5)); }
    quint32 tickCount() const override { return m_ticks; }
    void sleepMs(int ms) override
    {
        slept += ms;
        m_ticks += static_cast<quint32>(ms);
    }
    bool setSystemTimeUtc(const QDateTime&) override { return false; }
    int slept = 0;

private:
    quint32 m_ticks = 0;
};
