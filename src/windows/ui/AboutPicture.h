#pragma once

#include <QImage>

// The product picture of the About box, drawn by code: a clock face and the name in
// segmented lettering, cyan on black like the clock itself.
class AboutPicture {
public:
    static constexpr int Width = 216;
    static constexpr int Height = 64;

    static QImage make();
};
