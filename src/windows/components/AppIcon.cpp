#include "windows/components/AppIcon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <cmath>

QPixmap AppIcon::pixmap(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    // Small sizes are drawn without smoothing so the lines stay one pixel sharp.
    p.setRenderHint(QPainter::Antialiasing, size > 16);
    const QColor cyan(0, 255, 255);
    const qreal s = size;

    QPainterPath plate;
    plate.addRoundedRect(QRectF(0, 0, s, s), s * 0.18, s * 0.18);
    p.fillPath(plate, Qt::black);

    const QPointF centre(s / 2.0, s / 2.0);
    const qreal radius = s * 0.40;
    const qreal ring = std::max<qreal>(1.0, s / 16.0);
    p.setPen(QPen(cyan, ring));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(centre, radius, radius);

    // Hour marks at 12, 3, 6 and 9; at 16 pixels they would only clutter the hands.
    const qreal markOuter = radius - ring;
    const qreal markInner = radius - std::max<qreal>(2.0, s * 0.10);
    for (int i = 0; i < (size > 16 ? 4 : 0); ++i) {
        const qreal a = i * M_PI / 2.0;
        const QPointF dir(std::sin(a), -std::cos(a));
        p.drawLine(centre + dir * markInner, centre + dir * markOuter);
    }

    // Hands at ten past ten.
    auto hand = [&](qreal minutes, qreal length, qreal width) {
        const qreal a = minutes / 60.0 * 2.0 * M_PI;
        p.setPen(QPen(cyan, width, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(centre, centre + QPointF(std::sin(a), -std::cos(a)) * length);
    };
    hand(50.5, radius * 0.55, std::max<qreal>(1.0, s / 12.0));
    hand(10.0, radius * 0.80, std::max<qreal>(1.0, s / 18.0));
    p.end();
    return QPixmap::fromImage(image);
}

QIcon AppIcon::make()
{
    QIcon icon;
    for (int size : {16, 32, 48, 64})
        icon.addPixmap(pixmap(size));
    return icon;
}
