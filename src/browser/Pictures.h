#pragma once

#include "info/ProductPicture.h"

#include <QIcon>
#include <QPixmap>
#include <QString>

#include <functional>

// The program's own pictures, drawn rather than shipped.

// The activity indicator: frame 0 is the idle picture, 1 to 4 the frames shown while loading.
QPixmap DrawActivityPicture(int frame, int size);
// The icon of a toolbar key ("Back", "Home", "IP", ...), drawn when it is first shown.
QIcon ToolbarIcon(const QString &key, int size);
// The picture of a toolbar key, drawn now.
QPixmap DrawToolbarPicture(const QString &key, int size);
// An icon of size x size pixels drawn the first time it is shown rather than when it is made,
// so the start draws only what the first window shows. Disabled and selected looks come from
// the style, as for any icon made from one picture.
QIcon DrawnIcon(int size, std::function<QPixmap(int size)> draw);
