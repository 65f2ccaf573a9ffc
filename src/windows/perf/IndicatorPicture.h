#pragma once

#include <QImage>
#include <QString>

// The picture of one indicator bar: a label of up to three letters and ten coloured segments,
// 44 x 8 pixels; a bar shows only its left-hand part.
class IndicatorPicture {
public:
    static constexpr int Width = 44;
    static constexpr int Height = 8;
    static constexpr int LabelWidth = 12;
    static constexpr int SegmentCount = 10;

    static QImage make(const QString& label);
    // The width that shows `level` percent: 12 (label only) to 44 (all segments).
    static int widthForLevel(int level);
    // Left column of segment `index` (0..9); each segment is two columns wide.
    static int segmentLeft(int index) { return 14 + index * 3; }
    static QRgb segmentColour(int index);
    static QRgb labelColour() { return qRgb(0, 255, 255); }
    // Rows of a 3 x 5 letter, three bits each, leftmost column in the highest bit; all zero
    // for a character without a glyph.
    static const quint8* glyph(QChar letter);
};
