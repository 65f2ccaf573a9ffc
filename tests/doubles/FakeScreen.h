#pragma once

#include "ports/IScreen.h"

class FakeScreen : public IScreen {
public:
    int width() const override { return w; }
    int height() const override { return h; }
    int w = 1920, h = 1080;
};
