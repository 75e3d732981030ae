#include "browser/Pictures.h"

#include "info/ProductPicture.h"

#include <QApplication>
#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QStyle>
#include <QStyleOption>
#include <QtMath>

namespace {

class DrawnIconEngine : public QIconEngine
{
public:
    DrawnIconEngine(int size, std::function<QPixmap(int)> draw)
        : m_size(size)
        , m_draw(std::move(draw))
    { }

    QIconEngine *clone() const override { return new DrawnIconEngine(*this); }
    QString key() const override { return QStringLiteral("DrawnIconEngine"); }

    QSize actualSize(const QSize &size, QIcon::Mode, QIcon::State) override
    {
        return QSize(m_size, m_size).boundedTo(size);
    }

    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override
    {
        return {QSize(m_size, m_size)};
    }

    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State) override
    {
        if (m_picture.isNull() && m_draw)
            m_picture = m_draw(m_size);
        QPixmap pm = m_picture;
        if (pm.isNull())
            return pm;
        const QSize fit = actualSize(size, mode, QIcon::Off);
        if (fit != pm.size() && !fit.isEmpty())
            pm = pm.scaled(fit, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        if (mode != QIcon::Normal) {
            QStyleOption option;
            option.palette = QGuiApplication::palette();
            pm = QApplication::style()->generatedIconPixmap(mode, pm, &option);
        }
        return pm;
    }

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override
    {
        const QPixmap pm = pixmap(rect.size(), mode, state);
        if (pm.isNull())
            return;
        // Centred, like any other icon that is smaller than its place.
        const QRect target(
            rect.topLeft()
                + QPoint((rect.width() - pm.width()) / 2, (rect.height() - pm.height()) / 2),
            pm.size());
        painter->drawPixmap(target, pm);
    }

private:
    int m_size;
    std::function<QPixmap(int)> m_draw;
    QPixmap m_picture;
};

const QColor Ink(0x1f, 0x4e, 0x8c);
const QColor Accent(0xe0, 0x8a, 0x1e);

QPixmap Blank(int size)
{
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    return pm;
}

void Arrow(QPainter &p, int s, bool left)
{
    QPainterPath path;
    const double m = s * 0.18;
    if (left) {
        path.moveTo(m, s / 2.0);
        path.lineTo(s / 2.0, m);
        path.lineTo(s / 2.0, s * 0.36);
        path.lineTo(s - m, s * 0.36);
        path.lineTo(s - m, s * 0.64);
        path.lineTo(s / 2.0, s * 0.64);
        path.lineTo(s / 2.0, s - m);
    } else {
        path.moveTo(s - m, s / 2.0);
        path.lineTo(s / 2.0, m);
        path.lineTo(s / 2.0, s * 0.36);
        path.lineTo(m, s * 0.36);
        path.lineTo(m, s * 0.64);
        path.lineTo(s / 2.0, s * 0.64);
        path.lineTo(s / 2.0, s - m);
    }
    path.closeSubpath();
    p.fillPath(path, Ink);
}

void House(QPainter &p, int s, int extra)
{
    QPainterPath roof;
    roof.moveTo(s * 0.1, s * 0.5);
    roof.lineTo(s * 0.5, s * 0.12);
    roof.lineTo(s * 0.9, s * 0.5);
    roof.closeSubpath();
    p.fillPath(roof, Ink);
    p.fillRect(QRectF(s * 0.22, s * 0.48, s * 0.56, s * 0.4), Ink);
    p.fillRect(QRectF(s * 0.43, s * 0.62, s * 0.14, s * 0.26), Qt::white);
    if (extra > 0) {
        p.setPen(Accent);
        QFont f = p.font();
        f.setPixelSize(qMax(6, s / 2));
        f.setBold(true);
        p.setFont(f);
        p.drawText(QRectF(s * 0.5, 0, s * 0.5, s * 0.5), Qt::AlignCenter, QString::number(extra));
    }
}

} // namespace

QPixmap DrawActivityPicture(int frame, int size)
{
    if (frame <= 0)
        return DrawLogo(size);
    // Four frames of a dot circling the globe, a quarter turn each.
    QPixmap pm = DrawLogo(size);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const double angle = (frame - 1) * M_PI / 2 - M_PI / 2;
    const double r = size * 0.36;
    const QPointF c(size / 2.0 + r * qCos(angle), size / 2.0 + r * qSin(angle));
    p.setPen(Qt::NoPen);
    p.setBrush(Accent);
    p.drawEllipse(c, size * 0.16, size * 0.16);
    return pm;
}

QPixmap DrawToolbarPicture(const QString &key, int s)
{
    QPixmap pm = Blank(s);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Ink, qMax(1.5, s / 12.0)));
    if (key == QLatin1String("Back")) {
        Arrow(p, s, true);
    } else if (key == QLatin1String("Forward")) {
        Arrow(p, s, false);
    } else if (key == QLatin1String("Stop")) {
        p.setBrush(QColor(0xc0, 0x30, 0x30));
        p.setPen(Qt::NoPen);
        p.drawEllipse(QRectF(s * 0.1, s * 0.1, s * 0.8, s * 0.8));
        p.setPen(QPen(Qt::white, qMax(1.5, s / 8.0)));
        p.drawLine(QPointF(s * 0.33, s * 0.33), QPointF(s * 0.67, s * 0.67));
        p.drawLine(QPointF(s * 0.67, s * 0.33), QPointF(s * 0.33, s * 0.67));
    } else if (key == QLatin1String("Refresh")) {
        p.drawArc(QRectF(s * 0.18, s * 0.18, s * 0.64, s * 0.64), 60 * 16, 290 * 16);
        QPainterPath head;
        head.moveTo(s * 0.62, s * 0.08);
        head.lineTo(s * 0.9, s * 0.22);
        head.lineTo(s * 0.62, s * 0.38);
        head.closeSubpath();
        p.fillPath(head, Ink);
    } else if (key == QLatin1String("Home")) {
        House(p, s, 0);
    } else if (key == QLatin1String("Home2")) {
        House(p, s, 2);
    } else if (key == QLatin1String("Home3")) {
        House(p, s, 3);
    } else if (key == QLatin1String("Add") || key == QLatin1String("Favorites")) {
        QPainterPath star;
        for (int i = 0; i < 10; ++i) {
            const double r = (i % 2 == 0) ? s * 0.45 : s * 0.2;
            const double a = -M_PI / 2 + i * M_PI / 5;
            const QPointF pt(s / 2.0 + r * qCos(a), s / 2.0 + r * qSin(a));
            i == 0 ? star.moveTo(pt) : star.lineTo(pt);
        }
        star.closeSubpath();
        p.fillPath(star, Accent);
        if (key == QLatin1String("Add")) {
            p.setPen(QPen(Ink, qMax(1.5, s / 8.0)));
            p.drawLine(QPointF(s * 0.75, s * 0.6), QPointF(s * 0.75, s * 0.95));
            p.drawLine(QPointF(s * 0.58, s * 0.78), QPointF(s * 0.92, s * 0.78));
        }
    } else if (key == QLatin1String("Edit")) {
        p.drawLine(QPointF(s * 0.2, s * 0.8), QPointF(s * 0.8, s * 0.2));
        p.drawLine(QPointF(s * 0.15, s * 0.9), QPointF(s * 0.3, s * 0.85));
    } else if (key == QLatin1String("Search")) {
        p.drawEllipse(QRectF(s * 0.15, s * 0.15, s * 0.45, s * 0.45));
        p.setPen(QPen(Ink, qMax(2.0, s / 7.0)));
        p.drawLine(QPointF(s * 0.55, s * 0.55), QPointF(s * 0.85, s * 0.85));
    } else if (key == QLatin1String("Print")) {
        p.drawRect(QRectF(s * 0.3, s * 0.12, s * 0.4, s * 0.25));
        p.setBrush(Ink);
        p.drawRect(QRectF(s * 0.12, s * 0.37, s * 0.76, s * 0.33));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(s * 0.3, s * 0.6, s * 0.4, s * 0.28));
    } else if (key == QLatin1String("IP") || key == QLatin1String("Full")
               || key == QLatin1String("View") || key == QLatin1String("Open")) {
        QFont f = p.font();
        f.setPixelSize(qMax(6, s * 5 / 12));
        f.setBold(true);
        p.setFont(f);
        p.drawRoundedRect(QRectF(s * 0.06, s * 0.18, s * 0.88, s * 0.64), 2, 2);
        const QString text = key == QLatin1String("IP") ? QStringLiteral("IP")
            : key == QLatin1String("Full")              ? QStringLiteral("[ ]")
            : key == QLatin1String("View")              ? QStringLiteral("=")
                                                        : QStringLiteral("...");
        p.drawText(QRectF(0, 0, s, s), Qt::AlignCenter, text);
    }
    return pm;
}

QIcon ToolbarIcon(const QString &key, int size)
{
    return DrawnIcon(size, [key](int s) { return DrawToolbarPicture(key, s); });
}

QIcon DrawnIcon(int size, std::function<QPixmap(int size)> draw)
{
    return QIcon(new DrawnIconEngine(size, std::move(draw)));
}
