#include "windows/perf/IndicatorPicture.h"

#include "windows/components/TinyFont.h"

#include <algorithm>

const quint8* IndicatorPicture::glyph(QChar letter)
{
    return TinyFont::glyph(letter);
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
    TinyFont::draw(image, LabelWidth - textWidth, 1, text, labelColour());

    for (int s = 0; s < SegmentCount; ++s) {
        for (int y = 1; y <= 5; ++y) {
            image.setPixel(segmentLeft(s), y, segmentColour(s));
            image.setPixel(segmentLeft(s) + 1, y, segmentColour(s));
        }
    }
    return image;
}
