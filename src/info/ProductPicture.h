#pragma once

#include <QPixmap>

// The maker's logo and product picture, size pixels square; drawn rather than shipped.
QPixmap DrawLogo(int size);
