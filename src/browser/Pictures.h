#pragma once

#include "info/ProductPicture.h"

#include <QIcon>
#include <QPixmap>
#include <QString>

// The program's own pictures, drawn rather than shipped.

// The activity indicator: frame 0 is the idle picture, 1 to 4 the frames shown while loading.
QPixmap DrawActivityPicture(int frame, int size);
// The icon of a toolbar key ("Back", "Home", "IP", ...).
QIcon ToolbarIcon(const QString &key, int size);
