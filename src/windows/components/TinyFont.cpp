#include "windows/components/TinyFont.h"

namespace {

struct Glyph {
    char letter;
    quint8 rows[5];
};

constexpr Glyph kGlyphs[] = {
    {'C', {0b011, 0b100, 0b100, 0b100, 0b011}}, {'D', {0b110, 0b101, 0b101, 0b101, 0b110}},
    {'E', {0b111, 0b100, 0b110, 0b100, 0b111}}, {'F', {0b111, 0b100, 0b110, 0b100, 0b100}},
    {'K', {0b101, 0b101, 0b110, 0b101, 0b101}}, {'L', {0b100, 0b100, 0b100, 0b100, 0b111}},
    {'M', {0b101, 0b111, 0b111, 0b101, 0b101}}, {'O', {0b111, 0b101, 0b101, 0b101, 0b111}},
    {'P', {0b110, 0b101, 0b110, 0b100, 0b100}}, {'S', {0b011, 0b100, 0b010, 0b001, 0b110}},
    {'T', {0b111, 0b010, 0b010, 0b010, 0b010}}, {'U', {0b101, 0b101, 0b101, 0b101, 0b111}},
};

constexpr quint8 kBlank[5] = {0, 0, 0, 0, 0};

} // namespace

const quint8* TinyFont::glyph(QChar letter)
{
    for (const Glyph& g : kGlyphs) {
        if (QLatin1Char(g.letter) == letter.toUpper())
            return g.rows;
    }
    return kBlank;
}

int TinyFont::draw(QImage& image, int x, int y, const QString& text, QRgb colour)
{
    for (QChar c : text) {
        const quint8* rows = glyph(c);
        for (int row = 0; row < 5; ++row)
            for (int col = 0; col < 3; ++col)
                if (rows[row] & (0b100 >> col))
                    image.setPixel(x + col, y + row, colour);
        x += 4;
    }
    return x;
}
