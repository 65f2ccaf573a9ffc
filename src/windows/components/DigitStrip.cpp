#include "windows/components/DigitStrip.h"

#include <QColor>

#include <cstdlib>

namespace {

// Glyph box inside a cell: columns 2..13, rows 2..18. Segments are three pixels thick and run
// along the centre lines below; both ends come to a 45-degree point, so neighbouring segments
// meet at mitred joints with a one-pixel notch between them.
constexpr int LeftCentre = 3;
constexpr int RightCentre = 12;
constexpr int TopCentre = 3;
constexpr int MiddleCentre = 10;
constexpr int BottomCentre = 17;
constexpr int HalfThick = 1;

// A pointed horizontal bar: its centre row runs from `from` to `to`, each row further out is
// one pixel shorter at both ends.
bool horizontalBar(int x, int y, int row, int from, int to)
{
    const int d = std::abs(y - row);
    return d <= HalfThick && x >= from + d && x <= to - d;
}

bool verticalBar(int x, int y, int column, int from, int to)
{
    const int d = std::abs(x - column);
    return d <= HalfThick && y >= from + d && y <= to - d;
}

} // namespace

int DigitStrip::segmentsOf(int digit)
{
    static const int table[Cells] = {
        A | B | C | D | E | F,     // 0
        B | C,                     // 1
        A | B | D | E | G,         // 2
        A | B | C | D | G,         // 3
        B | C | F | G,             // 4
        A | C | D | F | G,         // 5
        A | C | D | E | F | G,     // 6
        A | B | C,                 // 7
        A | B | C | D | E | F | G, // 8
        A | B | C | D | F | G,     // 9
    };
    return digit >= 0 && digit < Cells ? table[digit] : 0;
}

bool DigitStrip::segmentCovers(Segment segment, int x, int y)
{
    // Bars stop one pixel short of the neighbouring centre line, leaving the notch.
    constexpr int hFrom = LeftCentre + 1;
    constexpr int hTo = RightCentre - 1;
    switch (segment) {
    case A:
        return horizontalBar(x, y, TopCentre, hFrom, hTo);
    case G:
        return horizontalBar(x, y, MiddleCentre, hFrom, hTo);
    case D:
        return horizontalBar(x, y, BottomCentre, hFrom, hTo);
    case F:
        return verticalBar(x, y, LeftCentre, TopCentre + 1, MiddleCentre - 1);
    case E:
        return verticalBar(x, y, LeftCentre, MiddleCentre + 1, BottomCentre - 1);
    case B:
        return verticalBar(x, y, RightCentre, TopCentre + 1, MiddleCentre - 1);
    case C:
        return verticalBar(x, y, RightCentre, MiddleCentre + 1, BottomCentre - 1);
    }
    return false;
}

QImage DigitStrip::make()
{
    QImage strip(CellWidth * Cells, CellHeight, QImage::Format_RGB32);
    strip.fill(Qt::black);
    const QRgb cyan = qRgb(0, 255, 255);
    for (int digit = 0; digit < Cells; ++digit) {
        const int lit = segmentsOf(digit);
        for (int y = 0; y < CellHeight; ++y) {
            for (int x = 0; x < CellWidth; ++x) {
                for (int s = A; s <= G; s <<= 1) {
                    if ((lit & s) && segmentCovers(static_cast<Segment>(s), x, y)) {
                        strip.setPixel(digit * CellWidth + x, y, cyan);
                        break;
                    }
                }
            }
        }
    }
    return strip;
}
