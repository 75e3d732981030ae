#include "app/ProgramIcon.h"

#include "info/ProductPicture.h"

QIcon ProgramIcon()
{
    QIcon icon;
    for (const int size : ProgramIconSizes)
        icon.addPixmap(DrawLogo(size));
    return icon;
}
