#pragma once

#include "favorites/FavoriteText.h"

#include <QByteArray>
#include <QByteArrayList>
#include <QString>
#include <QStringList>

// How the favorites files hold their entries, each file on its own; FavoritesFiles keeps the
// two in step.

// A load takes at most this many entries of a file; the rest stays in the file untouched.
constexpr int MaxFavoritesLoaded = 1001;

// Every entry of a favorites file's bytes, in file order, without the load limit; with from,
// those from that position on. A line that begins with a double quote is one entry, up to the
// line's last double quote; any other line is read as fields (an empty line as one empty
// entry). A long entry keeps its bytes in the file's bytes, shared.
FavoriteList ParseFavoriteEntries(const QByteArray &bytes, qsizetype from = 0);
// The same, as texts.
QStringList ParseFavorites(const QByteArray &bytes, qsizetype from = 0);

// The file's bytes for these entries: one quoted entry per line, CR LF; an entry read alone on
// its line is that line again, byte for byte. A line break inside an entry becomes a blank, so
// one entry never turns into two and the files stay in step. As pieces to write one after the
// other, the bytes of a long entry read from a file among them unchanged and uncopied.
QByteArrayList FavoritesFilePieces(const FavoriteList &entries);
QByteArray SerializeFavorites(const FavoriteList &entries);
QByteArray SerializeFavorites(const QStringList &entries);

// The entries of a favorites file, in file order, at most MaxFavoritesLoaded of them; empty when
// the file is missing or unreadable. Never changes the file.
FavoriteList ReadFavoriteEntries(const QString &path);
QStringList ReadFavoritesFile(const QString &path);

// What ReadFavoriteEntries takes, at most MaxFavoritesLoaded of them, from the file
// FavoritesFilePieces makes of these entries.
FavoriteList ReadBackFavorites(const FavoriteList &entries);
