#include "info/ProductPicture.h"

#include <QPainter>

QPixmap DrawLogo(int size)
{
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(0x1f, 0x4e, 0x8c));
    p.setPen(Qt::NoPen);
    p.drawEllipse(QRectF(1, 1, size - 2, size - 2));
    p.setPen(QPen(Qt::white, qMax(1.5, size / 10.0)));
    p.setBrush(Qt::NoBrush);
    const QRectF ring(size * 0.25, size * 0.25, size * 0.5, size * 0.5);
    p.drawEllipse(ring);
    p.drawLine(QPointF(size * 0.58, size * 0.58), QPointF(size * 0.78, size * 0.78));
    return pm;
}
