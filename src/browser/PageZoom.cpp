#include "browser/PageZoom.h"

#include <cmath>
#include <iterator>

double NextZoom(double current, int steps)
{
    const int count = int(std::size(ZoomSteps));
    const double percent = std::isfinite(current) ? current * 100.0 : 100.0;
    // The step at or just past the current factor in the direction of travel counts as the first.
    int at = 0;
    if (steps > 0) {
        at = count - 1;
        for (int i = 0; i < count; ++i)
            if (ZoomSteps[i] > percent + 0.5) {
                at = i - 1;
                break;
            }
    } else {
        at = 0;
        for (int i = count - 1; i >= 0; --i)
            if (ZoomSteps[i] < percent - 0.5) {
                at = i + 1;
                break;
            }
    }
    const int to = qBound(0, at + steps, count - 1);
    return ZoomSteps[to] / 100.0;
}

QString ZoomText(double factor)
{
    const int percent = int(std::lround(factor * 100.0));
    return percent == 100 ? QString() : QStringLiteral("Zoom %1%").arg(percent);
}
