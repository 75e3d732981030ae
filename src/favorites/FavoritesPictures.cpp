#include "favorites/FavoritesPictures.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QtMath>

namespace {

const QColor Ink(0x1f, 0x4e, 0x8c);
const QColor Accent(0xe0, 0x8a, 0x1e);
const QColor Danger(0xc0, 0x30, 0x30);

// A broad arrow along the vertical middle, its head at the top or the bottom.
void VerticalArrow(QPainter &p, double s, bool up)
{
    const double m = s * 0.14;
    const double head = up ? m : s - m;
    const double tail = up ? s - m : m;
    const double shoulder = s / 2.0;
    QPainterPath path;
    path.moveTo(s / 2.0, head);
    path.lineTo(s - m, shoulder);
    path.lineTo(s * 0.64, shoulder);
    path.lineTo(s * 0.64, tail);
    path.lineTo(s * 0.36, tail);
    path.lineTo(s * 0.36, shoulder);
    path.lineTo(m, shoulder);
    path.closeSubpath();
    p.fillPath(path, Ink);
}

void Star(QPainter &p, double s, double scale, QPointF centre)
{
    QPainterPath star;
    for (int i = 0; i < 10; ++i) {
        const double r = (i % 2 == 0) ? s * 0.45 * scale : s * 0.2 * scale;
        const double a = -M_PI / 2 + i * M_PI / 5;
        const QPointF pt(centre.x() + r * qCos(a), centre.y() + r * qSin(a));
        i == 0 ? star.moveTo(pt) : star.lineTo(pt);
    }
    star.closeSubpath();
    p.fillPath(star, Accent);
}

} // namespace

QIcon EditorButtonIcon(const QString &key, int size)
{
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const double s = size;
    const double stroke = qMax(2.0, s / 7.0);

    if (key == QLatin1String("Up") || key == QLatin1String("Down")) {
        VerticalArrow(p, s, key == QLatin1String("Up"));
    } else if (key == QLatin1String("Delete")) {
        p.setPen(QPen(Danger, stroke, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(s * 0.22, s * 0.22), QPointF(s * 0.78, s * 0.78));
        p.drawLine(QPointF(s * 0.78, s * 0.22), QPointF(s * 0.22, s * 0.78));
    } else if (key == QLatin1String("Add")) {
        Star(p, s, 1.0, QPointF(s / 2.0, s / 2.0));
        p.setPen(QPen(Ink, qMax(1.5, s / 8.0)));
        p.drawLine(QPointF(s * 0.75, s * 0.6), QPointF(s * 0.75, s * 0.95));
        p.drawLine(QPointF(s * 0.58, s * 0.78), QPointF(s * 0.92, s * 0.78));
    } else if (key == QLatin1String("Update")) {
        // A star being written over: a pencil across it.
        Star(p, s, 0.8, QPointF(s * 0.42, s * 0.45));
        p.translate(s / 2.0, s / 2.0);
        p.rotate(-45);
        const double len = s * 0.72;
        const double w = qMax(3.0, s * 0.2);
        p.setPen(QPen(Ink, qMax(1.0, s / 16.0)));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(-len / 2.0 + w, -w / 2.0, len - w, w));
        QPainterPath tip;
        tip.moveTo(-len / 2.0, 0);
        tip.lineTo(-len / 2.0 + w, -w / 2.0);
        tip.lineTo(-len / 2.0 + w, w / 2.0);
        tip.closeSubpath();
        p.fillPath(tip, Ink);
    }
    return QIcon(pm);
}
