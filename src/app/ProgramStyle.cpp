#include "app/ProgramStyle.h"

#include "browser/Pictures.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>

namespace {

// Two chevrons pointing the way the hidden keys are.
QPixmap DrawMoreKeys(int s, bool down)
{
    QPixmap pm(s, s);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QGuiApplication::palette().color(QPalette::WindowText), qMax(1.0, s / 10.0)));
    if (down) {
        p.translate(s, 0);
        p.rotate(90);
    }
    for (const double x : {s * 0.22, s * 0.52}) {
        QPainterPath chevron;
        chevron.moveTo(x, s * 0.25);
        chevron.lineTo(x + s * 0.25, s * 0.5);
        chevron.lineTo(x, s * 0.75);
        p.drawPath(chevron);
    }
    return pm;
}

} // namespace

QIcon ProgramStyle::standardIcon(StandardPixmap icon, const QStyleOption *option,
                                 const QWidget *widget) const
{
    if (icon == SP_ToolBarHorizontalExtensionButton || icon == SP_ToolBarVerticalExtensionButton) {
        const bool down = icon == SP_ToolBarVerticalExtensionButton;
        return DrawnIcon(16, [down](int s) { return DrawMoreKeys(s, down); });
    }
    return QProxyStyle::standardIcon(icon, option, widget);
}
