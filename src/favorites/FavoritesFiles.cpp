#include "favorites/FavoritesFiles.h"

#include "settings/TextFields.h"

#include <QFile>

QStringList ReadFavoritesFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList entries = ParseTextFields(file.readAll());
    if (entries.size() > MaxFavoritesLoaded)
        entries = entries.mid(0, MaxFavoritesLoaded);
    return entries;
}
