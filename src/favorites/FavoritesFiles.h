#pragma once

#include "favorites/FavoritesFormat.h"

#include <QByteArray>
#include <QByteArrayList>
#include <QString>
#include <QStringList>
#include <functional>

inline const char *const FavoritesFileName = "\\Favorites"; // the addresses
inline const char *const FavNameFileName = "\\FavName"; // the names, position for position
// Held by whoever writes the two files, so two instances never interleave their changes.
inline const char *const FavoritesLockName = "\\Favorites.lock";
// Present while a change replaces the two files; names the pair (see FavoritesFiles.cpp).
inline const char *const FavoritesJournalName = "\\Favorites.journal";
// The new content of a file, next to it, until it is moved into place.
inline const char *const FavoritesNextSuffix = ".new";

// How long a writer waits for another instance to finish with the files.
constexpr int FavoritesLockWaitMs = 10000;

// A lock file that names no holder (empty, damaged or unreadable: its holder ended before
// writing it) is taken over once it is this old. A live holder writes its details in the same
// moment it makes the file, so one that has named nobody for this long never will.
constexpr int SilentFavoritesLockMs = 300;

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

// The two files' entries, position for position, at most MaxFavoritesLoaded of each.
struct FavoritesPair
{
    FavoriteList addresses;
    FavoriteList names;
};
// What the favorites editor works on: the entries it was shown of each file.
using FavoritesForEdit = FavoritesPair;

// Both files as the main window shows them: the same change's state of each, never one file
// before a change and the other after it. Takes the lock only when a change is under way or
// was stopped midway (and then finishes it).
FavoritesPair ReadFavorites(const QString &folder, int lockWaitMs = FavoritesLockWaitMs);

// Both files as the editor shows them, read under the lock, after finishing a change that was
// stopped midway. A busy lock still lets the editor open.
FavoritesForEdit LoadFavoritesForEdit(const QString &folder, int lockWaitMs = FavoritesLockWaitMs);

// The editor's save: rewrites both files whole with the edited lists, both or neither.
// addressesShown and namesShown are how many entries of each file the editor was shown (the
// sizes of the lists it loaded, or of the lists it last saved). Whatever a file holds beyond
// that many entries at the moment of saving was never in the editor: entries past the load
// limit, and favorites another instance added while the editor was open. Those are kept, in
// their order, after the edited entries. With written, once both files are written, it holds
// what ReadFavorites reads from them, so the main window need not read them again (megabytes,
// for a damaged file).
FavoritesWriteResult SaveFavorites(const QString &folder, const FavoriteList &addresses,
                                   const FavoriteList &names, int addressesShown, int namesShown,
                                   int lockWaitMs = FavoritesLockWaitMs,
                                   FavoritesPair *written = nullptr);

// What to tell the user when Add Current Page could not write; empty when it went well.
QString AddFavoriteFailureText(const FavoritesWriteResult &result);

// The instants of a change to the two files, in order, each reached once the one before is
// done. A change stopped at any of the first five leaves both files as they were; stopped at any
// later one, the next reader finds both files changed.
inline const char *const FavoritesSteps[] = {
    "locked", // the files read, nothing written
    "addresses begun", // the addresses' new file made, still empty
    "addresses written", // the addresses' new file whole
    "names written", // the names' new file whole
    "journal begun", // the journal's new file whole, not yet in place
    "journal written", // the journal in place: from here on the change is done
    "addresses replaced",
    "names replaced",
    "journal removed", // the lock still held
};

// Called at each of the steps above, for tests that stop a change there; none by default.
void SetFavoritesStepHook(std::function<void(const char *step)> hook);
