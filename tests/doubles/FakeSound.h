#pragma once

#include "ports/ISound.h"

#include <QStringList>

class FakeSound : public ISound {
public:
    void beep() override { calls << QStringLiteral("beep"); }
    void playAsync(const QString& file) override { calls << QStringLiteral("play ") + file; }
    QStringList calls;
};
