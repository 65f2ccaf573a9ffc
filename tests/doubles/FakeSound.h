#pragma once

#include "platform/ISound.h"

#include <QStringList>

class FakeSound : public ISound {
public:
    void beep() override { events << QStringLiteral("beep"); }
    void playAsync(const QString& file) override { events << QStringLiteral("play ") + file; }
    QStringList events;
};
