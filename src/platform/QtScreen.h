#pragma once

#include "platform/IScreen.h"

class QtScreen : public IScreen {
public:
    int width() const override;
    int height() const override;
};
