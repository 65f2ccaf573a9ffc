#pragma once

#include "ports/ISound.h"

#include <QStringList>

class FakeSound : public ISound {
public:
    void beep() override { calls << "beep"; }
    void playAsync(const QString& file) override { calls << "play " + file; }
    QStringList calls;
};
