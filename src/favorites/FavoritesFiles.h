#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

inline const char *const FavoritesFileName = "\\Favorites"; // the addresses
inline const char *const FavNameFileName = "\\FavName"; // the names, position for position
// Held by whoever writes the two files, so two instances never interleave their changes.
inline const char *const FavoritesLockName = "\\Favorites.lock";

// A load takes at most this many entries of a file; the rest stays in the file untouched.
constexpr int MaxFavoritesLoaded = 1001;

// How long a writer waits for another instance to finish with the files.
constexpr int FavoritesLockWaitMs = 10000;

// Every entry of a favorites file's bytes, in file order, without the load limit.
QStringList ParseFavorites(const QByteArray &bytes);

// The file's bytes for these entries: one quoted entry per line, CR LF. A line break inside an
// entry becomes a blank, so one entry never turns into two and the files stay in step.
QByteArray SerializeFavorites(const QStringList &entries);

// The entries of a favorites file, in file order, at most MaxFavoritesLoaded of them; empty when
// the file is missing or unreadable. Never changes the file.
QStringList ReadFavoritesFile(const QString &path);

// What became of a change to the two files.
struct FavoritesWriteResult
{
    enum Outcome {
        Written, // both files hold the change
        NothingToWrite, // a page without an address: no file touched
        FileFailed, // a file could not be written; neither file has changed
        Busy, // another instance held the files too long; neither file has changed
    };
    Outcome outcome = Written;
    QString failedPath; // with FileFailed: the file that could not be written

    bool ok() const { return outcome == Written || outcome == NothingToWrite; }
};

// Add Current Page: appends the address to "\Favorites" and the name (also when empty) to
// "\FavName", both or neither. An empty address adds nothing.
FavoritesWriteResult AddFavorite(const QString &folder, const QString &address, const QString &name,
                                 int lockWaitMs = FavoritesLockWaitMs);

// What the favorites editor works on: the entries it was shown of each file.
struct FavoritesForEdit
{
    QStringList addresses;
    QStringList names;
};

// Both files as the editor shows them, at most MaxFavoritesLoaded entries each, read while no
// other instance is halfway through a change.
FavoritesForEdit LoadFavoritesForEdit(const QString &folder, int lockWaitMs = FavoritesLockWaitMs);

// The editor's save: rewrites both files whole with the edited lists, both or neither.
// addressesShown and namesShown are how many entries of each file the editor was shown (the
// sizes of the lists it loaded, or of the lists it last saved). Whatever a file holds beyond
// that many entries at the moment of saving was never in the editor: entries past the load
// limit, and favorites another instance added while the editor was open. Those are kept, in
// their order, after the edited entries.
FavoritesWriteResult SaveFavorites(const QString &folder, const QStringList &addresses,
                                   const QStringList &names, int addressesShown, int namesShown,
                                   int lockWaitMs = FavoritesLockWaitMs);

// What to tell the user when Add Current Page could not write; empty when it went well.
QString AddFavoriteFailureText(const FavoritesWriteResult &result);
