#include "services/DesktopOpener.h"

#include <QDesktopServices>
#include <QUrl>

bool PlatformDesktopOpener::Open(const QString &path)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}
