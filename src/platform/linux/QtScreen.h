#pragma once

#include "ports/IScreen.h"

class QtScreen : public IScreen {
public:
    int width() const override;
    int height() const override;
};
