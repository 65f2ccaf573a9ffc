#include "windows/ui/AboutPicture.h"

#include "windows/components/TinyFont.h"

#include <QLineF>
#include <QPainter>
#include <QPainterPath>

#include <array>
#include <cmath>

namespace {

const QColor kCyan(0, 255, 255);
const QColor kGhost(0, 34, 38); // unlit segments, as on a real display
const QColor kFrame(0, 90, 96);

// Fourteen-segment cells: a b c d e f g1 g2 h i j k l m (h, j, k, m are the diagonals,
// i and l the middle verticals).
enum Segment { A, B, C, D, E, F, G1, G2, H, I, J, K, L, M, SegmentCount };

quint16 bits(std::initializer_list<Segment> segments)
{
    quint16 mask = 0;
    for (Segment s : segments)
        mask |= quint16(1u << s);
    return mask;
}

quint16 glyph(QChar c)
{
    switch (c.toUpper().unicode()) {
    case 'H':
        return bits({B, C, E, F, G1, G2});
    case 'O':
        return bits({A, B, C, D, E, F});
    case 'R':
        return bits({A, B, E, F, G1, G2, M});
    case 'L':
        return bits({D, E, F});
    case 'U':
        return bits({B, C, D, E, F});
    case 'X':
        return bits({H, J, K, M});
    default:
        return 0;
    }
}

// One cell of `w` x `h` at `origin`; segments are strokes with a gap at each end.
void drawCell(QPainter& p, QPointF origin, qreal w, qreal h, quint16 lit)
{
    const qreal x0 = 1.5, x1 = w - 1.5, xc = w / 2, y0 = 1.5, ym = h / 2, y1 = h - 1.5;
    const std::array<QLineF, SegmentCount> lines = {
        QLineF(x0, y0, x1, y0), QLineF(x1, y0, x1, ym), QLineF(x1, ym, x1, y1),
        QLineF(x0, y1, x1, y1), QLineF(x0, ym, x0, y1), QLineF(x0, y0, x0, ym),
        QLineF(x0, ym, xc, ym), QLineF(xc, ym, x1, ym), QLineF(x0, y0, xc, ym),
        QLineF(xc, y0, xc, ym), QLineF(x1, y0, xc, ym), QLineF(x0, y1, xc, ym),
        QLineF(xc, ym, xc, y1), QLineF(x1, y1, xc, ym)};
    for (int pass = 0; pass < 2; ++pass) {
        p.setPen(QPen(pass == 0 ? kGhost : kCyan, 2.4, Qt::SolidLine, Qt::RoundCap));
        for (int s = 0; s < SegmentCount; ++s) {
            const bool on = lit & (1u << s);
            if (on != (pass == 1))
                continue;
            QLineF line = lines[s].translated(origin);
            const qreal gap = (s >= H && s != I && s != L) ? 2.6 : 1.9;
            const QPointF step = (line.p2() - line.p1()) / line.length() * gap;
            p.drawLine(line.p1() + step, line.p2() - step);
        }
    }
}

void drawClockFace(QPainter& p, QPointF centre, qreal radius)
{
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kCyan, 2.0));
    p.drawEllipse(centre, radius, radius);
    for (int i = 0; i < 12; ++i) {
        const qreal a = i * M_PI / 6.0;
        const QPointF dir(std::sin(a), -std::cos(a));
        const bool quarter = i % 3 == 0;
        p.setPen(QPen(quarter ? kCyan : kFrame, quarter ? 2.0 : 1.5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(centre + dir * (radius - (quarter ? 7.0 : 5.0)), centre + dir * (radius - 3.5));
    }
    // Ten past ten, the hands framing the centre.
    auto hand = [&](qreal minutes, qreal length, qreal width) {
        const qreal a = minutes / 60.0 * 2.0 * M_PI;
        p.setPen(QPen(kCyan, width, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(centre, centre + QPointF(std::sin(a), -std::cos(a)) * length);
    };
    hand(50.8, radius * 0.52, 3.0);
    hand(10.0, radius * 0.78, 2.0);
    p.setPen(Qt::NoPen);
    p.setBrush(kCyan);
    p.drawEllipse(centre, 2.6, 2.6);
}

} // namespace

QImage AboutPicture::make()
{
    QImage image(Width, Height, QImage::Format_RGB32);
    image.fill(Qt::black);
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(kFrame, 1.0));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(QRectF(0.5, 0.5, Width - 1, Height - 1), 4, 4);

        drawClockFace(p, QPointF(33, 32), 24);

        const QString name = QStringLiteral("HOROLUX");
        const qreal cellW = 16, cellH = 30, pitch = 20.5;
        qreal x = 66;
        // A slight slant, as the digits of a desk clock have.
        p.setTransform(QTransform(1, 0, -0.09, 1, 0, 0) * QTransform::fromTranslate(3, 0));
        for (QChar c : name) {
            drawCell(p, QPointF(x, 9), cellW, cellH, glyph(c));
            x += pitch;
        }
    }
    TinyFont::draw(image, 67, 49, QStringLiteral("DESKTOP CLOCK"), kCyan.rgb());
    // The colours of the clock's bars, as a small flourish after the words.
    const QColor segments[] = {QColor(0, 255, 0),   QColor(0, 255, 0),   QColor(0, 255, 0),
                               QColor(0, 255, 0),   QColor(0, 255, 0),   QColor(255, 255, 0),
                               QColor(255, 255, 0), QColor(255, 255, 0), QColor(255, 0, 0),
                               QColor(255, 0, 0)};
    for (int i = 0; i < 10; ++i) {
        for (int row = 0; row < 5; ++row) {
            image.setPixelColor(178 + i * 3, 49 + row, segments[i]);
            image.setPixelColor(179 + i * 3, 49 + row, segments[i]);
        }
    }
    return image;
}
