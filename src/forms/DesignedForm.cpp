#include "forms/DesignedForm.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <cmath>

namespace {

const QScreen *ScreenOf(const QWidget *widget)
{
    const QScreen *s = widget ? widget->screen() : nullptr;
    return s ? s : QGuiApplication::primaryScreen();
}

} // namespace

double TwipsPerPixel(double dotsPerInch)
{
    return 1440.0 / (dotsPerInch > 0 ? dotsPerInch : 96.0);
}

double TwipsPerPixelX(const QWidget *widget)
{
    const QScreen *s = ScreenOf(widget);
    return TwipsPerPixel(s ? s->logicalDotsPerInchX() : 96.0);
}

double TwipsPerPixelY(const QWidget *widget)
{
    const QScreen *s = ScreenOf(widget);
    return TwipsPerPixel(s ? s->logicalDotsPerInchY() : 96.0);
}

int PixelsForTwips(double twips, double twipsPerPixel, int minimum, int maximum)
{
    const double pixels = twips / twipsPerPixel;
    if (std::isnan(pixels))
        return qBound(minimum, 0, maximum);
    // Bounded while still a double, so the conversion to int is always defined.
    return int(std::lround(qBound(double(minimum), pixels, double(maximum))));
}

QFont FitFontSize(QFont font, qreal largest, qreal smallest, qreal step,
                  const std::function<bool(const QFont &)> &fits)
{
    // A font sized in pixels tells no point size (-1): it is left as it is.
    if (largest <= 0)
        return font;
    for (qreal size = largest;; size -= step) {
        font.setPointSizeF(size);
        if (size <= smallest || fits(font))
            return font;
    }
}

void BringToFront(QWidget *window)
{
    window->show();
    window->raise();
    window->activateWindow();
}
