#pragma once

#include <QString>
#include <QStringList>

inline const char *const FavoritesFileName = "\\Favorites"; // the addresses
inline const char *const FavNameFileName = "\\FavName"; // the names, position for position

// A load takes at most this many entries of a file; the rest stays in the file untouched.
constexpr int MaxFavoritesLoaded = 1001;

// The entries of a favorites file, in file order; empty when the file is missing or unreadable.
QStringList ReadFavoritesFile(const QString &path);
