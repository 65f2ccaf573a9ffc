#pragma once

#include <QImage>

// The clock face's glyph strip: ten 16 x 21 cells holding the seven-segment digits 0 to 9,
// cyan on black, drawn pixel by pixel so the edges stay crisp at any scale.
class DigitStrip {
public:
    static constexpr int CellWidth = 16;
    static constexpr int CellHeight = 21;
    static constexpr int Cells = 10;

    // Segments in the usual order: a top, b upper right, c lower right, d bottom,
    // e lower left, f upper left, g middle.
    enum Segment { A = 1, B = 2, C = 4, D = 8, E = 16, F = 32, G = 64 };

    static QImage make();
    // Segments lit for a digit 0..9.
    static int segmentsOf(int digit);
    // True when the pixel (x, y) of a cell belongs to the segment.
    static bool segmentCovers(Segment segment, int x, int y);
};
