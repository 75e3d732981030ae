#pragma once

#include <QString>

// The zoom steps a page goes through with Ctrl+plus, Ctrl+minus and the wheel, as percentages.
inline constexpr int ZoomSteps[]
    = {25, 33, 50, 67, 75, 80, 90, 100, 110, 125, 150, 175, 200, 250, 300, 400, 500};

// The factor steps away from current (in when positive); a factor between two steps goes to the
// nearer one first in that direction. Held within the first and the last step.
double NextZoom(double current, int steps);

// What the status line shows of a factor: nothing at 100%, else "Zoom 125%".
QString ZoomText(double factor);
