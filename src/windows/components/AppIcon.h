#pragma once

#include <QIcon>

// The program's icon, drawn by code: a cyan clock face on black, in 16, 32, 48 and 64 pixels.
class AppIcon {
public:
    static QIcon make();
    // One size of it (square).
    static QPixmap pixmap(int size);
};
