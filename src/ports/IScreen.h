#pragma once

// Size of the primary screen in pixels.
class IScreen {
public:
    virtual ~IScreen() = default;
    virtual int width() const = 0;
    virtual int height() const = 0;
};
