#include "perf/IndicatorPicture.h"

#include <algorithm>

namespace {

struct Glyph {
    char letter;
    quint8 rows[5];
};

// 3 x 5 capitals for the bar labels DSK, CPU, MEM and PF.
constexpr Glyph kGlyphs[] = {
    {'C', {0b011, 0b100, 0b100, 0b100, 0b011}}, {'D', {0b110, 0b101, 0b101, 0b101, 0b110}},
    {'E', {0b111, 0b100, 0b110, 0b100, 0b111}}, {'F', {0b111, 0b100, 0b110, 0b100, 0b100}},
    {'K', {0b101, 0b101, 0b110, 0b101, 0b101}}, {'M', {0b101, 0b111, 0b111, 0b101, 0b101}},
    {'P', {0b110, 0b101, 0b110, 0b100, 0b100}}, {'S', {0b011, 0b100, 0b010, 0b001, 0b110}},
    {'U', {0b101, 0b101, 0b101, 0b101, 0b111}},
};

constexpr quint8 kBlank[5] = {0, 0, 0, 0, 0};

} // namespace

const quint8* IndicatorPicture::glyph(QChar letter)
{
    for (const Glyph& g : kGlyphs) {
        if (QChar(g.letter) == letter.toUpper())
            return g.rows;
    }
    return kBlank;
}

QRgb IndicatorPicture::segmentColour(int index)
{
    if (index < 5)
        return qRgb(0, 255, 0);
    if (index < 8)
        return qRgb(255, 255, 0);
    return qRgb(255, 0, 0);
}

int IndicatorPicture::widthForLevel(int level)
{
    const int k = std::clamp(level, 0, 100);
    return LabelWidth + k * 8 / 25;
}

QImage IndicatorPicture::make(const QString& label)
{
    QImage image(Width, Height, QImage::Format_RGB32);
    image.fill(Qt::black);

    // Letters 3 wide with one blank column between them, set right against column 11.
    const QString text = label.left(3);
    const int textWidth = int(text.size()) * 4 - 1;
    int left = LabelWidth - textWidth;
    for (QChar c : text) {
        const quint8* rows = glyph(c);
        for (int y = 0; y < 5; ++y) {
            for (int x = 0; x < 3; ++x) {
                if (rows[y] & (0b100 >> x))
                    image.setPixel(left + x, 1 + y, labelColour());
            }
        }
        left += 4;
    }

    for (int s = 0; s < SegmentCount; ++s) {
        for (int y = 1; y <= 5; ++y) {
            image.setPixel(segmentLeft(s), y, segmentColour(s));
            image.setPixel(segmentLeft(s) + 1, y, segmentColour(s));
        }
    }
    return image;
}
