#pragma once

#include <QImage>
#include <QString>

// The 3 x 5 pixel capitals of the bar labels, also used on the About picture.
class TinyFont {
public:
    // Five rows of three bits, top row first, leftmost pixel in the highest bit; all zero for
    // a character without a glyph (a blank).
    static const quint8* glyph(QChar letter);
    // Draws the text with one blank column between letters; returns the x after it.
    static int draw(QImage& image, int x, int y, const QString& text, QRgb colour);
};
